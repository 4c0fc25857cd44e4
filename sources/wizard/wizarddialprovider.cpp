#include "wizarddialprovider.h"

#include <QLoggingCategory>

WizardDialProvider::WizardDialProvider(QObject* parent)
    : WizardPageProvider(QStringLiteral("WizardDialView.xml"), parent)
{
}

void WizardDialProvider::setDialOrSlider(const QString& dialOrSlider)
{
    m_dialOrSlider = dialOrSlider;
    Q_EMIT dialOrSliderChanged(dialOrSlider);
}

void WizardDialProvider::applyElement(const QString& tag, const QString& text)
{
    if (tag != QLatin1String("dialOrSlider"))
        return;
    qDebug() << "dilaOrSliderFound";
    setDialOrSlider(text);
}
