#pragma once

#include "qx8textsv.h"

// A text state variable whose allowed entries the device lists (`lc` on its EN child).
class QX8EnumSV : public QX8TextSV
{
    Q_OBJECT
    Q_PROPERTY(QStringList enums READ enums WRITE setEnums NOTIFY enumsChanged)

public:
    explicit QX8EnumSV(QObject* parent = nullptr);

    QStringList enums() const { return m_enums; }
    void setEnums(const QStringList& enums);

    Q_INVOKABLE void requestEnums();

Q_SIGNALS:
    void enumsChanged();

public Q_SLOTS:
    void sendDataRequest() override;
    void onEnumsReceived(QStringList enums, QString svPath);

private:
    QStringList m_enums;
    QString m_enumerationPath;
};
