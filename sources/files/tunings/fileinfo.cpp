#include "fileinfo.h"

#include <QUrl>

const QString FileInfo::speakerType = QStringLiteral("SPK");
const QString FileInfo::amplifierType = QStringLiteral("AMP");
const QString FileInfo::notLoaded = QStringLiteral("Not Loaded");
const QString FileInfo::loaded = QStringLiteral("Loaded");
const QString FileInfo::hasUpdate = QStringLiteral("Has Update");
const QString FileInfo::noChange = QStringLiteral("No Change");
const QString FileInfo::willAdd = QStringLiteral("Will Add");
const QString FileInfo::willRemove = QStringLiteral("Will Remove");
const QString FileInfo::willUpdate = QStringLiteral("Will Update");

void FileInfo::setState(const QString& word)
{
    if (word == notLoaded || word == loaded || word == hasUpdate)
        state = word;
}

bool FileInfo::setAction(const QString& word)
{
    if (word != noChange && word != willAdd && word != willRemove && word != willUpdate)
        return false;
    action = word;
    return true;
}

bool FileInfo::operator==(const FileInfo& other) const
{
    return type == other.type && brand == other.brand && series == other.series &&
           state == other.state && action == other.action && file == other.file;
}

QDebug operator<<(QDebug debug, const FileInfo& info)
{
    const QDebugStateSaver saver(debug);
    debug.noquote().nospace() << "\n=======================\n"
                              << "type: " << info.type << "\nbrand: " << info.brand
                              << "\nseries: " << info.series << "\nstate: " << info.state
                              << "\naction: " << info.action << "\nfile: " << info.file
                              << "\n=======================\n";
    return debug;
}

void registerTuningMetaTypes()
{
    qRegisterMetaType<FileInfo>();
    qRegisterMetaType<FileInfoList>();
    qRegisterMetaType<FileInfoList*>();
    qRegisterMetaType<BrandSeriesMap>();
    qRegisterMetaType<QList<QUrl>>();
}
