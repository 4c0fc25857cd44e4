# Discovery, its list models and the connection watchdogs. Suites that make interfaces run in a
# network namespace of their own (see tst_discoverynetwork.h).
set(discovery_network_sources tst_discoverynetwork.h tst_discoverynetwork.cpp)
qx8_add_test(tst_discoveryprovider LABEL link
    SOURCES tst_discoveryprovider.cpp ${discovery_network_sources}
    LIBS qx8link Qt5::Network Qt5::Test)
qx8_add_test(tst_discoverybroadcast LABEL link
    SOURCES tst_discoverybroadcast.cpp ${discovery_network_sources}
    LIBS qx8link Qt5::Network Qt5::Test)
qx8_add_test(tst_discoverymodel LABEL link
    SOURCES tst_discoverymodel.cpp ${discovery_network_sources}
    LIBS qx8link Qt5::Network Qt5::Test)
qx8_add_test(tst_watchdogclient LABEL link
    SOURCES tst_watchdogclient.cpp ${discovery_network_sources}
    LIBS qx8link Qt5::Network Qt5::Test)
qx8_add_test(tst_watchdogremote LABEL link
    SOURCES tst_watchdogremote.cpp ${discovery_network_sources}
    LIBS qx8link Qt5::Network Qt5::Test)
