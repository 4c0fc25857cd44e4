#pragma once

#include "testmain.h"

#include <QString>

namespace qx8test {

// Called first in main(), before any thread starts: moves this process into a mount namespace of
// its own, so that what it mounts (a read-only folder, a small disk) is seen by no one else and
// goes with the process. Needs the rights to make namespaces, as the suite's network namespace
// does (scripts/netns-run); false, with a message, without them.
bool enterPrivateMounts();

// A read-only view of `folder` laid over it: writes fail for everyone, root included.
bool mountReadOnly(const QString& folder);
// An empty file system of `bytes` laid over `folder`: a disk that fills up. With `files` set, it
// holds no more than that many files and folders, its own root folder counted.
bool mountSmallDisk(const QString& folder, qint64 bytes, int files = 0);
// Takes the last mount off `folder`; what lay below is seen again.
bool unmount(const QString& folder);

} // namespace qx8test

// A test main for suites that mount: the mount namespace, then QX8_TEST_MAIN_WITH.
#define QX8_PRIVATE_MOUNTS_TEST_MAIN(Application, TestObject)                                      \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        if (!qx8test::enterPrivateMounts())                                                        \
            return 1;                                                                              \
        Application application(argc, argv);                                                       \
        application.setAttribute(Qt::AA_Use96Dpi, true);                                           \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return qx8test::exec(&test, argc, argv);                                                   \
    }
