#include "processingobjectlist.h"

#include "tcpadaptor.h"

namespace {
const QString kPresetPath = QStringLiteral("\\\\Preset");
// An item of the list is the object's name and " : ".
const QString kItemEnd = QStringLiteral(" : ");
} // namespace

ProcessingObjectList::ProcessingObjectList(QObject* parent) : QObject(parent)
{
    TCPAdaptor* link = TCPAdaptor::instance();
    connect(link, &TCPAdaptor::poAvailable, this, &ProcessingObjectList::onListed);
    connect(link, &TCPAdaptor::vimbalReady, this, &ProcessingObjectList::request);
    request();
}

// A page left before the list came takes back its request.
ProcessingObjectList::~ProcessingObjectList()
{
    TCPAdaptor::instance()->requests().cancel(this);
}

void ProcessingObjectList::request()
{
    TCPAdaptor* link = TCPAdaptor::instance();
    if (link->Ready())
        link->SendRequest({QStringLiteral("NPO"), QStringLiteral("Preset"), QString(), QString(),
                           QStringLiteral("ls")},
                          this);
}

// Other lists (of other paths, asked for by others) pass by.
void ProcessingObjectList::onListed(const QStringList& items, const QString& path)
{
    QString listPath = path;
    while (listPath.endsWith(QLatin1Char('\\')))
        listPath.chop(1);
    if (listPath != kPresetPath)
        return;
    QStringList names;
    for (const QString& item : items) {
        const int end = item.indexOf(kItemEnd);
        names.append(end < 0 ? item.trimmed() : item.left(end));
    }
    if (m_listed && names == m_names)
        return;
    m_names = names;
    m_listed = true;
    Q_EMIT namesChanged();
}
