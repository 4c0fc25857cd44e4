# Presets and tuning-file classes that start-up registers before their issue is built.
target_sources(qx8files PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/filesystemmodel.h ${CMAKE_CURRENT_LIST_DIR}/filesystemmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/devicepresetmodel.h ${CMAKE_CURRENT_LIST_DIR}/devicepresetmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tuningfilelistmodel.h ${CMAKE_CURRENT_LIST_DIR}/tuningfilelistmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/brandlistmodel.h ${CMAKE_CURRENT_LIST_DIR}/brandlistmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tuningfilemanager.h ${CMAKE_CURRENT_LIST_DIR}/tuningfilemanager.cpp
)
