#pragma once

#include <QState>

class QQuickView;
class ViewLoader;

// One screen of the application: entering it asks the screen loader to load its page and help
// image.
class QX8State : public QState
{
    Q_OBJECT

public:
    QX8State(QQuickView& view, const QString& name, const QString& qmlPath,
             const QString& helpFileName, ViewLoader* viewLoader, QState* parent = nullptr);

    QString name() const { return m_name; }
    QString qmlPath() const { return m_qmlPath; }
    QString helpFileName() const { return m_helpFileName; }

Q_SIGNALS:
    void stateEntered(QString qmlPath, QString helpFileName);
    void signal_exitSignal();
    void signal_stateSpecificSignal(QString msg);

public Q_SLOTS:
    void slot_setName(QString name) { m_name = name; }
    void slot_setPrefix(QString prefix) { m_prefix = prefix; }

protected:
    void onEntry(QEvent* event) override;
    void onExit(QEvent* event) override;

private:
    QString statePath() const;

    QString m_name;
    QString m_prefix;
    QString m_qmlPath;
    QString m_helpFileName;
    QQuickView& m_view;
    ViewLoader* m_viewLoader;
};
