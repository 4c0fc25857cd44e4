qx8_add_test(tst_controlscales LABEL link SOURCES tst_controlscales.cpp LIBS qx8link)
