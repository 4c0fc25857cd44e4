#include "testmain.h"

#include "testharness.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtTest/private/qtestlog_p.h>

namespace {

// Guards the handlers and the watches; messages from all threads pass one at a time. A
// std::mutex, so that race detectors see the ordering it gives.
std::mutex g_mutex;
// Qt Test's handler: takes the messages declared with QTest::ignoreMessage, prints the rest.
QtMessageHandler g_testLog = nullptr;
// A handler the code under test installed after the check, for instance the application's log.
QtMessageHandler g_ownLog = nullptr;
QList<qx8test::LoggedMessageWatch*> g_watches;

bool isWarning(QtMsgType type)
{
    return type == QtWarningMsg || type == QtCriticalMsg;
}

void checkMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    // Qt 5 has no QTest::failOnWarning. Qt Test's handler takes a declared message off its list
    // of pending declarations, so a list that did not shrink means nobody declared the message.
    const int pendingBefore = QTestLog::unhandledIgnoreMessages();
    g_testLog(type, context, message);
    const bool declared = QTestLog::unhandledIgnoreMessages() < pendingBefore;
    if (g_ownLog)
        g_ownLog(type, context, message);
    for (qx8test::LoggedMessageWatch* watch : qAsConst(g_watches))
        watch->note(message);
    if (isWarning(type) && !declared) {
        const QByteArray failure = "Unexpected warning: " + message.toUtf8();
        QTest::qFail(failure.constData(), context.file, context.line);
    }
}

} // namespace

namespace qx8test {

int exec(QObject* testObject, int argc, char** argv)
{
    QTest::qInit(testObject, argc, argv); // installs Qt Test's handler
    g_testLog = qInstallMessageHandler(checkMessage);
    const int failures = QTest::qRun();
    QTest::qCleanup(); // puts back the handler from before qInit
    // Ends as the application does, so that singletons end their threads on aboutToQuit while
    // the application object still exists, not during static destruction after it.
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    return failures;
}

void restoreWarningCheck()
{
    if (!g_testLog)
        qFatal("restoreWarningCheck: run the tests through qx8test::exec");
    const std::lock_guard<std::mutex> lock(g_mutex);
    const QtMessageHandler displaced = qInstallMessageHandler(checkMessage);
    if (displaced != checkMessage)
        g_ownLog = displaced;
}

LoggedMessageWatch::LoggedMessageWatch(const QString& text) : m_text(text)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_watches.append(this);
}

LoggedMessageWatch::~LoggedMessageWatch()
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_watches.removeOne(this);
}

bool LoggedMessageWatch::waitFor(int count) const
{
    return QTest::qWaitFor([&] { return seen() >= count; }, timeoutMs());
}

void LoggedMessageWatch::note(const QString& message)
{
    if (!message.contains(m_text))
        return;
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_seen;
}

int LoggedMessageWatch::seen() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
}

} // namespace qx8test
