#include "wizarddialogprovider.h"

WizardDialogProvider::WizardDialogProvider(QObject* parent)
    : WizardPageProvider(QStringLiteral("WizardDialogView.xml"), Trace::Silent, parent)
{
}

void WizardDialogProvider::setImageSrc(const QString& imageSrc)
{
    m_imageSrc = imageSrc;
    Q_EMIT imageSrcChanged(imageSrc);
}

void WizardDialogProvider::setSvNextPath(const QString& svNextPath)
{
    m_svNextPath = svNextPath;
    Q_EMIT svNextChanged(svNextPath);
}

void WizardDialogProvider::setSvNextVal(const QString& svNextVal)
{
    m_svNextVal = svNextVal;
    Q_EMIT svNextValChanged(svNextVal);
}

void WizardDialogProvider::setDisplayText(const QString& displayText)
{
    m_displayText = displayText;
    Q_EMIT displayTextChanged(displayText);
}

void WizardDialogProvider::applyElement(const QString& tag, const QString& text)
{
    if (tag == QLatin1String("image"))
        setImageSrc(text);
    else if (tag == QLatin1String("svValue"))
        setSvNextVal(text);
    else if (tag == QLatin1String("DisplayText"))
        setDisplayText(text);
}
