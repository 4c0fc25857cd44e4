qx8_add_test(tst_controlscales LABEL link SOURCES tst_controlscales.cpp LIBS qx8link)
qx8_add_test(tst_controlwire LABEL link SOURCES tst_controlwire.cpp tst_controlfixture.h LIBS qx8link)
qx8_add_test(tst_controlpolling LABEL link SOURCES tst_controlpolling.cpp tst_controlfixture.h LIBS qx8link)
qx8_add_test(tst_qml_controls LABEL link SOURCES tst_qml_controls.cpp tst_controlfixture.h
             LIBS qx8link qx8qml_controls Qt5::Quick Qt5::Qml)
