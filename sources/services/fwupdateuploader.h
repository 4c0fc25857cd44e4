#pragma once

#include <QObject>

// Skeleton of the firmware upload until it is built: it can be created from QML and sends
// nothing.
class FwUpdateUploader : public QObject
{
    Q_OBJECT

public:
    explicit FwUpdateUploader(QObject* parent = nullptr);
};
