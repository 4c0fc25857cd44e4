#include "wizarddialprovider.h"

#include <QFileInfo>
#include <QLoggingCategory>

namespace {

// The dial page's log tells which descriptor it is about to read.
QString announced(const QString& fileName)
{
    const QFileInfo file(WizardDescriptor::resourcePath(fileName));
    if (file.exists()) {
        qDebug() << "XML file already exists";
        qDebug().noquote() << "File path is: " + file.symLinkTarget() + ' ' +
                                  QString::number(file.size());
    }
    return fileName;
}

} // namespace

WizardDialProvider::WizardDialProvider(QObject* parent)
    : WizardPageProvider(announced(QStringLiteral("WizardDialView.xml")), Trace::Lookup, parent)
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
