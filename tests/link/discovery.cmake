# Discovery, its list models and the connection watchdogs. Suites that make interfaces run in a
# network namespace of their own (see tst_discoverynetwork.h).
foreach(name tst_discoveryprovider tst_discoverybroadcast tst_discoverymodel tst_watchdogclient
             tst_watchdogremote)
    qx8_add_test(${name} LABEL link
        SOURCES ${name}.cpp tst_discoverynetwork.h tst_discoverynetwork.cpp
        LIBS qx8link Qt5::Network Qt5::Test)
endforeach()
