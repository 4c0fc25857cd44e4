// The bound controls against VirtualQX8: what each puts on the wire for a gesture, throttled,
// and what it shows from the device's replies.
#include "customcombobox.h"
#include "fader.h"
#include "qx8button.h"
#include "qx8exclusivegroup.h"
#include "qx8label.h"
#include "qx8meter.h"
#include "qx8numericalsv.h"
#include "qx8slider.h"
#include "qx8textfield.h"
#include "testmain.h"
#include "tst_controlfixture.h"

#include <cmath>
#include <memory>

class TestControlWire : public QObject
{
    Q_OBJECT

private:
    LoggedInDevice* m_device = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        m_device = new LoggedInDevice;
        QVERIFY(m_device->start());
    }
    void cleanupTestCase() { delete m_device; }
    void init() { m_device->clearSent(); }

    // A drag of 10 positions over about 100 ms: a few `set` lines at least the throttle apart,
    // the last one carrying the final position, which the slider then shows from the reply.
    void sliderDragIsThrottled()
    {
        auto slider = boundControl<QX8Slider>("Crossover", "Band_1_Gain");
        QVERIFY(
            m_device->device.waitForReceived(requestLine("sub", "Crossover", "Band_1_Gain", "%")));
        QTRY_COMPARE(slider->stringProperty(), 75.0f);

        for (int i = 1; i <= 10; ++i) {
            slider->setValueWithoutFeedback(10.0f + i * 5);
            QTest::qWait(10);
        }
        const QString set = requestLine("set", "Crossover", "Band_1_Gain", "%");
        QTRY_COMPARE(m_device->value("Crossover", "Band_1_Gain", "%"), QString("ok 60%"));
        QTest::qWait(2 * QX8Slider::kThrottleMs);
        const QList<SentLine> sets = m_device->sent(set);
        QVERIFY2(sets.size() >= 2 && sets.size() <= 5, qPrintable(QString::number(sets.size())));
        for (int i = 1; i < sets.size(); ++i)
            QVERIFY(sets.at(i).atMs - sets.at(i - 1).atMs >= QX8Slider::kThrottleMs - 5);
        QCOMPARE(sets.last().line, set + " \"60\"");
        QCOMPARE(m_device->received(set).size(), sets.size());
        QTRY_COMPARE(slider->stringProperty(), 60.0f);

        // A drag back to the shown position inside one window still ends there.
        slider->setValueWithoutFeedback(70);
        slider->setValueWithoutFeedback(60);
        QTest::qWait(3 * QX8Slider::kThrottleMs);
        QCOMPARE(m_device->sentLines(set).last(), set + " \"60\"");

        // The unsubscription ends the subscription that was made, in its "%" form.
        slider.reset();
        QTRY_COMPARE(m_device->device.command("subscriptions"), QString("ok 0"));
    }

    void ratioSliderWritesTableSteps()
    {
        QX8Slider slider;
        slider.setRatioSlider(true);
        slider.setPOName("Compressor");
        slider.setSVName("Ratio");
        QTRY_VERIFY(slider.stringProperty() >= 0);
        slider.setValueWithoutFeedback(50);
        QVERIFY(m_device->device.waitForReceived(requestLine("set", "Compressor", "Ratio", "%") +
                                                 " \"2.62626\""));
        QTRY_VERIFY(std::fabs(slider.stringProperty() - 18 / 37.0f * 100) < 1e-3f);
        QCOMPARE(m_device->value("Compressor", "Ratio"), QString("ok 3.6:1"));
    }

    // A fader writes the inverse of its display, never the percent itself; positions off its
    // travel are not written.
    void faderWritesTheValueItShows_data()
    {
        QTest::addColumn<QList<qreal>>("boundaries");
        QTest::addColumn<QList<qreal>>("lengths");
        QTest::addColumn<QString>("written");
        QTest::newRow("linear") << QList<qreal>{} << QList<qreal>{} << "-20";
        QTest::newRow("lists") << QList<qreal>{-60, -20, 0, 20} << QList<qreal>{25, 50, 25}
                               << "-10";
    }
    void faderWritesTheValueItShows()
    {
        QFETCH(QList<qreal>, boundaries);
        QFETCH(QList<qreal>, lengths);
        QFETCH(QString, written);
        Fader fader;
        fader.setMinimum(-60);
        fader.setMaximum(20);
        fader.setRangeBounaryValues(boundaries);
        fader.setRangeLengthsInPercentage(lengths);
        fader.setPOName("Crossover");
        fader.setSVName("Band_2_Gain");
        QTRY_VERIFY(fader.faderValue() > 0);
        const QString set = requestLine("set", "Crossover", "Band_2_Gain") + " \"" + written + "\"";
        fader.setValueWithoutFeedback(100.5);
        fader.setValueWithoutFeedback(-0.1);
        fader.setValueWithoutFeedback(50);
        QVERIFY(m_device->device.waitForReceived(set));
        QTRY_COMPARE(fader.faderValue(), 50.0);
        QCOMPARE(m_device->sentLines(requestLine("set", "Crossover", "Band_2_Gain")),
                 QStringList{set});
        QCOMPARE(m_device->value("Crossover", "Band_2_Gain"), "ok " + written + "dB");
    }

    // A value the user sets goes out at its variable's resolution in the device model, in
    // native units or as the percent of the native value on it; a setting that rounds to the
    // device's own value is not written.
    void writesAtTheResolution_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<double>("offered");
        QTest::addColumn<QString>("written");
        // Row, control, object, variable, value offered (a position for sliders and faders),
        // value written.
        const struct
        {
            const char *row, *control, *object, *variable;
            double offered;
            const char* written;
        } rows[] = {
            {"fader, tenth of a dB", "fader", "StereoMixer", "Input_2_Gain", 80.02712, "-8"},
            {"fader, percent", "percent fader", "SubharmonicSynth", "Synthesis Level 36-56Hz", 45.3,
             "45"},
            {"slider, percent of a span", "slider", "Nuq", "MaxFixedFilters", 10, "8.33333"},
            {"slider, whole percent", "slider", "SubharmonicSynth", "Synthesis Level 24-36Hz", 30.6,
             "31"},
            {"number, hertz", "number", "HighPEQ", "Band_1_Frequency", 111.978, "112"},
            {"number, tenth of a hertz", "number", "HighPEQ", "Band_1_Frequency", 85.3371, "85.3"},
            {"number, ten hertz", "number", "HighPEQ", "Band_1_Frequency", 1899.08, "1900"},
            {"number, decibels", "number", "HighPEQ", "Band_2_Gain", 9.52357, "9.5"},
            {"number, the device's own", "number", "HighPEQ", "Band_3_Gain", 0.04, ""},
        };
        for (const auto& row : rows)
            QTest::newRow(row.row) << QString(row.control) << QString(row.object)
                                   << QString(row.variable) << row.offered << QString(row.written);
    }
    void writesAtTheResolution()
    {
        QFETCH(QString, control);
        QFETCH(QString, object);
        QFETCH(QString, variable);
        QFETCH(double, offered);
        QFETCH(QString, written);
        const bool percent = control.contains("slider") || control == "percent fader";
        const QString set = requestLine("set", object, variable, percent ? "%" : "");
        std::unique_ptr<QX8Control> bound;
        if (control == "number") {
            auto number = boundControl<QX8NumericalSV>(object, variable);
            QTRY_VERIFY(number->hasDeviceValue());
            number->setValueWithoutFeedback(float(offered));
            bound = std::move(number);
        } else if (control == "slider") {
            auto slider = boundControl<QX8Slider>(object, variable);
            QTRY_VERIFY(slider->hasDeviceValue());
            slider->setValueWithoutFeedback(float(offered));
            bound = std::move(slider);
        } else {
            auto fader = std::make_unique<Fader>();
            fader->setMinimum(-80);
            fader->setMaximum(10);
            fader->setValueType(percent ? "%" : "");
            fader->setPOName(object);
            fader->setSVName(variable);
            QTRY_VERIFY(fader->hasDeviceValue());
            fader->setValueWithoutFeedback(offered);
            bound = std::move(fader);
        }
        if (written.isEmpty()) {
            QTest::qWait(3 * QX8NumericalSV::kThrottleMs);
            QCOMPARE(m_device->sentLines(set), QStringList());
            return;
        }
        QVERIFY(m_device->device.waitForReceived(set + " \"" + written + "\""));
        QCOMPARE(m_device->sentLines(set).size(), 1);
    }

    // Every control that shows a number reads a percent value as that number, whether the
    // device writes it with its sign ("45%") or bare.
    void percentValuesReadAsNumbers_data()
    {
        QTest::addColumn<bool>("bare");
        QTest::newRow("with the sign") << false;
        QTest::newRow("bare") << true;
    }
    void percentValuesReadAsNumbers()
    {
        QFETCH(bool, bare);
        QCOMPARE(m_device->device.command(QString("fault percent-bare ") + (bare ? "on" : "off")),
                 QString("ok"));
        const QString po = "SubharmonicSynth", sv = "Subharmonics";
        auto number = boundControl<QX8NumericalSV>(po, sv);
        auto slider = boundControl<QX8Slider>(po, sv);
        auto meter = boundControl<QX8Meter>(po, sv);
        auto fader = std::make_unique<Fader>();
        fader->setMaximum(100);
        fader->setPOName(po);
        fader->setSVName(sv);
        QX8Button nudge;
        nudge.setButtonType(QX8Button::Nudge);
        nudge.setPOName(po);
        nudge.setSVName(sv);
        QTRY_COMPARE(number->value(), 45.0f);
        QTRY_COMPARE(slider->stringProperty(), 45.0f);
        QTRY_COMPARE(meter->meterValue(), QString("45"));
        QTRY_COMPARE(fader->faderValue(), 45.0);
        QTRY_COMPARE(nudge.valueToNudge(), 45.0f);
        QCOMPARE(m_device->device.command("fault percent-bare off"), QString("ok"));
    }

    // Three fields on one variable show its three units; text typed into one is written with
    // its unit, and every field follows the device's answer.
    void textFieldsShowAndWriteTheirUnit()
    {
        std::vector<std::unique_ptr<QX8TextField>> fields;
        for (const QString unit : {"ms", "ft", "m"}) {
            fields.push_back(std::make_unique<QX8TextField>());
            fields.back()->setUnit(unit);
            fields.back()->setPOName("HighDelay");
            fields.back()->setSVName("Amount");
        }
        QTRY_COMPARE(fields[0]->labelValue(), QString("2.50ms"));
        QTRY_COMPARE(fields[1]->labelValue(), QString("2.81ft"));
        QTRY_COMPARE(fields[2]->labelValue(), QString("0.86m"));

        const QString set = requestLine("set", "HighDelay", "Amount");
        fields[0]->setLabelValue("12");
        QVERIFY(m_device->device.waitForReceived(set + " \"12ms\""));
        QTRY_COMPARE(fields[2]->labelValue(), QString("4.12m"));
        QTRY_COMPARE(fields[0]->labelValue(), QString("12.00ms"));

        // Typed text that would break the line never reaches the device.
        for (int typed = 0; typed < 2; ++typed)
            QTest::ignoreMessage(QtWarningMsg, "Console request dropped: unsafe characters in set "
                                               "request for HighDelay Amount");
        fields[1]->setLabelValue("3\" \"x");
        fields[1]->setLabelValue("3\nset x");
        QTest::qWait(100);
        QCOMPARE(m_device->sentLines(set), QStringList{set + " \"12ms\""});

        m_device->clearSent();
        fields.clear();
        // The subscription they shared ends once, with the last of them.
        QCOMPARE(m_device->sentLines(requestLine("unsub", "HighDelay", "Amount")).size(), 1);
    }

    void labelShowsTheDeviceText()
    {
        QCOMPARE(m_device->device.command("set \\\\Preset\\Gate\\SV\\MaxAttenuation\\ 200"),
                 QString("ok Inf"));
        QCOMPARE(m_device->device.command("set \\\\Preset\\Nuq\\SV\\HighPass\\ 0"),
                 QString("ok Off"));
        const char* shown[][3] = {{"Gate", "Ratio", "1:2"},
                                  {"Gate", "MaxAttenuation", "Inf"},
                                  {"Nuq", "HighPass", "Off"},
                                  {"Crossover", "Band_3_LPFrequency", "Out"}};
        for (const auto& [po, sv, text] : shown) {
            auto label = boundControl<QX8Label>(po, sv);
            QTRY_COMPARE(label->labelValue(), QString(text));
        }
    }

    void comboBoxWritesAQuotedChoice()
    {
        auto combo = boundControl<CustomComboBox>("RoomEQ", "Band_1_Type");
        QSignalSpy changed(combo.get(), &CustomComboBox::deviceSvValueChanged);
        QTRY_COMPARE(combo->deviceSvValue(), QString("Bell"));
        combo->setValueWithoutFeedback("Low Shelf");
        const QString set = requestLine("set", "RoomEQ", "Band_1_Type");
        QVERIFY(m_device->device.waitForReceived(set + " \"Low Shelf\""));
        QTRY_COMPARE(combo->deviceSvValue(), QString("Low Shelf"));
        combo->setValueWithoutFeedback("Low Shelf");
        QTest::qWait(100);
        QCOMPARE(m_device->sentLines(set).size(), 1);
        QVERIFY(changed.size() >= 2);
    }

    void exclusiveGroupWritesOnlyAfterADeviceValue()
    {
        QX8ExclusiveGroup group;
        group.setSelectedValue("High Shelf");
        group.setPOName("RoomEQ");
        group.setSVName("Band_2_Type");
        QTRY_COMPARE(group.selectedValue(), QString("Bell"));
        const QString set = requestLine("set", "RoomEQ", "Band_2_Type");
        QVERIFY(m_device->sentLines(set).isEmpty());
        group.setSelectedValue("High Shelf");
        QVERIFY(m_device->device.waitForReceived(set + " \"High Shelf\""));
        QCOMPARE(m_device->value("RoomEQ", "Band_2_Type"), QString("ok High Shelf"));
        QTRY_COMPARE(group.selectedValue(), QString("High Shelf"));
        QCOMPARE(m_device->sentLines(set).size(), 1);
    }

    // A nudge steps from the value the device reported, by the step of the range it lies in;
    // nothing moves before that value has arrived.
    void nudgesStepFromTheDeviceValue_data()
    {
        const QString eq =
            R"([{"low":20,"high":100,"range":"0"},{"low":100,"high":1000,"range":"1"},)"
            R"({"low":1000,"high":10000,"range":"2"},{"low":10000,"high":22000,"range":"3"}])";
        const QString release = R"([{"low":5,"high":50,"range":"0"},)"
                                R"({"low":50,"high":150,"range":"1"},)"
                                R"({"low":150,"high":360,"range":"2"}])";
        const QString ratio = R"([{"low":1.0,"high":2.0,"range":"0"},)"
                              R"({"low":2.0,"high":4.0,"range":"1"},)"
                              R"({"low":4.0,"high":15.0,"range":"2"}])";
        QTest::addColumn<QStringList>("names"); // po, sv, po class, sv class
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<int>("direction");
        QTest::addColumn<float>("start");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("shown");
        const QStringList eq4{"RoomEQ", "Band_4_Frequency", "EQ", "Frequency"};
        const QStringList eq5{"RoomEQ", "Band_5_Frequency", "EQ", "Frequency"};
        const QStringList compressorRelease{"Compressor", "Release", "Compressor", "Release"};
        QTest::newRow("frequency up") << eq4 << eq << 1 << 1000.0f << "1010"
                                      << "ok 1.01kHz";
        QTest::newRow("frequency down") << eq5 << eq << -1 << 1000.0f << "999"
                                        << "ok 999Hz";
        QTest::newRow("compressor ratio")
            << QStringList{"Compressor", "Ratio", "Compressor", "Ratio"} << ratio << 1 << 4.0f
            << "5"
            << "ok 5:1";
        // A release step is inverted: "down" lengthens it, by the step of the range above.
        QTest::newRow("release") << compressorRelease << release << -1 << 200.0f << "205"
                                 << "ok 205ms";
        QTest::newRow("gain") << QStringList{"RoomEQ", "Band_4_Gain", "EQ", "Gain"} << "[]" << 1
                              << 0.0f << "0.1"
                              << "ok 0.1dB";
    }
    void nudgesStepFromTheDeviceValue()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, ranges);
        QFETCH(int, direction);
        QFETCH(float, start);
        QFETCH(QString, written);
        QFETCH(QString, shown);
        const QString &po = names[0], &sv = names[1];
        QVERIFY(
            m_device->device
                .command("set \\\\Preset\\" + po + "\\SV\\" + sv + "\\ " + QString::number(start))
                .startsWith("ok"));
        QX8Button button;
        button.setButtonType(QX8Button::Nudge);
        button.setNudgeJsonData(ranges);
        button.setPOName(po);
        button.setSVName(sv);
        const QString early = QString("Nudge of \"%1\" \"%2\" before the device reported a value");
        QTest::ignoreMessage(QtWarningMsg, qPrintable(early.arg(po, sv)));
        button.onNudged(direction, names[3], names[2]);
        QSignalSpy nudged(&button, &QX8Button::valueToNudgeChanged);
        QVERIFY(nudged.wait(qx8test::timeoutMs()));
        QCOMPARE(button.valueToNudge(), start);
        const QString set = requestLine("set", po, sv);
        QVERIFY(m_device->sentLines(set).isEmpty());
        button.onNudged(direction, names[3], names[2]);
        QVERIFY(m_device->device.waitForReceived(set + " \"" + written + "\""));
        QCOMPARE(m_device->value(po, sv), shown);
        QTRY_COMPARE(nudged.size(), 2);
        QCOMPARE(m_device->sentLines(set).size(), 1);
    }

    // One click binds the button to each listed variable in turn, subscribing it, and writes
    // it; the button stays bound to the last. A variable another control shows keeps its one
    // subscription on the device; once the button is gone, nothing it subscribed is left but
    // what that control still shows.
    void multipleVariablesSubscribedAndSetInOrder()
    {
        auto shown = boundControl<QX8Label>("OutputGains", "Channel_3_Mute");
        QTRY_COMPARE(shown->labelValue(), QString("Off"));
        const auto wireSince = [this](int from) {
            QStringList lines = m_device->device.received().mid(from);
            lines.erase(std::remove_if(lines.begin(), lines.end(),
                                       [](const QString& line) {
                                           return !line.startsWith("sub ") &&
                                                  !line.startsWith("set ");
                                       }),
                        lines.end());
            return lines;
        };
        {
            QX8Button button;
            button.setButtonType(QX8Button::SingleShot);
            button.setPOName("OutputGains");
            QStringList names, expected;
            for (int channel = 1; channel <= 6; ++channel) {
                names << QString("Channel_%1_Mute").arg(channel);
                expected << requestLine("sub", "OutputGains", names.last())
                         << requestLine("set", "OutputGains", names.last()) + " \"1\"";
            }
            const int from = m_device->device.received().size();
            button.setMultipleSV(names.join(','));
            QCOMPARE(button.svName(), QString("Channel_6_Mute"));
            QTRY_COMPARE(wireSince(from), expected);
            QTRY_COMPARE(m_device->value("OutputGains", "Channel_6_Mute"), QString("ok On"));
            const QString held = m_device->device.command("subscriptions");
            QCOMPARE(held.count("Channel_3_Mute"), 1);
            for (const QString& name : names)
                QVERIFY2(held.contains(name), qPrintable(held));

            // An empty name writes nothing; a name the button is bound to already is not
            // subscribed again.
            const int again = m_device->device.received().size();
            button.setMultipleSV("Channel_6_Mute,,Channel_2_Mute");
            QTRY_COMPARE(
                wireSince(again),
                QStringList({requestLine("set", "OutputGains", "Channel_6_Mute") + " \"1\"",
                             requestLine("sub", "OutputGains", "Channel_2_Mute"),
                             requestLine("set", "OutputGains", "Channel_2_Mute") + " \"1\""}));
            QCOMPARE(button.svName(), QString("Channel_2_Mute"));
        }
        QTRY_COMPARE(m_device->device.command("subscriptions"),
                     "ok 1 " + requestLine("", "OutputGains", "Channel_3_Mute").mid(2).chopped(1));
        shown.reset();
        QTRY_COMPARE(m_device->device.command("subscriptions"), QString("ok 0"));
    }
};

QX8_TEST_GUILESS_MAIN(TestControlWire)
#include "tst_controlwire.moc"
