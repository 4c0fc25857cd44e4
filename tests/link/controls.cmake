qx8_add_test(tst_controlscales LABEL link SOURCES tst_controlscales.cpp LIBS qx8link)
qx8_add_test(tst_controlwire LABEL link SOURCES tst_controlwire.cpp tst_controlfixture.h LIBS qx8link)
qx8_add_test(tst_controlpolling LABEL link SOURCES tst_controlpolling.cpp tst_controlfixture.h LIBS qx8link)
qx8_add_test(tst_qml_controls LABEL link SOURCES tst_qml_controls.cpp tst_controlfixture.h
             LIBS qx8link qx8qml_controls Qt5::Quick Qt5::Qml)
if(QX8_SANITIZE)
    # Qt's offscreen platform plugin leaks its screen; the graph tests carry the suppression.
    set_property(TEST tst_qml_controls APPEND PROPERTY ENVIRONMENT
        "ASAN_OPTIONS=fast_unwind_on_malloc=0"
        "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/graphs/lsan-qt-offscreen.supp")
endif()
