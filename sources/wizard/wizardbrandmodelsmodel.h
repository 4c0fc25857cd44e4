#pragma once

#include <QObject>

// Skeleton until the wizard pages are built: it can be created from QML and holds no data.
class WizardBrandModelsModel : public QObject
{
    Q_OBJECT

public:
    explicit WizardBrandModelsModel(QObject* parent = nullptr);
};
