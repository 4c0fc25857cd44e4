#include "configfixture.h"

#include "kalo480configbuilder.h"
#include "kalo480configeditor.h"
#include "testharness.h"

#include <QFile>

#include <stdexcept>

namespace configfixture {

QString templatesPath()
{
    return qx8test::sourceDir() + "/json/SDKs/Keldaran2/Extensions/yoxl/Objects/Kalo480/"
                                  "Kalo480ConfigBuilderTemplates.json";
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
                                                                : jsontext::compact(part));
            items << (column[row].isNull() ? QString("-") : parts.join('/'));
        }
        texts << items.join(", ");
    }
    return texts.join(" | ");
}

bool loadTemplates()
{
    QFile file(templatesPath());
    const Json::Value templates = file.open(QIODevice::ReadOnly)
                                      ? jsontext::parse(file.readAll().toStdString())
                                      : Json::Value();
    if (!templates.isObject())
        return false;
    Kalo480ConfigBuilder::instance()->setTemplates(templates);
    return true;
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
