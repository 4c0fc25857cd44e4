#include "tuningfilelistmodel.h"

#include "qx8settings.h"
#include "settingskeys.h"
#include "tuningcatalog.h"
#include "tuningfilemanager.h"

namespace {
constexpr int kResetDelayMs = 100;

struct Fold
{
    QString state;
    QString update;
    QString addRemove;
};

// Some records loaded and some not: an update and a removal are offered.
Fold fold(const FileInfoList& records)
{
    bool someLoaded = false;
    bool someNotLoaded = false;
    for (const FileInfo& record : records) {
        (record.state == FileInfo::loaded ? someLoaded : someNotLoaded) = true;
    }
    if (someLoaded && someNotLoaded)
        return {FileInfo::hasUpdate, QStringLiteral("Update"), QStringLiteral("Remove")};
    if (someLoaded)
        return {FileInfo::loaded, QString(), QStringLiteral("Remove")};
    return {FileInfo::notLoaded, QString(), QStringLiteral("Add")};
}
} // namespace

TuningFileListModel::TuningFileListModel(QObject* parent)
    : QAbstractListModel(parent), m_brandFilter(TuningCatalog::showAll)
{
    m_resetTimer.setSingleShot(true);
    m_resetTimer.setInterval(kResetDelayMs);
    connect(&m_resetTimer, &QTimer::timeout, this, &TuningFileListModel::onResetModel);

    TuningFileManager* manager = TuningFileManager::instance();
    constexpr Qt::ConnectionType queued = Qt::QueuedConnection;
    connect(manager, &TuningFileManager::mapBrandSeriesToFileInfoList, this,
            &TuningFileListModel::onMapBrandSeriesToFileInfoList, queued);
    connect(manager, &TuningFileManager::brandList, this, &TuningFileListModel::brandList, queued);
    connect(manager, &TuningFileManager::initialized, this, &TuningFileListModel::onInitialized,
            queued);
    connect(manager, &TuningFileManager::changesApplied, this,
            &TuningFileListModel::onChangesApplied, queued);
    connect(manager, &TuningFileManager::updatedFromCloud, this,
            &TuningFileListModel::onUpdatedFromCloud, queued);
    connect(manager, &TuningFileManager::tuningsReset, this, &TuningFileListModel::onTuningsReset,
            queued);
    connect(manager, &TuningFileManager::progressMessage, this,
            &TuningFileListModel::progressMessage, queued);
    connect(manager, &TuningFileManager::error, this, &TuningFileListModel::error, queued);
    connect(this, &TuningFileListModel::signalInitialize, manager, &TuningFileManager::initialize,
            queued);
    connect(this, &TuningFileListModel::signalApplyChanges, manager,
            &TuningFileManager::onSignalApplyChanges, queued);
    connect(this, &TuningFileListModel::signalUpdateFromCloud, manager,
            &TuningFileManager::onSignalUpdateFromCloud, queued);
    connect(this, &TuningFileListModel::signalResetTunings, manager,
            &TuningFileManager::onSignalResetTunings, queued);
}

void TuningFileListModel::setEnableApplyCancel(bool enable)
{
    if (enable == m_enableApplyCancel)
        return;
    m_enableApplyCancel = enable;
    Q_EMIT enableApplyCancelChanged(enable);
}

const FileInfoList* TuningFileListModel::group(int row) const
{
    if (row < 0 || row >= m_keys.size())
        return nullptr;
    const auto found = m_workingMap.constFind(m_keys.at(row));
    return found == m_workingMap.constEnd() ? nullptr : &found.value();
}

int TuningFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_keys.size();
}

QVariant TuningFileListModel::data(const QModelIndex& index, int role) const
{
    const FileInfoList* records = group(index.row());
    if (!records)
        return {};
    const FileInfo& first = records->first();
    switch (role) {
    case TypeRole:
        return first.type;
    case BrandSeriesRole:
        return first.brand + QStringLiteral(" / ") + first.series;
    case StateRole:
        return fold(*records).state;
    case ActionRole:
        return first.action;
    case UpdateRole:
        return fold(*records).update;
    case AddRemoveRole:
        return fold(*records).addRemove;
    case FilterRole:
        return m_brandFilter == TuningCatalog::showAll || m_brandFilter == first.brand;
    default:
        return {};
    }
}

bool TuningFileListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!group(index.row()))
        return false;
    if (role != ActionRole)
        return QAbstractListModel::setData(index, value, role);
    FileInfoList& records = m_workingMap[m_keys.at(index.row())];
    const bool taken = records.first().setAction(value.toString());
    parseAndSetEnableApplyCancel();
    if (taken)
        Q_EMIT dataChanged(index, index, {ActionRole});
    return taken;
}

Qt::ItemFlags TuningFileListModel::flags(const QModelIndex& index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> TuningFileListModel::roleNames() const
{
    return {{TypeRole, "typeRole"},     {BrandSeriesRole, "brandSeriesRole"},
            {StateRole, "stateRole"},   {ActionRole, "actionRole"},
            {UpdateRole, "updateRole"}, {AddRemoveRole, "addRemoveRole"},
            {FilterRole, "filterRole"}};
}

void TuningFileListModel::initializeModel(bool full)
{
    m_requests.append({Operation::Initialize, QString()});
    requestInitialize(full);
}

void TuningFileListModel::requestInitialize(bool full)
{
    Q_EMIT signalInitialize(QX8Settings().value(settingskeys::kCurrentDeviceAddress).toString(),
                            full);
}

void TuningFileListModel::filterBy(const QString& brand)
{
    m_resetTimer.start();
    if (brand == m_brandFilter)
        return;
    m_brandFilter = brand;
    Q_EMIT brandFilterChanged(brand);
}

void TuningFileListModel::applyChanges()
{
    m_requests.append(
        {Operation::Apply, QStringLiteral("Nothing to change on the Spandrell QX8.")});
    Q_EMIT signalApplyChanges(m_workingMap);
}

void TuningFileListModel::discardChanges()
{
    m_workingMap = m_savedMap;
    m_resetTimer.start();
}

void TuningFileListModel::updateFromCloud()
{
    m_requests.append({Operation::Cloud, QStringLiteral("The tunings are up to date.")});
    Q_EMIT signalUpdateFromCloud();
}

void TuningFileListModel::resetTunings()
{
    m_requests.append({Operation::Reset, QString()});
    Q_EMIT signalResetTunings();
}

void TuningFileListModel::parseAndSetEnableApplyCancel()
{
    bool pending = false;
    for (const FileInfoList& records : qAsConst(m_workingMap)) {
        if (records.first().action != FileInfo::noChange) {
            pending = true;
            break;
        }
    }
    setEnableApplyCancel(pending);
}

// A reset, not the insertion of rows: the flat lists make no rows of their own.
void TuningFileListModel::onFileInfoList(FileInfoList* fileInfoList)
{
    beginResetModel();
    m_fileInfoList = fileInfoList ? *fileInfoList : FileInfoList();
    m_savedFileInfoList = m_fileInfoList;
    endResetModel();
}

void TuningFileListModel::onMapBrandSeriesToFileInfoList(const BrandSeriesMap& groups)
{
    beginResetModel();
    m_workingMap = groups;
    m_savedMap = groups;
    m_keys = QVector<BrandSeriesKey>::fromList(groups.keys());
    endResetModel();
}

// Ends the oldest request. A failed apply or reset leaves no chosen action behind to run again
// unasked.
void TuningFileListModel::onInitialized(bool success)
{
    const Request ended =
        m_requests.isEmpty() ? Request{Operation::Initialize, QString()} : m_requests.takeFirst();
    if (!success && (ended.operation == Operation::Apply || ended.operation == Operation::Reset))
        discardChanges();
    if (success && !ended.result.isEmpty())
        Q_EMIT resultMessage(ended.result);
    Q_EMIT initialized(success);
}

void TuningFileListModel::onChangesApplied()
{
    relist(true, QStringLiteral("Changes applied to the Spandrell QX8."));
}

void TuningFileListModel::onUpdatedFromCloud()
{
    relist(false, QStringLiteral("Tunings updated from the cloud."));
}

void TuningFileListModel::onTuningsReset()
{
    relist(true, QStringLiteral("Tunings reset to the factory set."));
}

// The oldest request has done its work; it ends, with `result`, once the rows are listed afresh.
void TuningFileListModel::relist(bool full, const QString& result)
{
    if (m_requests.isEmpty())
        m_requests.append({Operation::Initialize, QString()});
    m_requests.first().result = result;
    clearRows();
    requestInitialize(full);
}

void TuningFileListModel::reInitialize(bool full)
{
    clearRows();
    initializeModel(full);
}

void TuningFileListModel::clearRows()
{
    Q_EMIT brandList({});
    beginResetModel();
    m_savedMap.clear();
    m_workingMap.clear();
    m_keys.clear();
    endResetModel();
    parseAndSetEnableApplyCancel();
}

void TuningFileListModel::onResetModel()
{
    beginResetModel();
    endResetModel();
    parseAndSetEnableApplyCancel();
}
