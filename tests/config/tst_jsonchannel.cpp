// The JSON command channel against VirtualQX8: the command on the wire, copy and paste with the
// device's answers whole, split, held back or preceded by another client's, refused and missing
// ones, texts the channel must carry unchanged, and the option card's source names.
#include "backtickjson.h"
#include "configresources.h"
#include "editmodecopypaste.h"
#include "homescreenmodel.h"
#include "jsoncommand.h"
#include "jsoncommandchannel.h"
#include "linkedprocessor.h"
#include "testharness.h"
#include "testmain.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

class TestJsonChannel : public QObject
{
    Q_OBJECT

private:
    // Sets a variable of the device's preset as its front panel would.
    void setOnDevice(const QString& object, const QString& variable, const QString& value)
    {
        QVERIFY(m_device.set(object, variable, value));
    }
    QString valueOnDevice(const QString& object, const QString& variable)
    {
        const QString answer = m_device.device().command(
            QStringLiteral("value \"%1\"").arg(LinkedProcessor::path(object, variable)));
        return answer.startsWith(QLatin1String("ok ")) ? answer.mid(3) : answer;
    }
    void fault(const QString& setting)
    {
        QVERIFY(m_device.device().command("fault " + setting).startsWith(QLatin1String("ok")));
    }

    LinkedProcessor m_device;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(ConfigResources::load());
        JsonCommandChannel::instance(); // subscribed to the result variable at the login
        QVERIFY(m_device.start());
    }
    void cleanupTestCase() { m_device.stop(); }
    void cleanup()
    {
        for (const char* name : {"json-split", "json-error", "json-foreign-id", "answer-delay"})
            fault(QString::fromLatin1(name) + " off");
        JsonCommandChannel::instance()->setTimeout(JsonCommandChannel::kDefaultTimeoutMs);
    }

    // The command is one set of the command variable, then one read of the result variable.
    void commandOnTheWire()
    {
        EditModeCopyPaste copyPaste;
        QSignalSpy copied(&copyPaste, &EditModeCopyPaste::copyChanged);
        QVERIFY(m_device.settle());
        const int before = m_device.received().size();
        copyPaste.copyPO(QStringLiteral("HighLimiter"), QStringLiteral("Limiter"),
                         QStringLiteral("SpandrellLimiter"));
        QTRY_COMPARE(copied.size(), 1);
        QVERIFY(m_device.settle());
        const QStringList sent = m_device.received().mid(before);
        QCOMPARE(sent.size(), 3); // and the probe
        const QString start = QStringLiteral("set \"\\\\Node\\Config\\SV\\Command\\\" \"{`id`:`") +
                              processRequestPrefix() + QStringLiteral("_appID_EditCopy#");
        const QString end =
            QStringLiteral("`,`method`:`CopyObjectSVs`,`params`:[`Preset`,`HighLimiter`]}\"");
        const QString line = sent.at(0);
        QVERIFY2(line.startsWith(start) && line.endsWith(end), qPrintable(line));
        bool numbered = false;
        line.mid(start.size(), line.size() - start.size() - end.size()).toInt(&numbered);
        QVERIFY(numbered);
        QCOMPARE(sent.at(1), QStringLiteral("asyncget \"\\\\Node\\Config\\SV\\Result\\\""));
    }

    // The settings of one limiter reach the other exactly once, however the answers come.
    void copyAndPaste_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("threshold");
        QTest::newRow("whole answers") << QString() << "-4dB";
        QTest::newRow("split in seven") << "json-split=7"
                                        << "-5dB";
        QTest::newRow("another client's first") << "json-foreign-id on"
                                                << "-6dB";
        QTest::newRow("held back") << "answer-delay=300"
                                   << "-7dB";
    }
    void copyAndPaste()
    {
        QFETCH(QString, fault);
        QFETCH(QString, threshold);
        setOnDevice(QStringLiteral("HighLimiter"), QStringLiteral("Threshold"), threshold);
        setOnDevice(QStringLiteral("MidLimiter"), QStringLiteral("Threshold"), QStringLiteral("0"));
        if (!fault.isEmpty())
            this->fault(fault);
        EditModeCopyPaste copyPaste;
        QSignalSpy copied(&copyPaste, &EditModeCopyPaste::copyChanged);
        QSignalSpy pasted(&copyPaste, &EditModeCopyPaste::pasteChanged);
        copyPaste.copyPO(QStringLiteral("HighLimiter"), QStringLiteral("Limiter"),
                         QStringLiteral("SpandrellLimiter"));
        QTRY_COMPARE(copied.size(), 1);
        QVERIFY(copyPaste.copy());
        QCOMPARE(copyPaste.copiedPOClassName(), QStringLiteral("SpandrellLimiter"));
        copyPaste.pastePO(QStringLiteral("MidLimiter"), QStringLiteral("Limiter"));
        QTRY_COMPARE(pasted.size(), 1);
        QCOMPARE(valueOnDevice(QStringLiteral("MidLimiter"), QStringLiteral("Threshold")),
                 threshold);
        QVERIFY(m_device.settle());
        QCOMPARE(copied.size(), 1);
        QCOMPARE(JsonCommandChannel::instance()->pendingCount(), 0);
    }

    // A refused or missing answer is reported and leaves the flags as they were; a paste onto
    // another type sends nothing.
    void failures()
    {
        EditModeCopyPaste copyPaste;
        QSignalSpy errors(&copyPaste, &EditModeCopyPaste::error);
        fault(QStringLiteral("json-error on"));
        qx8test::expectWarnings("JSON command CopyObjectSVs failed: the device answered: "
                                "Simulated failure");
        copyPaste.copyPO(QStringLiteral("HighLimiter"), QStringLiteral("Limiter"), QString());
        QTRY_COMPARE(errors.size(), 1);
        QVERIFY(errors.at(0).at(0).toString().endsWith(QLatin1String("Simulated failure")));
        QVERIFY(!copyPaste.copy());

        fault(QStringLiteral("json-error off"));
        fault(QStringLiteral("answer-delay=3000"));
        JsonCommandChannel::instance()->setTimeout(200);
        qx8test::expectWarnings("JSON command CopyObjectSVs failed: no answer from the device");
        copyPaste.copyPO(QStringLiteral("HighLimiter"), QStringLiteral("Limiter"), QString());
        QTRY_COMPARE(errors.size(), 2);
        QVERIFY(!copyPaste.copy());

        const int before = m_device.received().size();
        copyPaste.pastePO(QStringLiteral("MidPEQ"), QStringLiteral("ParametricEQ"));
        QVERIFY(m_device.settle());
        QCOMPARE(m_device.received().size(), before + 1); // the probe alone
    }

    // Texts with quotes, backticks, backslashes, line breaks and non-ASCII letters come back
    // unchanged: through the encoding, and from the device as option-card names.
    void textsTravelUnchanged()
    {
        const QString texts[] = {QStringLiteral("Stage \"A\""), QStringLiteral("back`tick"),
                                 QStringLiteral("C:\\path\\"),  QStringLiteral("line\nbreak"),
                                 QStringLiteral("Bühne ½"),     QStringLiteral("{`x`}")};
        for (const QString& text : texts) {
            const QByteArray json =
                QJsonDocument(QJsonObject{{"v", text}}).toJson(QJsonDocument::Compact);
            const std::string encoded = backtickjson::encode(json.toStdString());
            QVERIFY(encoded.find_first_of("\"\n") == std::string::npos);
            const QJsonDocument back =
                QJsonDocument::fromJson(QByteArray::fromStdString(backtickjson::decode(encoded)));
            QCOMPARE(back.object().value("v").toString(), text);
        }
        QVERIFY(createJsonCMD(QStringLiteral("X"), QStringLiteral("app"),
                              {QString(70 * 1024, QLatin1Char('x'))})
                    .isEmpty());

        HomeScreenModel model;
        model.loadDefaultConfig();
        QSignalSpy names(&model, &HomeScreenModel::inputSourceNamesChanged);
        const QString cardName = QStringLiteral("Stage \"A\" `mon` \\ Bühne");
        QVERIFY(m_device.device()
                    .command(QStringLiteral("set \"\\\\Node\\SetupWizardCurrentChoices\\SV\\"
                                            "Channel_2_OrvellinkInputName\\\" \"%1\"")
                                 .arg(cardName))
                    .startsWith(QLatin1String("ok")));
        model.requestOptionCardSourceNames();
        QTRY_COMPARE(names.size(), 1);
        QCOMPARE(model.inputRouterGetSourceNameForSourceID(8), cardName);
        QCOMPARE(model.getInputRouterSourceNameForCardName(QStringLiteral("OptionCard2")),
                 cardName);
        QCOMPARE(model.getInputRouterSourceName(1), QStringLiteral("Analog1"));
        QCOMPARE(model.inputRouterSwapOptionsForSlotNum(2),
                 QList<int>({1, 7, 8, 9, 10, 11, 12, 13, 14}));
    }
};

QX8_TEST_GUILESS_MAIN(TestJsonChannel)
#include "tst_jsonchannel.moc"
