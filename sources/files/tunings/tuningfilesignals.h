#pragma once

#include "fileinfo.h"

#include <QObject>
#include <QString>
#include <QStringList>

// What the tuning-file service reports. Declared once for the worker that emits them on its
// thread (TuningFileWorker) and the owner that passes them on (TuningFileManager).
class TuningFileSignals : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    void connected();
    void disconnected();
    void error(QString errorString);
    void progressMessage(QString message);
    void mapBrandSeriesToFileInfoList(BrandSeriesMap fileInfoList);
    void brandList(QStringList list);
    void initialized(bool success);
    void changesApplied();
    void updatedFromCloud();
    void tuningsReset();
};
