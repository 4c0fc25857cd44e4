// Swap of grid cells and the lists of what a cell may be swapped to.
#include "kalo480configeditor.h"

#include "jsonaccess.h"
#include "kalo480configbuilder.h"

#include <algorithm>
#include <map>
#include <stdexcept>

using jsonaccess::element;
using jsonaccess::member;
using jsonaccess::text;

namespace {

Json::Value monoFullrange()
{
    Json::Value item(Json::arrayValue);
    item.append(Kalo480ConfigEditor::Templates::Out_CrossoverIIR);
    item.append("Mono Fullrange");
    return item;
}

bool itemStartsAt(const Json::Value& config, int col, int row)
{
    try {
        Kalo480ConfigEditor::rowIdxForPath(config, col, row);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

} // namespace

bool Kalo480ConfigEditor::swap(Json::Value& config, const std::string& templateName,
                               const std::string& secondary, int col, int row)
{
    if (templateName.empty()) {
        unlink(config, col, row, false);
        itemAtPath(config, col, row) = Json::Value();
        return true;
    }
    // Column 8 takes a typed crossover only through the crossover swap, even into an empty cell,
    // so that the rows it covers stay within the column.
    if (col == 8) {
        const std::string type =
            secondary.empty() ? crossoverTypeForSwap(config, templateName, row) : secondary;
        if (type.empty())
            return false;
        if (secondary.empty() && templateName == itemTypeAtPath(config, 8, row) &&
            type == itemSecondaryTypeAtPath(config, 8, row))
            return true;
        return crossoverSwap(config, templateName, type, row);
    }
    Json::Value& item = itemAtPath(config, col, row);
    if (item.isNull()) {
        item = Json::Value(Json::arrayValue);
        item.append(templateName);
        if (col != 1 && col != 5) {
            if (secondary.empty())
                item.append(1);
            else
                item.append(secondary);
        }
        return true;
    }
    if (!item.isArray() || item.empty())
        throw std::runtime_error("bad item at path");
    item[0] = templateName;
    return true;
}

// Works on a copy and commits only a complete swap, so a refused or failed swap changes nothing.
bool Kalo480ConfigEditor::crossoverSwap(Json::Value& config, const std::string& templateName,
                                        const std::string& secondary, int row)
{
    const Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    Json::Value work = config;
    Json::Value& first = itemAtPath(work, 8, row);
    if (first.isNull())
        first = monoFullrange();
    int oldInputs = 0;
    int oldOutputs = 0;
    builder->crossoverInfo(first, oldInputs, oldOutputs);
    int inputs = 0;
    int outputs = 0;
    builder->crossoverInfo(templateName, secondary, inputs, outputs);
    if (outputs + row > 7)
        return false;

    int reach = 0;
    for (int i = 0; i < std::max({outputs, oldOutputs, reach}); ++i) {
        const int r = row + i;
        if (r > Kalo480ConfigBuilder::maxColumnRows)
            return false;
        restoreOrEmptyMidCells(work, r, i >= outputs || i < inputs);
        Json::Value& cell = itemAtPath(work, 8, r);
        if (cell.isNull())
            cell = monoFullrange();
        int cellInputs = 0;
        int cellOutputs = 0;
        builder->crossoverInfo(cell, cellInputs, cellOutputs);
        crossoverUnlink(work, r);
        unlink(work, 6, r, false);
        reach = std::max(reach, i + cellOutputs);
    }
    if (outputs > 0) {
        if (!crossoverLink(work, row, outputs))
            return false;
        Json::Value& item = itemAtPath(work, 8, row);
        item[0] = templateName;
        item[1] = secondary;
    }
    if (inputs >= 2 && !link(work, 6, row, inputs, false))
        return false;
    if (templateName == Templates::Out_CrossoverIIR) {
        if (outputs < 2) {
            outputsSetOutputName(work, row, getDefaultOutputName(row));
        } else {
            for (int k = 1; k <= outputs; ++k)
                outputsSetOutputName(work, row + k - 1,
                                     getRecommendedCrossoverOutputName(templateName, secondary, k));
        }
    }
    config = std::move(work);
    return true;
}

// A swap that names no type keeps the cell's type when the new kind has it, and otherwise takes
// the kind's first type that fits from the row; "" when none does.
std::string Kalo480ConfigEditor::crossoverTypeForSwap(const Json::Value& config,
                                                      const std::string& templateName, int row)
{
    const std::string current = itemSecondaryTypeAtPath(config, 8, row);
    if (!current.empty() && member(crossoverTypeTable(templateName), current).isArray())
        return current;
    std::vector<std::string> types;
    swapOptionsForCrossover(config, templateName, 8, row, types);
    return types.empty() ? std::string() : types.front();
}

bool Kalo480ConfigEditor::crossoverFitsAt(const Json::Value& config,
                                          const std::string& templateName, int row)
{
    std::vector<std::string> types;
    return swapOptionsForCrossover(config, templateName, 8, row, types) && !types.empty();
}

// Rows that feed a crossover input (or lie past the new crossover) keep a mid mixer, AutoEQ
// and mid insert; rows that only carry further crossover outputs have none.
void Kalo480ConfigEditor::restoreOrEmptyMidCells(Json::Value& config, int row, bool keep)
{
    for (int col : {5, 6, 7}) {
        if (!keep) {
            swap(config, std::string(), std::string(), col, row);
            continue;
        }
        if (!itemStartsAt(config, col, row) || !itemAtPath(config, col, row).isNull())
            continue;
        const std::string columnName = text(element(colAtPath(config, col), 0));
        const std::string filler =
            col == 5 ? std::string(Templates::Mid_Mixer_ABC)
                     : text(element(member(member(templates(), ".slots"), columnName), 0));
        if (!filler.empty())
            swap(config, filler, std::string(), col, row);
    }
}

bool Kalo480ConfigEditor::swapOptions(const Json::Value& config, int col, int row,
                                      std::vector<std::string>& out)
{
    if (col < 0)
        return false;
    const std::string columnName = text(element(colAtPath(config, col), 0));
    const Json::Value& allowed = member(member(templates(), ".slots"), columnName);
    std::vector<std::string> used;
    if (col == 3 || col == 4) {
        const int other = col == 3 ? 4 : 3;
        const int height =
            Kalo480ConfigBuilder::instance()->itemHeight(itemAtPath(config, col, row));
        int start = row;
        while (start > 1 && !itemStartsAt(config, other, start))
            --start;
        for (int r = start; r < row + std::max(height, 1); ++r)
            used.push_back(itemTypeAtPath(config, other, r));
    }
    out.clear();
    for (const Json::Value& option : allowed) {
        const std::string name = text(option);
        if (!option.isString() || std::find(used.begin(), used.end(), name) != used.end())
            continue;
        // A crossover kind without a type that fits here could never be chosen.
        if (col == 8 && !crossoverFitsAt(config, name, row))
            continue;
        out.push_back(name);
    }
    return true;
}

void Kalo480ConfigEditor::displayNamesForSwapOptions(std::vector<std::string>& names,
                                                     const std::vector<std::string>& options)
{
    names.clear();
    for (const std::string& option : options) {
        const std::string name = buildItemName("long", member(templates(), option));
        names.push_back(name.empty() ? option : name);
    }
}

bool Kalo480ConfigEditor::swapOptionsForCrossover(const Json::Value& config,
                                                  const std::string& templateName, int col, int row,
                                                  std::vector<std::string>& out)
{
    out.clear();
    if (col != 8 || row < 1 || row > Kalo480ConfigBuilder::maxColumnRows ||
        !itemStartsAt(config, col, row))
        return false;
    try {
        const Json::Value& table = crossoverTypeTable(templateName);
        if (!table.isObject())
            return false;
        const bool sortedByName = templateName == Templates::Out_CrossoverIIR ||
                                  templateName == Templates::Out_CrossoverQX8;
        std::map<int, std::string> kept;
        int running = 0;
        for (const std::string& type : table.getMemberNames()) {
            int inputs = 0;
            int outputs = 0;
            Kalo480ConfigBuilder::instance()->crossoverInfo(templateName, type, inputs, outputs);
            if (outputs > 7 - row)
                continue;
            kept[sortedByName ? getCrossoverSortIndex(templateName, type) : ++running] = type;
        }
        for (const auto& entry : kept)
            out.push_back(entry.second);
        return true;
    } catch (const std::exception&) {
        out.clear();
        return false;
    }
}

void Kalo480ConfigEditor::displayNamesForSwapOptionsForCrossover(
    const std::string& templateName, std::vector<std::string>& names,
    const std::vector<std::string>& options)
{
    names.clear();
    for (const std::string& option : options) {
        if (templateName != Templates::Out_CrossoverIIR) {
            names.push_back(option);
            continue;
        }
        Json::Value key;
        crossoverNamesKey(templateName, option, key);
        names.push_back(getCrossoverName(key, false));
    }
}
