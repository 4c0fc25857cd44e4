#pragma once

#include "wizardpageprovider.h"

// The texts of the Nuq graph page ("WizardNuqGraphType.qml"), from "WizardNuqGraphView.xml":
// its heading and instruction picture.
class WizardNuqGraphProvider : public WizardPageProvider
{
    Q_OBJECT
    Q_PROPERTY(QString imageSrc READ imageSrc WRITE setImageSrc NOTIFY imageSrcChanged)

public:
    explicit WizardNuqGraphProvider(QObject* parent = nullptr);

    QString imageSrc() const { return m_imageSrc; }
    void setImageSrc(const QString& imageSrc);

Q_SIGNALS:
    void imageSrcChanged(QString imgSrc);

protected:
    void applyElement(const QString& tag, const QString& text) override;

private:
    QString m_imageSrc;
};
