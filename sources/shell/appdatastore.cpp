#include "appdatastore.h"

#include "qx8textsv.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>

namespace {
// Keys: first channel counted from 0, then the number of channels.
const QMap<QString, QString> kInputGroupNames = {
    {"01", "Input A"},   {"11", "Input B"},   {"21", "Input C"},
    {"02", "Input A,B"}, {"12", "Input B,C"}, {"03", "Input A,B,C"},
};

QMap<QString, QString> outputGroupNames()
{
    QMap<QString, QString> names;
    for (int count = 1; count <= 6; ++count) {
        for (int first = 0; first + count <= 6; ++first) {
            QStringList outputs;
            for (int output = first + 1; output <= first + count; ++output)
                outputs << QString::number(output);
            names.insert(QString::number(first) + QString::number(count),
                         QStringLiteral("Output ") + outputs.join(QLatin1Char(',')));
        }
    }
    return names;
}

const QMap<QString, QString> kInputNames = {
    {"In1", "Analog 1"}, {"In2", "Analog 2"}, {"In3", "Analog 3"}, {"In4", "AES 1"},
    {"In5", "AES 2"},    {"In6", "AES 3"},    {"In7", "AES 4"},
};

bool isBusyStatus(const QString& status)
{
    return status.startsWith(QLatin1String("Load:")) ||
           status.startsWith(QLatin1String("Reconfig:"));
}

// The greatest index below `index` whose entry names a limiter, or -1.
int findPreviousLimiter(const QStringList& parts, int index)
{
    for (int j = index - 1; j >= 0; --j) {
        if (parts.at(j).contains(QLatin1String("Limiter")))
            return j;
    }
    return -1;
}
} // namespace

AppDataStore::AppDataStore(QObject* parent)
    : QObject(parent)
    , m_statusControl(new QX8TextSV(this))
    , m_inputGroupNames(kInputGroupNames)
    , m_outputGroupNames(outputGroupNames())
    , m_inputNames(kInputNames)
{
    m_statusControl->setEntityName(QStringLiteral("DeviceBusyTSV"));
    connect(m_statusControl, &QX8TextSV::valueChanged, this, &AppDataStore::onStatusValueChanged);
    m_statusControl->setPOName(QStringLiteral("NPO"));
    m_statusControl->setSVName(QStringLiteral("Node\\Config\\SV\\Command:Status"));
    readRangeData();
}

void AppDataStore::readRangeData()
{
    qDebug() << Q_FUNC_INFO;
    QFile file(QStringLiteral(":/xml/RangeCheck.json"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug() << "unable to open";
        return;
    }
    const QByteArray text = file.readAll();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    qDebug().noquote() << "ParseError  : " + error.errorString();
    switch (error.error) {
    case QJsonParseError::NoError:
        qDebug() << "Complete JSON Received";
        if (!document.isNull())
            m_rangeData = document.object();
        break;
    case QJsonParseError::UnterminatedObject:
    case QJsonParseError::UnterminatedString:
        qDebug() << "More Data Expected";
        break;
    default:
        qDebug() << "Untackled JSON Error" << text;
        break;
    }
}

void AppDataStore::setPOName(const QString& poName)
{
    if (poName == m_poName)
        return;
    m_poName = poName;
    Q_EMIT poNameChanged(poName);
}

// "<grid word> <key>": "in" names an input group, anything else an output group. A text
// without a key gives an empty name.
void AppDataStore::setChannelName(const QString& channelName)
{
    const QStringList parts = channelName.split(QLatin1Char(' '));
    if (parts.size() < 2) {
        m_channelName.clear();
        return;
    }
    const QMap<QString, QString>& groups =
        parts.first() == QLatin1String("in") ? m_inputGroupNames : m_outputGroupNames;
    m_channelName = groups.value(parts.at(1));
}

QString AppDataStore::getJsonArray(const QString& poClass, const QString& svClass) const
{
    const QJsonValue ranges = m_rangeData.value(poClass).toObject().value(svClass);
    if (!ranges.isArray())
        return QStringLiteral("[]");
    return QString::fromUtf8(QJsonDocument(ranges.toArray()).toJson(QJsonDocument::Compact));
}

bool AppDataStore::deviceBusy() const
{
    if (m_wizardActive)
        return false;
    const QString status = m_statusControl->value();
    return isBusyStatus(status) && status.endsWith(QLatin1String("InProgress"));
}

QString AppDataStore::inputNameFromIdx(const QString& n)
{
    return m_inputNames[n];
}

void AppDataStore::setOutputName(const QString& key, const QString& value)
{
    m_outputNames.insert(key, value);
}

QString AppDataStore::getOutputName(const QString& key)
{
    return m_outputNames[key];
}

void AppDataStore::setLimiterList(const QString& list)
{
    QString text = list.mid(1, list.size() - 2);
    text.remove(QLatin1Char('"'));
    const QStringList parts = text.split(QLatin1Char(','));
    m_limiterMap.clear();
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        if (part.contains(QLatin1String("Limiter"))) {
            m_limiterMap.insert(i, part);
        } else if (part.contains(QLatin1String("LINKED"))) {
            const int previous = findPreviousLimiter(parts, i);
            if (previous < 0)
                qWarning() << "Array Index out of bounds : " << previous;
            m_limiterMap.insert(i, parts.at(previous < 0 ? i : previous));
        }
    }
}

QString AppDataStore::getLimiterAt(int i)
{
    return m_limiterMap[i];
}

void AppDataStore::listenForBusyEvents()
{
    m_statusControl->subscribe();
}

void AppDataStore::stopListeningForBusyEvents()
{
    m_statusControl->cancelSubscription();
}

void AppDataStore::setWizardActive(bool wiz)
{
    if (wiz == m_wizardActive)
        return;
    m_wizardActive = wiz;
    Q_EMIT wizardActiveChanged(wiz);
}

void AppDataStore::onStatusValueChanged(QString a)
{
    qDebug().noquote() << "Device status:" << a;
    if (m_wizardActive || !isBusyStatus(a))
        return;
    Q_EMIT deviceBusyStateChanged(a.endsWith(QLatin1String("InProgress")));
}
