#pragma once

#include "datafromdevice.h"
#include "homescreendata.h"

#include <QObject>
#include <QSharedPointer>
#include <QStringList>

// What the home screen draws of the device's fixed signal chain: which crossover band groups
// show, whether each group's output is a left/right pair, whether the input is stereo and
// whether the graphic EQ is split into left and right. Subscribes to the crossover's band count
// and mono-sub attributes and lists the preset's processing objects once; writes the band facts
// to the settings for the crossover and delay screens. GUI thread; one per home-screen load.
class QX8HomeScreenModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool lowVisible READ lowVisible WRITE setLowVisible NOTIFY lowVisibleChanged)
    Q_PROPERTY(bool midVisible READ midVisible WRITE setMidVisible NOTIFY midVisibleChanged)
    Q_PROPERTY(bool highVisible READ highVisible WRITE setHighVisible NOTIFY highVisibleChanged)
    Q_PROPERTY(QString numBands READ numBands WRITE setNumBands)
    Q_PROPERTY(QString monoSub READ monoSub WRITE setMonoSub)
    Q_PROPERTY(bool stereoInput READ stereoInput WRITE setStereoInput NOTIFY stereoInputChanged)
    Q_PROPERTY(bool stereoOutputLow READ stereoOutputLow WRITE setStereoOutputLow NOTIFY
                   stereoOutputLowChanged)
    Q_PROPERTY(bool stereoOutputMid READ stereoOutputMid WRITE setStereoOutputMid NOTIFY
                   stereoOutputMidChanged)
    Q_PROPERTY(bool stereoOutputHigh READ stereoOutputHigh WRITE setStereoOutputHigh NOTIFY
                   stereoOutputHighChanged)
    Q_PROPERTY(QString fixedMaxFilter READ fixedMaxFilter WRITE setFixedMaxFilter NOTIFY
                   fixedMaxFilterChanged)
    Q_PROPERTY(bool isDualMono READ isDualMono WRITE setIsDualMono NOTIFY isDualMonoChanged)

public:
    explicit QX8HomeScreenModel(QObject* parent = nullptr);
    ~QX8HomeScreenModel() override;

    bool lowVisible() const { return m_lowVisible; }
    bool midVisible() const { return m_midVisible; }
    bool highVisible() const { return m_highVisible; }
    QString numBands() const { return m_numBands; }
    QString monoSub() const { return m_monoSub; }
    bool stereoInput() const { return m_stereoInput; }
    bool stereoOutputLow() const { return m_stereoOutputLow; }
    bool stereoOutputMid() const { return m_stereoOutputMid; }
    bool stereoOutputHigh() const { return m_stereoOutputHigh; }
    QString fixedMaxFilter() const { return m_fixedMaxFilter; }
    bool isDualMono() const { return m_isDualMono; }

    void setLowVisible(bool visible);
    void setMidVisible(bool visible);
    void setHighVisible(bool visible);
    void setNumBands(const QString& numBands);
    void setMonoSub(const QString& monoSub);
    void setStereoInput(bool stereo);
    void setStereoOutputLow(bool stereo);
    void setStereoOutputMid(bool stereo);
    void setStereoOutputHigh(bool stereo);

Q_SIGNALS:
    void lowVisibleChanged();
    void midVisibleChanged();
    void highVisibleChanged();
    void stereoInputChanged();
    void stereoOutputLowChanged();
    void stereoOutputMidChanged();
    void stereoOutputHighChanged();
    void fixedMaxFilterChanged(QString fixedMaxFilter);
    void isDualMonoChanged(bool isDualMono);

public Q_SLOTS:
    void onhomeScreenDataAvailable(DataFromDevice* data);
    void onPoReceived(QStringList pos, QString path);
    void setFixedMaxFilter(QString fixedMaxFilter);
    void setIsDualMono(bool isDualMono);

private:
    void refreshView();
    // Writes a visibility flag's settings key, then the flag with its signal when it changed.
    void setGroupVisible(bool& field, bool visible, const char* settingsKey,
                         void (QX8HomeScreenModel::*changed)());
    void setFlag(bool& field, bool value, void (QX8HomeScreenModel::*changed)());

    QString m_numBands;
    QString m_monoSub;
    bool m_lowVisible = false;
    bool m_midVisible = false;
    bool m_highVisible = false;
    bool m_stereoInput = true;
    bool m_isDualMono = false;
    bool m_stereoOutputLow = false;
    bool m_stereoOutputMid = false;
    bool m_stereoOutputHigh = false;
    QSharedPointer<HomeScreenData> m_homeScreenData;
    QString m_fixedMaxFilter;
};
