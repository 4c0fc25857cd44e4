#include "analyticsqueuefile.h"

#include "regularfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace {
const QString kTimeKey = QStringLiteral("time");
const QString kUrlKey = QStringLiteral("url");

// The hit of one element, or none when the element is not an object with a readable time and
// a non-empty query.
std::optional<QueryBuffer> hitOf(const QJsonValue& element)
{
    const QJsonObject object = element.toObject();
    // The text form also reads fractions of a second; the file holds whole seconds, so a hit
    // written back reads back the same.
    QDateTime time = QDateTime::fromString(object.value(kTimeKey).toString(), Qt::TextDate);
    time = time.addMSecs(-time.time().msec());
    const FormQuery query = FormQuery::fromText(object.value(kUrlKey).toString().toUtf8());
    if (!time.isValid() || query.isEmpty())
        return std::nullopt;
    return QueryBuffer{query, time};
}
} // namespace

bool AnalyticsQueueFile::isLeftAlone() const
{
    if (RegularFile::mayBeOpened(m_path))
        return false;
    qWarning().noquote() << "[Analytics] Left the queue file" << m_path
                         << "alone: it is not a regular file";
    return true;
}

bool AnalyticsQueueFile::write(const QList<QueryBuffer>& hits) const
{
    if (isLeftAlone())
        return false;
    if (hits.isEmpty()) {
        QFile file(m_path);
        if (!file.exists() || file.remove())
            return true;
        qWarning().noquote() << "[Analytics] Could not remove" << m_path << "-"
                             << file.errorString();
        return false;
    }
    QJsonArray array;
    for (const QueryBuffer& hit : hits) {
        array.append(QJsonObject{{kUrlKey, QString::fromUtf8(hit.postQuery.text())},
                                 {kTimeKey, hit.time.toString(Qt::TextDate)}});
    }
    RegularSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(array).toJson(QJsonDocument::Indented)) < 0 || !file.commit()) {
        qWarning().noquote() << "[Analytics] Could not write" << m_path << "-"
                             << file.errorString();
        return false;
    }
    return true;
}

QList<QueryBuffer> AnalyticsQueueFile::take() const
{
    QFile file(m_path);
    if (!file.exists() || isLeftAlone())
        return {};
    if (file.size() > kMaximumBytes) {
        qWarning().noquote() << "[Analytics] Ignored the queue file" << m_path << "of"
                             << file.size() << "bytes, more than" << kMaximumBytes;
        file.remove();
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "[Analytics] Could not read" << m_path << "-" << file.errorString();
        return {};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.read(kMaximumBytes), &error);
    file.close();
    file.remove();
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        qWarning().noquote() << "[Analytics] Ignored the queue file" << m_path
                             << "- it is not a JSON array:" << error.errorString();
        return {};
    }
    const QJsonArray array = document.array();
    QList<QueryBuffer> hits;
    for (const QJsonValue& element : array) {
        if (const std::optional<QueryBuffer> hit = hitOf(element))
            hits.append(*hit);
    }
    if (hits.size() < array.size()) {
        qWarning().noquote() << "[Analytics] Ignored" << array.size() - hits.size()
                             << "unreadable hits of the queue file" << m_path;
    }
    if (hits.size() > kMaximumHits)
        hits.erase(hits.begin(), hits.end() - kMaximumHits);
    return hits;
}
