#pragma once

#include <QObject>

// Skeleton until the wizard pages are built: it can be created from QML and holds no data.
class WizardRunSetupProvider : public QObject
{
    Q_OBJECT

public:
    explicit WizardRunSetupProvider(QObject* parent = nullptr);
};
