target_sources(qx8link PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/piecewisescale.h ${CMAKE_CURRENT_LIST_DIR}/piecewisescale.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8slider.h ${CMAKE_CURRENT_LIST_DIR}/qx8slider.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fader.h ${CMAKE_CURRENT_LIST_DIR}/fader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8label.h ${CMAKE_CURRENT_LIST_DIR}/qx8label.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8textfield.h ${CMAKE_CURRENT_LIST_DIR}/qx8textfield.cpp
    ${CMAKE_CURRENT_LIST_DIR}/customcombobox.h ${CMAKE_CURRENT_LIST_DIR}/customcombobox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8exclusivegroup.h ${CMAKE_CURRENT_LIST_DIR}/qx8exclusivegroup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pollcadence.h ${CMAKE_CURRENT_LIST_DIR}/pollcadence.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8polledcontrol.h ${CMAKE_CURRENT_LIST_DIR}/qx8polledcontrol.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8meter.h ${CMAKE_CURRENT_LIST_DIR}/qx8meter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8led.h ${CMAKE_CURRENT_LIST_DIR}/qx8led.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8binaryled.h ${CMAKE_CURRENT_LIST_DIR}/qx8binaryled.cpp
    ${CMAKE_CURRENT_LIST_DIR}/nudgesteps.h ${CMAKE_CURRENT_LIST_DIR}/nudgesteps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qx8button.h ${CMAKE_CURRENT_LIST_DIR}/qx8button.cpp
)
