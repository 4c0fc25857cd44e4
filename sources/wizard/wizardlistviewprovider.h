#pragma once

#include <QObject>

// Skeleton until the wizard pages are built: it can be created from QML and holds no data.
class WizardListViewProvider : public QObject
{
    Q_OBJECT

public:
    explicit WizardListViewProvider(QObject* parent = nullptr);
};
