#pragma once

#include <QCoreApplication>
#include <QtGlobal>

#include <cstdlib>
#include <memory>

namespace fuzzsupport {

// The parsers log what they refuse; at many thousand inputs a second that is only noise. A
// fatal message still ends the run.
inline void silenceQtMessages()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
        if (type == QtFatalMsg)
            std::abort();
    });
}

// The application object some Qt classes expect, for the whole run, and the messages silenced.
inline void startQt(int* argc, char*** argv)
{
    silenceQtMessages();
    static const std::unique_ptr<QCoreApplication> application =
        std::make_unique<QCoreApplication>(*argc, *argv);
}

} // namespace fuzzsupport
