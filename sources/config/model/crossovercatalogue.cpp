#include "crossovercatalogue.h"

#include <QXmlStreamReader>

namespace {

CrossoverType readType(QXmlStreamReader& xml)
{
    CrossoverType type;
    type.id = xml.attributes().value(QLatin1String("id")).trimmed().toInt();
    type.code = xml.attributes().value(QLatin1String("code")).trimmed().toInt();
    while (xml.readNextStartElement()) {
        const QStringRef name = xml.name();
        if (name == QLatin1String("configName")) {
            type.configName = xml.readElementText();
        } else if (name == QLatin1String("DisplayName")) {
            type.displayName = xml.readElementText();
        } else if (name == QLatin1String("Inputs")) {
            type.inputNames = xml.attributes().value(QLatin1String("name")).toString();
            type.inputs = xml.readElementText().trimmed().toInt();
        } else if (name == QLatin1String("Outputs")) {
            type.outputNames = xml.attributes().value(QLatin1String("name")).toString();
            type.outputs = xml.readElementText().trimmed().toInt();
        } else if (name == QLatin1String("poAttributes")) {
            type.attributes = xml.readElementText();
        } else {
            xml.skipCurrentElement();
        }
    }
    return type;
}

} // namespace

bool CrossoverCatalogue::read(QIODevice& device, QString* error)
{
    std::vector<CrossoverType> types;
    QXmlStreamReader xml(&device);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("CrossoverTypes")) {
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("CrossoverType"))
                types.push_back(readType(xml));
            else
                xml.skipCurrentElement();
        }
    } else if (!xml.hasError()) {
        xml.raiseError(QStringLiteral("the document is no CrossoverTypes list"));
    }
    if (xml.hasError()) {
        if (error)
            *error = QStringLiteral("%1:%2 : %3")
                         .arg(xml.lineNumber())
                         .arg(xml.columnNumber())
                         .arg(xml.errorString());
        return false;
    }
    m_types = std::move(types);
    return true;
}
