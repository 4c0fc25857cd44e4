#pragma once

#include <QString>

#include <vector>

class QIODevice;

// One IIR crossover type of the catalogue, as the configuration screens list it.
struct CrossoverType
{
    int id = 0;
    int code = 0;        // the five-digit crossover code
    QString configName;  // the type's name in builder configurations and the templates file
    QString displayName; // the text shown to the user
    QString inputNames;  // channel letters joined by "+", such as "L+R"
    int inputs = 0;
    QString outputNames; // output names joined by "+"
    int outputs = 0;
    QString attributes; // JSON text of the crossover object's attributes
};

// The crossover catalogue (`CrossoverConfigurations.xml`): a `CrossoverTypes` root with one
// `CrossoverType` element per type, in file order.
class CrossoverCatalogue
{
public:
    // Replaces the types with those of the document; on a malformed document the types stay as
    // they were and `error` (when given) says where and why: "<line>:<column> : <message>".
    bool read(QIODevice& device, QString* error = nullptr);

    const std::vector<CrossoverType>& types() const { return m_types; }

private:
    std::vector<CrossoverType> m_types;
};
