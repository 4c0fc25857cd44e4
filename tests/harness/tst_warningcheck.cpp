// The warning check of every test program, on a real one: which functions pass, and what the
// failure of the others says.
#include "testharness.h"
#include "testmain.h"

#include <QProcess>
#include <QRegularExpression>

class TestWarningCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outcome_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("failure"); // empty when the function passes
        QTest::newRow("declared") << "declaredWarning"
                                  << "";
        QTest::newRow("debug") << "debugMessage"
                               << "";
        QTest::newRow("undeclared") << "undeclaredWarning"
                                    << "Unexpected warning: undeclared";
        QTest::newRow("critical") << "undeclaredCritical"
                                  << "Unexpected warning: critical";
        QTest::newRow("other thread") << "warningFromAnotherThread"
                                      << "Unexpected warning: from a worker";
        QTest::newRow("own handler") << "ownHandlerKeepsEveryMessage"
                                     << "Unexpected warning: undeclared";
    }
    void outcome()
    {
        QFETCH(QString, function);
        QFETCH(QString, failure);
        QProcess subject;
        subject.start(QStringLiteral(QX8_WARNING_CHECK_SUBJECT), {function});
        QVERIFY(subject.waitForFinished(qx8test::timeoutMs()));
        const QStringList lines = QString::fromUtf8(subject.readAllStandardOutput()).split('\n');
        const QStringList failures = lines.filter(QRegularExpression("^FAIL!"));
        QCOMPARE(subject.exitCode(), failure.isEmpty() ? 0 : 1);
        QCOMPARE(failures.size(), failure.isEmpty() ? 0 : 1);
        if (!failure.isEmpty())
            QVERIFY2(failures.first().endsWith(failure), qPrintable(failures.first()));
    }
};

QX8_TEST_GUILESS_MAIN(TestWarningCheck)
#include "tst_warningcheck.moc"
