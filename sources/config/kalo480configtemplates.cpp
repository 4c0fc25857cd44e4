#include "kalo480configtemplates.h"

#include "jsonaccess.h"
#include "kalo480configbuilder.h"

#include <initializer_list>
#include <stdexcept>

using jsonaccess::element;
using jsonaccess::member;
using jsonaccess::text;

namespace {

const Json::Value& templates()
{
    return Kalo480ConfigBuilder::instance()->templates();
}

int wordValue(const Json::Value& word, std::initializer_list<const char*> words, int first)
{
    if (!word.isString())
        return -1;
    int value = first;
    for (const char* candidate : words) {
        if (word.asString() == candidate)
            return value;
        ++value;
    }
    return -1;
}

// "<prefix>" followed by exactly one digit in [low, high].
int countWord(const Json::Value& word, const std::string& prefix, int low, int high)
{
    const std::string value = text(word);
    if (value.size() != prefix.size() + 1 || value.compare(0, prefix.size(), prefix) != 0)
        return -1;
    const int digit = value.back() - '0';
    return digit >= low && digit <= high ? digit : -1;
}

} // namespace

const Json::Value& Kalo480ConfigTemplates::crossoverTypeTable(const std::string& templateName)
{
    if (templateName == Templates::Out_CrossoverQX8)
        return member(templates(), ".crossoverQX8Types");
    if (templateName == Templates::Out_CrossoverIIR)
        return member(templates(), ".crossoverIIRTypes");
    if (templateName == Templates::Out_CrossoverFIR)
        return member(templates(), ".crossoverFIRTypes");
    throw std::runtime_error("unsupported crossoverType");
}

int Kalo480ConfigTemplates::getCrossoverCode(const std::string& templateName,
                                             const std::string& type)
{
    const Json::Value& entry = member(crossoverTypeTable(templateName), type);
    if (!entry.isArray())
        throw std::runtime_error("unsupported crossoverSecondaryType");
    const int m = wordValue(element(entry, 0), {"Mono", "Stereo", "LCR"}, 1);
    const int n = countWord(element(entry, 1), "Mains=", 1, 6);
    const int w =
        wordValue(element(entry, 2), {"Fullrange", "2-Way", "3-Way", "4-Way", "5-Way", "6-Way"}, 1);
    const int f = wordValue(element(entry, 3), {"None", "Mono", "Stereo", "LCR", "Aux Fed"}, 0);
    const int s = countWord(element(entry, 4), "Subs=", 0, 3);
    if (m < 0 || n < 0 || w < 0 || f < 0 || s < 0)
        return 0;
    return m * 10000 + n * 1000 + w * 100 + f * 10 + s;
}
