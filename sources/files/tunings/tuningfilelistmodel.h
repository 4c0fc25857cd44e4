#pragma once

#include <QObject>

// Skeleton until presets and tunings are built: it can be created from QML and holds no data.
class TuningFileListModel : public QObject
{
    Q_OBJECT

public:
    explicit TuningFileListModel(QObject* parent = nullptr);
};
