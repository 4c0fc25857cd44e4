// Qt keeps a disk cache of the QML it compiles at run time: the application's own QML is compiled
// into the program (see compiled/), so what it would cache is the QML of Qt's modules. That cache
// lies in the user's cache folder, and Qt opens each file it finds there on the QML loader thread
// while the start waits (a FIFO there holds it for ever) and rewrites one it cannot use through a
// link there. Every program that loads the application's QML links the theme, and with it this:
// Qt reads the variable when it loads its first QML file.
#include <QCoreApplication>
#include <QtGlobal>

namespace {
void keepQmlDiskCacheOff()
{
    qputenv("QML_DISABLE_DISK_CACHE", "1");
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(keepQmlDiskCacheOff)
