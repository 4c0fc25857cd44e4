#pragma once

#include "fileinfo.h"

#include <QAbstractListModel>
#include <QStringList>
#include <QTimer>
#include <QVector>

// The model of the tuning screen: one row per (brand, series) group of tuning records, the
// group's folded state, and the action the user chose for it. Talks to TuningFileManager only
// through queued signals; maps cross threads by value.
//
// The brand filter only hides rows: what is pending stays pending, and Apply and Cancel follow
// it. An apply, a cloud update or a reset that ends well ends with resultMessage(), once the rows
// have been listed afresh; one that fails, with initialized(false).
class TuningFileListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString brandFilter READ brandFilter NOTIFY brandFilterChanged)
    Q_PROPERTY(bool enableApplyCancel READ enableApplyCancel WRITE setEnableApplyCancel NOTIFY
                   enableApplyCancelChanged)

public:
    enum FileInfoRoles {
        TypeRole = Qt::UserRole + 1,
        BrandSeriesRole,
        StateRole,
        ActionRole,
        UpdateRole,
        AddRemoveRole,
        FilterRole
    };
    Q_ENUM(FileInfoRoles)

    explicit TuningFileListModel(QObject* parent = nullptr);

    QString brandFilter() const { return m_brandFilter; }
    bool enableApplyCancel() const { return m_enableApplyCancel; }
    void setEnableApplyCancel(bool enable);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE void initializeModel(bool full = true);
    Q_INVOKABLE void filterBy(const QString& brand);
    Q_INVOKABLE void applyChanges();
    Q_INVOKABLE void discardChanges();
    Q_INVOKABLE void updateFromCloud();
    Q_INVOKABLE void resetTunings();
    Q_INVOKABLE void parseAndSetEnableApplyCancel();

    // The flat record list last taken by onFileInfoList(), kept twice as the map is (the working
    // and the saved copy); no role reads them.
    const FileInfoList& fileInfoList() const { return m_fileInfoList; }
    const FileInfoList& savedFileInfoList() const { return m_savedFileInfoList; }

Q_SIGNALS:
    void progressMessage(QString message);
    void error(QString errorString);
    void signalInitialize(QString ip, bool full);
    void initialized(bool success);
    void brandList(QStringList brandList);
    void signalApplyChanges(BrandSeriesMap groups);
    // Nothing emits this or changesApplied(): the model discards by itself, and hears of an
    // apply from the manager.
    void signalDiscardChanges();
    void signalUpdateFromCloud();
    void signalResetTunings();
    void changesApplied();
    void enableApplyCancelChanged(bool enable);
    // What an apply, a cloud update or a reset has done, once it has ended well.
    void resultMessage(QString message);
    void brandFilterChanged(QString brandFilter);

public Q_SLOTS:
    // Takes copies of the manager's flat record list (TuningFileManager::fileInfoList()).
    void onFileInfoList(FileInfoList* fileInfoList);
    void onMapBrandSeriesToFileInfoList(const BrandSeriesMap& groups);
    void onChangesApplied();
    void onUpdatedFromCloud();
    void onTuningsReset();
    void reInitialize(bool full = true);
    void onResetModel();

private:
    enum class Operation { Initialize, Apply, Cloud, Reset };
    // A request to the manager that has not ended; the manager ends them one at a time, in the
    // order sent, each with initialized() at last.
    struct Request
    {
        Operation operation;
        QString result; // what the screen is told when it ends well
    };

    void requestInitialize(bool full);
    void relist(bool full, const QString& result);
    void clearRows();
    void onInitialized(bool success);
    const FileInfoList* group(int row) const;

    FileInfoList m_fileInfoList;
    FileInfoList m_savedFileInfoList;
    BrandSeriesMap m_savedMap;
    BrandSeriesMap m_workingMap;
    QVector<BrandSeriesKey> m_keys; // row -> key of m_workingMap
    QString m_brandFilter;
    QTimer m_resetTimer;
    bool m_enableApplyCancel = false;
    QList<Request> m_requests; // the oldest first
};
