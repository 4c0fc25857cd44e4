#include "boundvariable.h"

#include "consolelinebuilder.h"

const DeviceModel::Variable* boundVariable(const QString& poName, const QString& svName,
                                           const DeviceModel& model)
{
    if (poName.isEmpty() || svName.isEmpty())
        return nullptr;
    const QString path = ConsoleLineBuilder::pathBody(poName, svName);
    return model.variable(path.mid(2).chopped(1));
}
