#pragma once

#include <QList>
#include <QString>
#include <functional>

class QQuickItem;
class QX8Control;
class VirtualProcessor;

// The device's console as a slow link while this lives: each answer held back 1.5 s, then sent
// at 2,000 bytes a second. A page then shows its controls well before their values.
class SlowConsole
{
public:
    static constexpr int kBytesPerSecond = 2000;
    static constexpr int kLatencyMs = 1500;

    explicit SlowConsole(VirtualProcessor& device);
    ~SlowConsole();
    SlowConsole(const SlowConsole&) = delete;
    SlowConsole& operator=(const SlowConsole&) = delete;

    // The device took both settings.
    bool isSlow() const { return m_slow; }
    // True once the device has answered every write of the link to the variable (in the value
    // type's form, "%" or none), within 30 s.
    static bool answeredWrites(const QString& object, const QString& variable,
                               const QString& valueType = QString());

private:
    VirtualProcessor& m_device;
    bool m_slow;
};

// Runs the event loop until controls know their device values, checking at every round that
// each shows what it knows: one without its value shows that it does not know it (and takes no
// gesture), one with it shows the device's.
class KnownValuesWatch
{
public:
    // The controls shown now, looked up afresh: pages make them as the device answers.
    using Controls = std::function<QList<QQuickItem*>()>;
    // The device has told the control its value.
    using Known = std::function<bool(QQuickItem*)>;
    // What is wrong with how the control shows itself, known or not; empty when it is right.
    using Misshown = std::function<QString(QQuickItem* control, bool known)>;

    // The bound control behind a control item (its "backend" property).
    static QX8Control* backendOf(const QQuickItem* item);
    // The control's bound control has its device value.
    static bool backendKnows(QQuickItem* control);
    // How a name box (a bound editable choice) is misshown: before its value it is empty, with a
    // dimmed dash, and takes no focus; then it shows the device's name. Empty when it is right.
    static QString nameBoxMisshown(QQuickItem* box, bool known);

    // True once there are controls and every one knows its value; false as soon as one is
    // misshown, or when the values do not come within the harness time-out (wrong() says).
    bool untilKnown(const Controls& controls, const Misshown& misshown,
                    const Known& known = backendKnows);
    // How often the last untilKnown() saw a control without its value.
    int unknownSeen() const { return m_unknownSeen; }
    QString wrong() const { return m_wrong; }

private:
    int m_unknownSeen = 0;
    QString m_wrong;
};
