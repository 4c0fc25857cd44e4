#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QTest>

#include <mutex>

#if defined(QT_WIDGETS_LIB)
#include <QApplication>
#define QX8_TEST_APPLICATION QApplication
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
#define QX8_TEST_APPLICATION QGuiApplication
#else
#define QX8_TEST_APPLICATION QCoreApplication
#endif

namespace qx8test {

// Runs the test object as QTest::qExec does, and fails the current test function on every
// warning or critical message, from any thread, that it did not declare with
// QTest::ignoreMessage.
int exec(QObject* testObject, int argc, char** argv);

// Declares `count` warnings matching `pattern` (QTest::ignoreMessage once for each).
inline void expectWarnings(const char* pattern, int count = 1)
{
    for (int i = 0; i < count; ++i)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QString::fromUtf8(pattern)));
}

// Code under test that installs a message handler of its own (the application's log) pushes the
// check aside; this puts it back on top. That handler still receives every message.
void restoreWarningCheck();

// Counts the messages of any level, from any thread, that contain a text, while it lives: for
// events the code under test reports only in its log.
class LoggedMessageWatch
{
public:
    explicit LoggedMessageWatch(const QString& text);
    ~LoggedMessageWatch();
    LoggedMessageWatch(const LoggedMessageWatch&) = delete;
    LoggedMessageWatch& operator=(const LoggedMessageWatch&) = delete;

    // Waits until `count` such messages have been logged in all.
    bool waitFor(int count = 1) const;
    // How many have been logged so far.
    int seen() const;
    // Called by the check for every message.
    void note(const QString& message);

private:
    const QString m_text;
    mutable std::mutex m_mutex; // race detectors see its ordering, not QMutex's
    int m_seen = 0;
};

} // namespace qx8test

// QTEST_MAIN and QTEST_GUILESS_MAIN, running the tests through qx8test::exec.
#define QX8_TEST_MAIN_WITH(Application, TestObject)                                                \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        Application application(argc, argv);                                                       \
        application.setAttribute(Qt::AA_Use96Dpi, true);                                           \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return qx8test::exec(&test, argc, argv);                                                   \
    }
#define QX8_TEST_MAIN(TestObject) QX8_TEST_MAIN_WITH(QX8_TEST_APPLICATION, TestObject)
#define QX8_TEST_GUILESS_MAIN(TestObject) QX8_TEST_MAIN_WITH(QCoreApplication, TestObject)
