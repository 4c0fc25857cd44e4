// Random edits, the property-test tool for editor and builder together.
#include "kalo480configeditor.h"

#include "jsonaccess.h"
#include "kalo480configbuilder.h"

#include <cstdlib>
#include <iterator>

namespace {

struct Edit
{
    enum Kind { Link, Swap } kind;
    int count;
    std::string templateName;
    std::string secondary;
};

const int editableColumns[] = {1, 2, 3, 4, 5, 7, 8, 9, 12, 13};

} // namespace

void Kalo480ConfigEditor::mutate(Json::Value& config, int n)
{
    const Kalo480ConfigBuilder* builder = Kalo480ConfigBuilder::instance();
    for (int round = 0; round < n; ++round) {
        const int col = editableColumns[std::rand() % std::size(editableColumns)];
        const Json::Value& column = colAtPath(config, col);
        const int items = jsonaccess::size(column) - 1;
        if (items < 1)
            continue;
        const int index = 1 + std::rand() % items;
        const int row = rowIDForColIDRowIdx(config, col, index);
        const int height = builder->itemHeight(column[index]);

        std::vector<Edit> edits;
        if (linkTest(config, col, row, height + 1))
            edits.push_back({Edit::Link, height + 1, {}, {}});
        if (height > 1 && linkTest(config, col, row, height - 1))
            edits.push_back({Edit::Link, height - 1, {}, {}});
        std::vector<std::string> options;
        swapOptions(config, col, row, options);
        for (const std::string& option : options) {
            if (col != 8) {
                edits.push_back({Edit::Swap, 0, option, {}});
                continue;
            }
            std::vector<std::string> types;
            swapOptionsForCrossover(config, option, col, row, types);
            for (const std::string& type : types)
                edits.push_back({Edit::Swap, 0, option, type});
        }
        if (edits.empty())
            continue;

        const Edit& edit = edits[std::rand() % edits.size()];
        if (edit.kind == Edit::Link)
            link(config, col, row, edit.count, true);
        else
            swap(config, edit.templateName, edit.secondary, col, row);
    }
}
