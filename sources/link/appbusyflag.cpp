#include "appbusyflag.h"

#include <QLoggingCategory>

std::atomic<bool> AppBusyFlag::s_busy{false};

AppBusyFlag* AppBusyFlag::instance()
{
    static AppBusyFlag flag;
    return &flag;
}

AppBusyFlag::AppBusyFlag()
{
    m_expiry.setSingleShot(true);
    m_expiry.setInterval(kMaxBusyMs);
    connect(&m_expiry, &QTimer::timeout, this, &AppBusyFlag::onExpired);
}

void AppBusyFlag::setBusy(bool busy)
{
    if (busy == isBusy())
        return;
    s_busy.store(busy, std::memory_order_relaxed);
    if (busy)
        m_expiry.start();
    else
        m_expiry.stop();
    Q_EMIT busyChanged(busy);
    Q_EMIT resendDataRequest(!busy);
}

void AppBusyFlag::onExpired()
{
    qWarning() << "Application busy for" << kMaxBusyMs / 1000 << "s without end: cleared";
    setBusy(false);
}
