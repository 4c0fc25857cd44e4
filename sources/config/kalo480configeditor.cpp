// Grid lookups, link and unlink.
#include "kalo480configeditor.h"

#include "jsonaccess.h"
#include "kalo480configbuilder.h"

#include <stdexcept>

using jsonaccess::element;
using jsonaccess::member;
using jsonaccess::text;

namespace {

const char* const noColumns = "columns is not an array";
const char* const noItem = "no item found at path";
const char* const badItem = "bad item at path";

// The items that a link from one item over `count` rows would take.
struct LinkWalk
{
    bool reachesCount = false;
    bool templatesDiffer = false;
    int taken = 0;
    int rows = 0;
};

LinkWalk walkForLink(const Json::Value& column, int index, int count)
{
    LinkWalk walk;
    const std::string first = text(element(element(column, index), 0));
    const Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    for (int i = index; i < jsonaccess::size(column) && walk.rows < count; ++i) {
        const Json::Value& item = column[i];
        const int height = builder->itemHeight(item);
        if (item.isNull() || height < 1)
            return LinkWalk();
        if (text(element(item, 0)) != first)
            walk.templatesDiffer = true;
        walk.rows += height;
        ++walk.taken;
    }
    walk.reachesCount = walk.rows >= count;
    return walk;
}

bool unlinkRefused(int col)
{
    return col == 0 || col == 1 || col == 5 || col == 6 || col == 8 || col == 14;
}

// The row where the item covering `row` starts. Only the items down to that one are read, so a
// malformed item further down cannot redirect an edit to the item above it.
int startOfItemCovering(const Json::Value& config, int col, int row)
{
    const Json::Value& column = Kalo480ConfigEditor::colAtPath(config, col);
    const Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    int start = 1;
    for (int index = 1; index < jsonaccess::size(column) && row >= start; ++index) {
        const int height = builder->itemHeight(column[index]);
        if (height < 1)
            throw std::runtime_error(badItem);
        if (row < start + height)
            return start;
        start += height;
    }
    throw std::runtime_error(noItem);
}

} // namespace

const Json::Value& Kalo480ConfigEditor::templates()
{
    return Kalo480ConfigBuilder::instance()->templates();
}

int Kalo480ConfigEditor::rowLimit(int col)
{
    return col >= 1 && col <= 4 ? 4 : 7;
}

// Mixers and routers fill one row each, so a plain link in those columns would lose rows.
bool Kalo480ConfigEditor::linkColumnRefused(int col)
{
    return col == 0 || col == 1 || col == 5 || col == 14;
}

int Kalo480ConfigEditor::rowIdxForPath(const Json::Value& config, int col, int row)
{
    const Json::Value& columns = member(config, "Columns");
    if (!columns.isArray())
        throw std::runtime_error(noColumns);
    if (col < 0 || col >= jsonaccess::size(columns) || row < 1)
        throw std::runtime_error(noItem);
    const Json::Value& column = columns[col];
    const int count = jsonaccess::size(column);
    const Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    int index = 1;
    int reached = 1;
    while (reached < row && index < count) {
        const int height = builder->itemHeight(column[index]);
        if (height < 1)
            throw std::runtime_error(badItem);
        reached += height;
        ++index;
    }
    if (reached != row || index >= count)
        throw std::runtime_error(noItem);
    return index;
}

int Kalo480ConfigEditor::rowIDForColIDRowIdx(const Json::Value& config, int col, int index)
{
    if (index < 2)
        return 1;
    const Json::Value& column = colAtPath(config, col);
    if (index > jsonaccess::size(column))
        throw std::runtime_error(noItem);
    const Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    int row = 1;
    for (int i = 1; i < index; ++i) {
        const int height = builder->itemHeight(column[i]);
        if (height < 1)
            throw std::runtime_error(badItem);
        row += height;
    }
    return row;
}

const Json::Value& Kalo480ConfigEditor::colAtPath(const Json::Value& config, int col)
{
    const Json::Value& columns = member(config, "Columns");
    if (!columns.isArray())
        throw std::runtime_error(noColumns);
    if (col < 0 || col >= jsonaccess::size(columns))
        throw std::runtime_error(noItem);
    return columns[col];
}

Json::Value& Kalo480ConfigEditor::colAtPath(Json::Value& config, int col)
{
    colAtPath(static_cast<const Json::Value&>(config), col);
    return config["Columns"][col];
}

const Json::Value& Kalo480ConfigEditor::itemAtPath(const Json::Value& config, int col, int row)
{
    return colAtPath(config, col)[rowIdxForPath(config, col, row)];
}

Json::Value& Kalo480ConfigEditor::itemAtPath(Json::Value& config, int col, int row)
{
    const int index = rowIdxForPath(config, col, row);
    return colAtPath(config, col)[index];
}

std::string Kalo480ConfigEditor::itemTypeAtPath(const Json::Value& config, int col, int row)
{
    try {
        return text(element(itemAtPath(config, col, row), 0));
    } catch (const std::exception&) {
        return std::string();
    }
}

std::string Kalo480ConfigEditor::itemSecondaryTypeAtPath(const Json::Value& config, int col,
                                                         int row)
{
    if (col != 8)
        return std::string();
    try {
        return text(element(itemAtPath(config, col, row), 1));
    } catch (const std::exception&) {
        return std::string();
    }
}

bool Kalo480ConfigEditor::linkTest(const Json::Value& config, int col, int row, int count)
{
    if (unlinkRefused(col) || row < 1 || count < 1 || row + count > rowLimit(col))
        return false;
    try {
        const LinkWalk walk =
            walkForLink(colAtPath(config, col), rowIdxForPath(config, col, row), count);
        return walk.reachesCount && (col == 9 || !walk.templatesDiffer);
    } catch (const std::exception&) {
        return false;
    }
}

bool Kalo480ConfigEditor::unlinkTest(const Json::Value& config, int col, int row, int* height)
{
    if (height)
        *height = 0;
    if (unlinkRefused(col))
        return false;
    try {
        const int rows = Kalo480ConfigBuilder::instance()->itemHeight(itemAtPath(config, col, row));
        if (height)
            *height = rows;
        return rows > 1;
    } catch (const std::exception&) {
        if (height)
            *height = 0;
        return false;
    }
}

bool Kalo480ConfigEditor::link(Json::Value& config, int col, int row, int count, bool lockAutoEQ)
{
    if (count < 1 || (col == 6 && lockAutoEQ) || linkColumnRefused(col))
        return false;
    if (col == 8)
        return linkCrossovers(config, row, count);
    if (row < 1 || row + count > rowLimit(col))
        return false;
    try {
        const int index = rowIdxForPath(config, col, row);
        Json::Value& column = colAtPath(config, col);
        Json::Value merged = column[index];
        if (!merged.isArray() || merged.empty())
            return false;
        merged[1] = count;
        const LinkWalk walk = walkForLink(column, index, count);
        if (!walk.reachesCount)
            return false;
        if (col == 9)
            merged[0] = Templates::Out_PEQ_Morla;
        else if (walk.templatesDiffer)
            return false;
        if (walk.rows > count) {
            // The last item reaches past the span: split it and try again.
            const int lastRow = rowIDForColIDRowIdx(config, col, index + walk.taken - 1);
            if (!unlink(config, col, lastRow, lockAutoEQ))
                return false;
            return link(config, col, row, count, lockAutoEQ);
        }
        Json::Value removed;
        for (int k = 1; k < walk.taken; ++k)
            column.removeIndex(static_cast<Json::ArrayIndex>(index + 1), &removed);
        column[index] = merged;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool Kalo480ConfigEditor::unlink(Json::Value& config, int col, int row, bool lockAutoEQ)
{
    if (col == 6 && lockAutoEQ)
        return false;
    try {
        // Any row of a merged item splits it.
        return splitAt(config, col, startOfItemCovering(config, col, row), lockAutoEQ);
    } catch (const std::exception&) {
        return false;
    }
}

bool Kalo480ConfigEditor::splitAt(Json::Value& config, int col, int row, bool lockAutoEQ)
{
    if (col == 6 && lockAutoEQ)
        return false;
    if (col == 8)
        return crossoverUnlink(config, row);
    const int index = rowIdxForPath(config, col, row);
    Json::Value& column = colAtPath(config, col);
    const int height = Kalo480ConfigBuilder::instance()->itemHeight(column[index]);
    if (height < 2)
        return false;
    Json::Value single = column[index];
    single[1] = 1;
    if (col == 9)
        single[0] = Templates::Out_PEQ_Morla;
    column[index] = single;
    for (int k = 1; k < height; ++k)
        column.insert(static_cast<Json::ArrayIndex>(index + k), single);
    return true;
}

bool Kalo480ConfigEditor::crossoverUnlink(Json::Value& config, int row)
{
    const int index = rowIdxForPath(config, 8, row);
    Json::Value& column = colAtPath(config, 8);
    int inputs = 0;
    int outputs = 0;
    Kalo480ConfigBuilder::instance()->crossoverInfo(column[index], inputs, outputs);
    if (outputs < 2)
        return false;
    Json::Value single(Json::arrayValue);
    single.append(Templates::Out_CrossoverIIR);
    single.append("Mono Fullrange");
    column[index] = single;
    for (int k = 1; k < outputs; ++k)
        column.insert(static_cast<Json::ArrayIndex>(index + k), single);
    for (int output = row; output < row + outputs; ++output)
        outputsSetOutputName(config, output, getDefaultOutputName(output));
    return true;
}

// A crossover covers one row per output, and every crossover item names its type: linking
// crossovers over `count` rows makes one crossover of the first item's kind with that many
// outputs, the first such type in the order the crossover list offers them.
bool Kalo480ConfigEditor::linkCrossovers(Json::Value& config, int row, int count)
{
    try {
        const Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
        const Json::Value& first = itemAtPath(config, 8, row);
        const std::string templateName = text(element(first, 0));
        int inputs = 0;
        int outputs = 0;
        builder->crossoverInfo(first, inputs, outputs);
        if (outputs == count)
            return true;
        std::vector<std::string> types;
        swapOptionsForCrossover(config, templateName, 8, row, types);
        for (const std::string& type : types) {
            builder->crossoverInfo(templateName, type, inputs, outputs);
            if (outputs == count)
                return crossoverSwap(config, templateName, type, row);
        }
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

bool Kalo480ConfigEditor::crossoverLink(Json::Value& config, int row, int count)
{
    try {
        const int index = rowIdxForPath(config, 8, row);
        Json::Value& column = colAtPath(config, 8);
        Json::Value merged = column[index];
        if (!merged.isArray() || merged.empty())
            return false;
        merged[1] = count;
        const Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
        int outputs = 0;
        int taken = 0;
        for (int i = index; i < jsonaccess::size(column) && outputs < count; ++i, ++taken) {
            int itemInputs = 0;
            int itemOutputs = 0;
            builder->crossoverInfo(column[i], itemInputs, itemOutputs);
            outputs += itemOutputs;
        }
        // Only whole crossovers are merged; a span ending inside one would lose rows.
        if (outputs != count)
            return false;
        Json::Value removed;
        for (int k = 1; k < taken; ++k)
            column.removeIndex(static_cast<Json::ArrayIndex>(index + 1), &removed);
        column[index] = merged;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
