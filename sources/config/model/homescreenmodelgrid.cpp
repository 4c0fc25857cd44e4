// The grid cells of the configurable home screen.
#include "homescreenmodel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>

namespace {

const QLatin1String kIirCrossover("Kalo480Crossover");
const QLatin1String kOutputGrid("out");
// The limiter column of the output grid: mid mixer, AutoEQ, insert, crossover, PEQ, limiter.
constexpr int kLimiterColumn = 5;
const QLatin1String kQx8Crossover("SpandrellCrossover");

int attribute(const QJsonObject& attributes, const char* name)
{
    return attributes.value(QLatin1String(name)).toInt();
}

// How many rows of the grid the object feeds.
int channelSpan(const QJsonObject& object)
{
    const QJsonObject attributes = object.value(QLatin1String("Attributes")).toObject();
    const QString className = object.value(QLatin1String("ClassName")).toString();
    if (className == kIirCrossover)
        return attribute(attributes, "NumMainCabinets") * attribute(attributes, "NumBands") +
               attribute(attributes, "NumSubCabinets");
    if (className == kQx8Crossover)
        return attribute(attributes, "NumSlots") * attribute(attributes, "NumBands") +
               attribute(attributes, "MonoSub");
    return attribute(attributes, "NumChans");
}

// The "Map" of the first display grid of that name; an empty array when there is none.
QJsonArray gridMap(const QJsonArray& grids, const QString& gridName)
{
    for (const QJsonValue& entry : grids) {
        if (!entry.isObject())
            continue;
        const QJsonObject grid = entry.toObject();
        const QJsonValue map = grid.value(QLatin1String("Map"));
        const QJsonValue name = grid.value(QLatin1String("Name"));
        if (!map.isArray() || !name.isString()) {
            qWarning() << "TYPE PREREQUISITE MISMATCH ";
            continue;
        }
        if (name.toString() == gridName)
            return map.toArray();
    }
    return QJsonArray();
}

} // namespace

QString HomeScreenModel::limiterColumnText() const
{
    const QJsonArray map =
        gridMap(m_configJSONObject.value(QLatin1String("gridsDisplay")).toArray(), kOutputGrid);
    return QString::fromUtf8(
        QJsonDocument(map.at(kLimiterColumn).toArray()).toJson(QJsonDocument::Compact));
}

// Map[rowNo][columnNo]: a display grid lists columns, so `rowNo` picks the column of the grid and
// `columnNo` the row within it, as the configurable home screen asks.
QVariantMap HomeScreenModel::cellInfo(QString gridName, int columnNo, int rowNo)
{
    const QJsonValue grids = m_configJSONObject.value(QLatin1String("gridsDisplay"));
    if (!m_ready || !grids.isArray())
        return QVariantMap();
    const QJsonArray map = gridMap(grids.toArray(), gridName);
    if (rowNo < 0 || rowNo >= map.size())
        return QVariantMap();
    const QJsonArray cells = map.at(rowNo).toArray();
    if (columnNo < 0 || columnNo >= cells.size())
        return QVariantMap();
    const QString name = cells.at(columnNo).toString();
    QJsonObject object = m_configJSONObject.value(name).toObject();
    const QString className = object.value(QLatin1String("ClassName")).toString();
    const QString info = object.value(QLatin1String(".info")).toString();
    const bool crossover = className == kIirCrossover || className == kQx8Crossover;
    const QJsonValue type = object.value(QLatin1String(".type"));

    QVariantMap answer{{QStringLiteral("name"), name},
                       {QStringLiteral("className"), className},
                       {QStringLiteral("info"), crossover ? QStringLiteral("Crossover") : info},
                       {QStringLiteral("type"), type.toVariant()},
                       {QStringLiteral("channelSpan"), channelSpan(object)}};
    if (crossover)
        answer.insert(QStringLiteral("XOverType"), info);
    object.insert(QStringLiteral("POName"), name);
    object.insert(QStringLiteral("type"), type);
    answer.insert(QStringLiteral("data"), QString::fromUtf8(QJsonDocument(object).toJson()));
    return answer;
}
