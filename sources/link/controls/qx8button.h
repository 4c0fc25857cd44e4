#pragma once

#include "qx8control.h"

#include <optional>

// The back end of every button on the screens, bound to one variable. By `buttonType`:
// an on/off toggle (SV), a step button of a numeric value (Nudge), or a plain button whose clicks
// the screen handles (SingleShot, XGroupMember). Any button can also write "1" to several
// variables of its processing object at once.
//
// A toggle's `activeState` is the state of the newest write to the variable (by any control)
// that the device has not answered yet, marked pending, so that quick clicks each switch on from
// the last; else the state the device reported.
//
// A Nudge button's step comes from the shared step table, chosen by the sub-range in which the
// value lies; the range list is handed over by the screen (setNudgeJsonData), which takes it
// from the application's data store. Nudges start only from a value the device reported. Quick
// nudges each step on from the newest value written to the variable (by any control) while the
// device has not answered it: a reply to an earlier write does not pull them back, and only the
// answer to the last one is the device's value again (valueToNudgeChanged).
class QX8Button : public QX8Control
{
    Q_OBJECT
    Q_PROPERTY(bool activeState READ activeState WRITE setActiveState NOTIFY activeStateChanged)
    Q_PROPERTY(ButtonType buttonType READ buttonType WRITE setButtonType NOTIFY buttonTypeChanged)
    Q_PROPERTY(float valueToNudge READ valueToNudge NOTIFY valueToNudgeChanged)

public:
    enum ButtonType { SV = 0, Nudge = 1, SingleShot = 2, XGroupMember = 3 };
    Q_ENUM(ButtonType)

    explicit QX8Button(QObject* parent = nullptr);

    bool activeState() const { return m_activeState; }
    void setActiveState(bool activeState);
    ButtonType buttonType() const { return m_buttonType; }
    void setButtonType(ButtonType buttonType);
    // The value the next nudge moves: the newest unanswered write, else the device's value.
    float valueToNudge() const;

    Q_INVOKABLE QString nudgeJsonData() const { return m_nudgeJsonData; }
    Q_INVOKABLE void setNudgeJsonData(const QString& nudgeJsonData);
    Q_INVOKABLE void onNudged(int bumpDirection, const QString& svClass, const QString& poClass);
    // The bumpDirection for onNudged that moves the value shown in `shownDirection` (1 up, -1
    // down): onNudged turns the direction of release times round.
    Q_INVOKABLE int bumpDirectionFor(int shownDirection, const QString& svClass) const;
    Q_INVOKABLE void toggleValueWithoutFeedback();
    Q_INVOKABLE void setMultipleSV(const QString& allSVName);

    // The number a Nudge reply's value text stands for, on the given object and variable;
    // nothing when the text leaves the value unchanged.
    static std::optional<float> nudgeValueOf(const QString& text, const QString& object,
                                             const QString& variable);
    // The value text written for a nudged value; nothing for a value that cannot be written.
    static std::optional<QString> nudgeText(float* value, const QString& svClass,
                                            const QString& poClass);

Q_SIGNALS:
    void activeStateChanged(bool val);
    void buttonTypeChanged();
    void valueToNudgeChanged(float newValue);

protected Q_SLOTS:
    void onActiveStateChanged(bool data);
    void handleDataAvailable(DataFromDevice data) override;

protected:
    bool takesAcknowledgements() const override
    {
        return m_buttonType == Nudge || m_buttonType == SV;
    }

private:
    void takeNudgeReply(const DataFromDevice& data);
    void showSwitchState();
    void writesChanged() override;

    float m_deviceValue = 0.0f;       // as last reported, acknowledgements included
    bool m_deviceSwitchState = false; // likewise
    bool m_hasNudgeValue = false;
    bool m_activeState = false;
    QString m_nudgeJsonData;
    QString m_nudgeKey;
    ButtonType m_buttonType = SingleShot;
};
