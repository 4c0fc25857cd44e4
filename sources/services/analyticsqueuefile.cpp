#include "analyticsqueuefile.h"

#include "regularfile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>
#include <utility>

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

// It stays in the way at every later activation and deactivation: said once.
bool AnalyticsQueueFile::isLeftAlone() const
{
    if (RegularFile::mayBeOpened(m_path))
        return false;
    if (!std::exchange(m_saidLeftAlone, true))
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
    const std::optional<QByteArray> content = takeContent();
    return content ? hitsOf(*content, m_path) : QList<QueryBuffer>();
}

std::optional<QByteArray> AnalyticsQueueFile::takeContent() const
{
    QFile file(m_path);
    if (!file.exists() || isLeftAlone())
        return std::nullopt;
    if (file.size() > kMaximumBytes) {
        qWarning().noquote() << "[Analytics] Ignored the queue file" << m_path << "of"
                             << file.size() << "bytes, more than" << kMaximumBytes;
        file.remove();
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "[Analytics] Could not read" << m_path << "-" << file.errorString();
        return std::nullopt;
    }
    const QByteArray content = file.read(kMaximumBytes);
    file.close();
    file.remove();
    return content;
}

// From the end: the hits before the last kMaximumHits would only be dropped.
QList<QueryBuffer> AnalyticsQueueFile::hitsOf(const QByteArray& content, const QString& path)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) {
        qWarning().noquote() << "[Analytics] Ignored the queue file" << path
                             << "- it is not a JSON array:" << error.errorString();
        return {};
    }
    const QJsonArray array = document.array();
    QList<QueryBuffer> hits;
    int unreadable = 0;
    for (int index = array.size() - 1; index >= 0 && hits.size() < kMaximumHits; --index) {
        if (const std::optional<QueryBuffer> hit = hitOf(array.at(index)))
            hits.prepend(*hit);
        else
            ++unreadable;
    }
    if (unreadable > 0)
        qWarning().noquote() << "[Analytics] Ignored" << unreadable
                             << "unreadable hits of the queue file" << path;
    return hits;
}
