#pragma once

#include "wizardpageprovider.h"

// The texts of the dial page ("WizardDialType.qml"), from "WizardDialView.xml": its heading and
// whether the state shows the dial or the slider.
class WizardDialProvider : public WizardPageProvider
{
    Q_OBJECT
    Q_PROPERTY(
        QString dialOrSlider READ dialOrSlider WRITE setDialOrSlider NOTIFY dialOrSliderChanged)

public:
    explicit WizardDialProvider(QObject* parent = nullptr);

    QString dialOrSlider() const { return m_dialOrSlider; }
    void setDialOrSlider(const QString& dialOrSlider);

Q_SIGNALS:
    void dialOrSliderChanged(QString imgSrc);

protected:
    void applyElement(const QString& tag, const QString& text) override;

private:
    QString m_dialOrSlider;
};
