// Test functions for tst_warningcheck, run one at a time: each logs in its own way.
#include "testmain.h"

#include <QThread>

namespace {

QStringList g_ownLog;

void ownLog(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_ownLog << message;
}

} // namespace

class WarningCheckSubject : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void declaredWarning()
    {
        QTest::ignoreMessage(QtWarningMsg, "declared");
        qWarning("declared");
    }
    void undeclaredWarning() { qWarning("undeclared"); }
    void undeclaredCritical() { qCritical("critical"); }
    void debugMessage() { qDebug("chatter"); }
    void warningFromAnotherThread()
    {
        std::unique_ptr<QThread> worker(QThread::create([] { qWarning("from a worker"); }));
        worker->start();
        worker->wait();
    }
    void ownHandlerKeepsEveryMessage()
    {
        qInstallMessageHandler(ownLog);
        qx8test::restoreWarningCheck();
        QTest::ignoreMessage(QtWarningMsg, "declared");
        qWarning("declared");
        qWarning("undeclared");
        QCOMPARE(g_ownLog, QStringList({"declared", "undeclared"}));
    }
};

QX8_TEST_GUILESS_MAIN(WarningCheckSubject)
#include "warningchecksubject.moc"
