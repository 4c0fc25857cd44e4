#include "configfixture.h"

#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"
#include "testharness.h"

#include <json/reader.h>
#include <json/writer.h>

#include <QFile>
#include <QXmlStreamReader>

#include <memory>
#include <stdexcept>

namespace configfixture {

QString templatesPath()
{
    return qx8test::sourceDir() + "/json/SDKs/Keldaran2/Extensions/yoxl/Objects/Kalo480/"
                                  "Kalo480ConfigBuilderTemplates.json";
}

QString cataloguePath()
{
    return qx8test::sourceDir() + "/xml/CrossoverConfigurations.xml";
}

Json::Value parseJson(const std::string& text)
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &value, &errors))
        return Json::Value();
    return value;
}

std::string compactJson(const Json::Value& value)
{
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    return Json::writeString(writer, value);
}

QString columnsText(const Json::Value& config, const std::vector<int>& columns)
{
    QStringList texts;
    for (int col : columns) {
        QStringList items;
        const Json::Value& column = config["Columns"][col];
        for (Json::ArrayIndex row = 1; row < column.size(); ++row) {
            QStringList parts;
            for (const Json::Value& part : column[row])
                parts << QString::fromStdString(part.isString() ? part.asString()
                                                                : compactJson(part));
            items << (column[row].isNull() ? QString("-") : parts.join('/'));
        }
        texts << items.join(", ");
    }
    return texts.join(" | ");
}

bool loadTemplates()
{
    QFile file(templatesPath());
    const Json::Value templates =
        file.open(QIODevice::ReadOnly) ? parseJson(file.readAll().toStdString()) : Json::Value();
    if (!templates.isObject())
        return false;
    Kalo480ConfigBuilder::instance()->setTemplates(templates);
    return true;
}

std::vector<CatalogueEntry> readCatalogue(const QString& path)
{
    std::vector<CatalogueEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    CatalogueEntry entry;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("CrossoverType")) {
            entry = CatalogueEntry();
            entry.id = xml.attributes().value("id").trimmed().toInt();
            entry.code = xml.attributes().value("code").toInt();
        } else if (name == QLatin1String("configName")) {
            entry.configName = xml.readElementText().toStdString();
        } else if (name == QLatin1String("DisplayName")) {
            entry.displayName = xml.readElementText().toStdString();
        } else if (name == QLatin1String("Inputs")) {
            entry.inputNames = xml.attributes().value("name").toString().toStdString();
            entry.inputs = xml.readElementText().toInt();
        } else if (name == QLatin1String("Outputs")) {
            entry.outputNames = xml.attributes().value("name").toString().toStdString();
            entry.outputs = xml.readElementText().toInt();
        } else if (name == QLatin1String("poAttributes")) {
            xml.readElementText();
            entries.push_back(entry);
        }
    }
    if (xml.hasError()) {
        qWarning("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
        entries.clear();
    }
    return entries;
}

Json::Value defaultConfig()
{
    return Kalo480ConfigBuilder::instance()->getDefault();
}

Json::Value configWithCrossover(const std::string& typeName)
{
    Json::Value config = defaultConfig();
    if (!Kalo480ConfigEditor::swap(config, "Out_CrossoverIIR", typeName, 8, 1))
        return Json::Value();
    return config;
}

Json::Value templatesWith(const Change& change)
{
    Json::Value templates = Kalo480ConfigBuilder::instance()->templates();
    change(templates);
    return templates;
}

TemplatesOverride::TemplatesOverride(const Json::Value& templates)
    : m_saved(Kalo480ConfigBuilder::instance()->templates())
{
    Kalo480ConfigBuilder::instance()->setTemplates(templates);
}

TemplatesOverride::~TemplatesOverride()
{
    Kalo480ConfigBuilder::instance()->setTemplates(m_saved);
}

Json::Value build(const Json::Value& builderConfig, std::string* error)
{
    Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    Json::Value result;
    if (!builder->buildConfig(result, builderConfig) && error)
        *error = builder->errorText() + " " + builder->validationLog();
    return result;
}

std::string thrownBy(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "nothing thrown";
}

} // namespace configfixture
