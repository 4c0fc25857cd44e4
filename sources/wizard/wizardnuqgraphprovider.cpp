#include "wizardnuqgraphprovider.h"

WizardNuqGraphProvider::WizardNuqGraphProvider(QObject* parent)
    : WizardPageProvider(QStringLiteral("WizardNuqGraphView.xml"), Trace::EveryBlock, parent)
{
}

void WizardNuqGraphProvider::setImageSrc(const QString& imageSrc)
{
    m_imageSrc = imageSrc;
    Q_EMIT imageSrcChanged(imageSrc);
}

void WizardNuqGraphProvider::applyElement(const QString& tag, const QString& text)
{
    if (tag == QLatin1String("image"))
        setImageSrc(text);
}
