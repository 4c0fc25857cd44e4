#include "qx8enumsv.h"

#include "tcpadaptor.h"

namespace {
// Devices differ in whether they echo the request's closing backslash.
QString withoutClosingBackslash(QString path)
{
    if (path.endsWith(QLatin1Char('\\')) && !path.endsWith(QLatin1String("\\\\")))
        path.chop(1);
    return path;
}
} // namespace

QX8EnumSV::QX8EnumSV(QObject* parent) : QX8TextSV(parent)
{
    connect(TCPAdaptor::instance(), &TCPAdaptor::enumsAvailable, this, &QX8EnumSV::onEnumsReceived,
            Qt::UniqueConnection);
}

void QX8EnumSV::setEnums(const QStringList& enums)
{
    if (enums == m_enums)
        return;
    m_enums = enums;
    Q_EMIT enumsChanged();
}

void QX8EnumSV::requestEnums()
{
    subscribe();
}

void QX8EnumSV::sendDataRequest()
{
    if (!hasNames() || !TCPAdaptor::instance()->Ready())
        return;
    m_enumerationPath = poName() == QLatin1String("NPO")
                            ? QStringLiteral("\\\\") + svName() + QStringLiteral("\\EN")
                            : QStringLiteral("\\\\Preset\\") + poName() + QStringLiteral("\\SV\\") +
                                  svName() + QStringLiteral("\\EN");
    TCPAdaptor::instance()->SendRequest(
        {poName(), svName() + QStringLiteral("\\EN"), QString(), QString(), QStringLiteral("lc")});
    sendSubscription(QStringLiteral("sub"), QString());
}

void QX8EnumSV::onEnumsReceived(QStringList enums, QString svPath)
{
    if (m_enumerationPath.isEmpty() || withoutClosingBackslash(svPath) != m_enumerationPath)
        return;
    setEnums(enums);
}
