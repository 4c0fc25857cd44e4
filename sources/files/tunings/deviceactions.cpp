#include "deviceactions.h"

QString DeviceAction::word() const
{
    switch (kind) {
    case Kind::Add:
        return FileInfo::willAdd;
    case Kind::Remove:
        return FileInfo::willRemove;
    case Kind::Update:
        break;
    }
    return FileInfo::willUpdate;
}

QString DeviceAction::path() const
{
    return dir + QLatin1Char('/') + (kind == Kind::Remove ? deviceFile : localFile);
}

QDebug operator<<(QDebug debug, const DeviceAction& action)
{
    const QDebugStateSaver saver(debug);
    debug.noquote().nospace() << action.word() << ' ' << action.path();
    if (action.kind == DeviceAction::Kind::Update && action.deviceFile != action.localFile)
        debug << " over " << action.deviceFile;
    return debug;
}

bool DeviceAction::operator==(const DeviceAction& other) const
{
    return kind == other.kind && dir == other.dir && localFile == other.localFile &&
           deviceFile == other.deviceFile;
}

QString deviceFolderOf(const FileInfo& info)
{
    return info.type == FileInfo::speakerType ? tuningside::speakerFolder
                                              : tuningside::amplifierFolder;
}

DeviceActionList applyActions(const BrandSeriesMap& groups, const TuningCatalog& catalog)
{
    DeviceActionList actions;
    const auto append = [&actions](const DeviceAction& action) {
        if (!actions.contains(action))
            actions.append(action);
    };
    for (const FileInfoList& group : groups) {
        const QString choice = group.first().action;
        for (const FileInfo& record : group) {
            const QString dir = deviceFolderOf(record);
            const QString remote = catalog.remoteFileCorrespondsToLocal(dir, record.file);
            const QString state = catalog.stateOf(dir, record.file);
            if (choice == FileInfo::willRemove) {
                if (state != FileInfo::notLoaded)
                    append({DeviceAction::Kind::Remove, dir, record.file, remote});
            } else if (choice == FileInfo::willAdd || choice == FileInfo::willUpdate) {
                if (state == FileInfo::notLoaded)
                    append({DeviceAction::Kind::Add, dir, record.file, QString()});
                else if (state == FileInfo::hasUpdate)
                    append({DeviceAction::Kind::Update, dir, record.file, remote});
            }
        }
    }
    return actions;
}

DeviceActionList resetActions(const std::array<QStringList, 2>& localFiles,
                              const std::array<QStringList, 2>& remoteFiles)
{
    const auto isCustom = [](const QString& file) {
        return file.section(QLatin1Char('_'), 0, 0) == TuningCatalog::custom;
    };
    DeviceActionList removals;
    DeviceActionList additions;
    for (TuningSide side : tuningside::both) {
        const int index = side == TuningSide::Speaker ? 0 : 1;
        const QString& dir = tuningside::folder(side);
        for (const QString& file : remoteFiles[index]) {
            if (!file.isEmpty() && !isCustom(file) && !localFiles[index].contains(file))
                removals.append({DeviceAction::Kind::Remove, dir, QString(), file});
        }
        for (const QString& file : localFiles[index]) {
            if (!file.isEmpty() && !isCustom(file) && !remoteFiles[index].contains(file))
                additions.append({DeviceAction::Kind::Add, dir, file, QString()});
        }
    }
    return removals + additions;
}
