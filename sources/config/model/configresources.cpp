#include "configresources.h"

#include "jsontext.h"
#include "kalo480configbuilder.h"

#include <QFile>
#include <QStringList>

// Linked from a static library, the resources register only when something refers to them.
// Outside any namespace, as Q_INIT_RESOURCE declares the registration function where it stands.
static void registerResources()
{
    Q_INIT_RESOURCE(configresources);
}

namespace {

CrossoverCatalogue& sharedCatalogue()
{
    static CrossoverCatalogue catalogue;
    return catalogue;
}

// Each answers an empty text when loaded, else the reason.
QString loadTemplates()
{
    QFile file(QLatin1String(ConfigResources::kTemplatesPath));
    if (!file.open(QIODevice::ReadOnly))
        return file.fileName() + QStringLiteral(": ") + file.errorString();
    std::string parseError;
    const Json::Value templates = jsontext::parse(file.readAll().toStdString(), &parseError);
    if (!templates.isObject())
        return file.fileName() + QStringLiteral(": not a JSON object ") +
               QString::fromStdString(parseError).trimmed();
    Kalo480ConfigBuilder::instance()->setTemplates(templates);
    return QString();
}

QString loadCatalogue()
{
    QFile file(QLatin1String(ConfigResources::kCataloguePath));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("error opening ") + file.fileName() + QStringLiteral(" : ") +
               file.errorString();
    QString parseError;
    if (!sharedCatalogue().read(file, &parseError))
        return QStringLiteral("error in ") + file.fileName() + QLatin1Char(' ') + parseError;
    return QString();
}

} // namespace

bool ConfigResources::load(QString* error)
{
    registerResources();
    QStringList failures;
    for (const QString& failure : {loadTemplates(), loadCatalogue()}) {
        if (!failure.isEmpty())
            failures << failure;
    }
    if (error)
        *error = failures.join(QStringLiteral("; "));
    return failures.isEmpty();
}

const CrossoverCatalogue& ConfigResources::catalogue()
{
    return sharedCatalogue();
}
