target_sources(qx8link PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/deviceinfo.h ${CMAKE_CURRENT_LIST_DIR}/deviceinfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/broadcastdiscovery.h ${CMAKE_CURRENT_LIST_DIR}/broadcastdiscovery.cpp
    ${CMAKE_CURRENT_LIST_DIR}/discovereddevicesprovider.h
    ${CMAKE_CURRENT_LIST_DIR}/discovereddevicesprovider.cpp
    ${CMAKE_CURRENT_LIST_DIR}/discoveredwallcontrollerslistprovider.h
    ${CMAKE_CURRENT_LIST_DIR}/discoveredwallcontrollerslistprovider.cpp
    ${CMAKE_CURRENT_LIST_DIR}/devicelistmodel.h ${CMAKE_CURRENT_LIST_DIR}/devicelistmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/discovereddevicesmodel.h
    ${CMAKE_CURRENT_LIST_DIR}/discovereddevicesmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/discoveredwallcontrollerslistmodel.h
    ${CMAKE_CURRENT_LIST_DIR}/discoveredwallcontrollerslistmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clientconnectionwatchdog.h
    ${CMAKE_CURRENT_LIST_DIR}/clientconnectionwatchdog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/remoteconnectionwatchdog.h
    ${CMAKE_CURRENT_LIST_DIR}/remoteconnectionwatchdog.cpp
)
