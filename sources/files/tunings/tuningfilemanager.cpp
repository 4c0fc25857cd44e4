#include "tuningfilemanager.h"

#include <QCoreApplication>

TuningFileManager* TuningFileManager::instance()
{
    static TuningFileManager* manager = new TuningFileManager;
    if (!manager->m_thread.isRunning() && !manager->m_thread.isFinished())
        manager->m_thread.start();
    return manager;
}

// The thread must not outlive the application object; the manager itself lives to the end.
TuningFileManager::TuningFileManager()
{
    m_thread.setObjectName(QStringLiteral("Tuning files"));
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &TuningFileManager::shutdown);
}

void TuningFileManager::shutdown()
{
    m_thread.quit();
    m_thread.wait(3000);
}

void TuningFileManager::setValidationMode(bool validationMode)
{
    if (validationMode == m_validationMode)
        return;
    m_validationMode = validationMode;
    Q_EMIT validationModeChanged(validationMode);
}
