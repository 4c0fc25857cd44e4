// The start-up of the targets that need no more than Qt's application object.
#include "quietqt.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzsupport::startQt(argc, argv);
    return 0;
}
