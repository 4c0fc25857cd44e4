#pragma once

#include "wizardpageprovider.h"

// The texts of the dialog page ("WizardDialogType.qml"), from "WizardDialogView.xml": heading,
// picture, the event word of its Next button (none: the page has no Next), and the instruction
// text the page uses as a switch. `svNextPath` is the page's own.
class WizardDialogProvider : public WizardPageProvider
{
    Q_OBJECT
    Q_PROPERTY(QString imageSrc READ imageSrc WRITE setImageSrc NOTIFY imageSrcChanged)
    Q_PROPERTY(QString svNextPath READ svNextPath WRITE setSvNextPath NOTIFY svNextChanged)
    Q_PROPERTY(QString svNextVal READ svNextVal WRITE setSvNextVal NOTIFY svNextValChanged)
    Q_PROPERTY(QString displayText READ displayText WRITE setDisplayText NOTIFY displayTextChanged)

public:
    explicit WizardDialogProvider(QObject* parent = nullptr);

    QString imageSrc() const { return m_imageSrc; }
    void setImageSrc(const QString& imageSrc);
    QString svNextPath() const { return m_svNextPath; }
    void setSvNextPath(const QString& svNextPath);
    QString svNextVal() const { return m_svNextVal; }
    void setSvNextVal(const QString& svNextVal);
    QString displayText() const { return m_displayText; }
    void setDisplayText(const QString& displayText);

Q_SIGNALS:
    void imageSrcChanged(QString imgSrc);
    void svNextChanged(QString sv);
    void svNextValChanged(QString svVal);
    void displayTextChanged(QString displayText);

protected:
    void applyElement(const QString& tag, const QString& text) override;

private:
    QString m_imageSrc;
    QString m_svNextPath;
    QString m_svNextVal;
    QString m_displayText;
};
