#pragma once

#include <QObject>
#include <QString>

// The last crossover band count and mono-sub text one home-screen band model received.
class HomeScreenData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString monoSub READ monoSub WRITE setMonoSub)
    Q_PROPERTY(QString numbands READ numbands WRITE setNumbands)

public:
    explicit HomeScreenData(QObject* parent = nullptr);

    QString monoSub() const { return m_monoSub; }
    QString numbands() const { return m_numbands; }
    void setMonoSub(const QString& monoSub);
    void setNumbands(const QString& numbands);

private:
    QString m_monoSub;
    QString m_numbands;
};
