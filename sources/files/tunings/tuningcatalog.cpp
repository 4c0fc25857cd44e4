#include "tuningcatalog.h"

#include "tuningname.h"

namespace tuningside {

const QString speakerFolder = QStringLiteral("/SpeakerTunings");
const QString amplifierFolder = QStringLiteral("/AmplifierData");

TuningSide fromFolder(const QString& dir)
{
    return dir == speakerFolder ? TuningSide::Speaker : TuningSide::Amplifier;
}

const QString& folder(TuningSide side)
{
    return side == TuningSide::Speaker ? speakerFolder : amplifierFolder;
}

} // namespace tuningside

const QString TuningCatalog::showAll = QStringLiteral("Show All");
const QString TuningCatalog::custom = QStringLiteral("Custom");

void TuningCatalog::setLocalFiles(TuningSide side, const QStringList& files)
{
    NameIndex& names = m_local[index(side)];
    names.clear();
    for (const QString& file : files) {
        QString& kept = names[tuningname::fileName(file)];
        if (kept.isEmpty() || tuningname::isEarlier(kept, file))
            kept = file;
    }
}

void TuningCatalog::setRemoteFiles(TuningSide side, const QStringList& files)
{
    NameIndex& names = m_remote[index(side)];
    names.clear();
    for (const QString& file : files) {
        const QString name = tuningname::fileName(file);
        if (!names.contains(name))
            names.insert(name, file);
    }
}

void TuningCatalog::clearRemote()
{
    for (NameIndex& names : m_remote)
        names.clear();
}

QString TuningCatalog::remoteFileCorrespondsToLocal(const QString& dir,
                                                    const QString& localFile) const
{
    return m_remote[index(tuningside::fromFolder(dir))].value(tuningname::fileName(localFile));
}

QString TuningCatalog::localFileCorrespondsToRemote(const QString& dir,
                                                    const QString& remoteFile) const
{
    return m_local[index(tuningside::fromFolder(dir))].value(tuningname::fileName(remoteFile));
}

QString TuningCatalog::stateOf(const QString& dir, const QString& localFile) const
{
    const QString remote = remoteFileCorrespondsToLocal(dir, localFile);
    if (remote.isEmpty())
        return FileInfo::notLoaded;
    return tuningname::isEarlier(remote, localFile) ? FileInfo::hasUpdate : FileInfo::loaded;
}

FileInfo TuningCatalog::getFileInfo(const QString& dir, const QString& localFile,
                                    QStringList& brands) const
{
    FileInfo info;
    info.file = localFile;
    info.type = tuningside::fromFolder(dir) == TuningSide::Speaker ? FileInfo::speakerType
                                                                   : FileInfo::amplifierType;
    info.state = stateOf(dir, localFile);

    const QStringList fields = localFile.split(QLatin1Char('_'));
    info.brand = fields.value(0);
    info.series = fields.value(1);
    if (info.brand != custom && !brands.contains(info.brand))
        brands.append(info.brand);
    return info;
}

BrandSeriesMap TuningCatalog::groupRecords(const QStringList& speakerFiles,
                                           const QStringList& amplifierFiles, QStringList& brands,
                                           const std::function<void()>& step) const
{
    BrandSeriesMap groups;
    for (TuningSide side : tuningside::both) {
        QStringList files = side == TuningSide::Speaker ? speakerFiles : amplifierFiles;
        files.sort(Qt::CaseInsensitive);
        for (const QString& file : files) {
            const FileInfo info = getFileInfo(tuningside::folder(side), file, brands);
            if (info.brand != custom)
                groups[{info.brand.toUpper(), info.series.toUpper()}].append(info);
            step();
        }
    }
    return groups;
}

void TuningCatalog::orderBrands(QStringList& brands)
{
    brands.sort(Qt::CaseInsensitive);
    const auto moveTo = [&brands](const QString& brand, int position) {
        const int at = brands.indexOf(brand);
        if (at > position)
            brands.move(at, position);
    };
    moveTo(showAll, 0);
    moveTo(QStringLiteral("Wuvo"), 1);
    moveTo(QStringLiteral("Morla"), 2);
}
