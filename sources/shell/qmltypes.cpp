#include "qmltypes.h"

#include "appdatastore.h"
#include "applicationupdater.h"
#include "brandlistmodel.h"
#include "buttonimageresolver.h"
#include "configdataprovider.h"
#include "crossoverbandinfoprovider.h"
#include "crossovercurveplotter.h"
#include "crossovergraphitem.h"
#include "customcombobox.h"
#include "devicemodelprovider.h"
#include "devicepresetmodel.h"
#include "discovereddevicesmodel.h"
#include "editmodecopypaste.h"
#include "fader.h"
#include "filesystemmodel.h"
#include "firmwareupdater.h"
#include "fwupdateuploader.h"
#include "homescreenmodel.h"
#include "processingobjectlist.h"
#include "qx8button.h"
#include "qx8enumsv.h"
#include "qx8exclusivegroup.h"
#include "qx8geqbands.h"
#include "qx8geqgraphitem.h"
#include "qx8homescreenmodel.h"
#include "qx8label.h"
#include "qx8led.h"
#include "qx8meter.h"
#include "qx8numericalsv.h"
#include "qx8nuqcurveplotter.h"
#include "qx8nuqgraphitem.h"
#include "qx8peqcurveplotter.h"
#include "qx8peqgraphitem.h"
#include "qx8settings.h"
#include "qx8slider.h"
#include "qx8textfield.h"
#include "qx8textsv.h"
#include "tuningfilelistmodel.h"
#include "wizardbrandlistviewmodel.h"
#include "wizardbrandmodelsmodel.h"
#include "wizarddialogprovider.h"
#include "wizarddialprovider.h"
#include "wizardlistviewprovider.h"
#include "wizardnuqgraphprovider.h"
#include "wizardrunsetupprovider.h"
#include "wizardscreensloader.h"

#include <QtQml>

namespace {
template<typename T> void registerType(const char* name)
{
    qmlRegisterType<T>(name, 1, 0, name);
}
} // namespace

// In registration order.
void registerQmlTypes()
{
    registerType<QX8LED>("QX8LED");
    registerType<QX8Label>("QX8Label");
    registerType<QX8Meter>("QX8Meter");
    registerType<QX8Slider>("QX8Slider");
    registerType<QX8Button>("QX8Button");
    registerType<QX8TextSV>("QX8TextSV");
    registerType<QX8EnumSV>("QX8EnumSV");
    registerType<QX8GEQBands>("QX8GEQBands");
    registerType<QX8Settings>("QX8Settings");
    registerType<QX8TextField>("QX8TextField");
    registerType<CustomComboBox>("CustomComboBox");
    registerType<QX8NumericalSV>("QX8NumericalSV");
    registerType<FileSystemModel>("FileSystemModel");
    registerType<QX8PEQGraphItem>("QX8PEQGraphItem");
    registerType<QX8GEQGraphItem>("QX8GEQGraphItem");
    registerType<HomeScreenModel>("HomeScreenModel");
    registerType<FwUpdateUploader>("FwUpdateUploader");
    registerType<DevicePresetModel>("DevicePresetModel");
    registerType<QX8ExclusiveGroup>("QX8ExclusiveGroup");
    registerType<CrossoverGraphItem>("CrossoverGraphItem");
    registerType<QX8PEQCurvePlotter>("QX8PEQCurvePlotter");
    registerType<ConfigDataProvider>("ConfigDataProvider");
    registerType<WizardDialProvider>("WizardDialProvider");
    registerType<ButtonImageResolver>("ButtonImageResolver");
    registerType<WizardScreensLoader>("WizardScreensLoader");
    registerType<WizardDialogProvider>("WizardDialogProvider");
    registerType<CrossoverCurvePlotter>("CrossoverCurvePlotter");
    registerType<WizardBrandModelsModel>("WizardBrandModelsModel");
    registerType<WizardListViewProvider>("WizardListViewProvider");
    registerType<WizardRunSetupProvider>("WizardRunSetupProvider");
    registerType<WizardBrandListViewModel>("WizardBrandListViewModel");
    registerType<DiscoveredDevicesModel>("DiscoveredDevicesModel");
    registerType<QX8NuqCurvePlotter>("QX8NuqCurvePlotter");
    registerType<QX8NuqGraphItem>("QX8NuqGraphItem");
    registerType<WizardNuqGraphProvider>("WizardNuqGraphProvider");
    registerType<AppDataStore>("AppDataStore");
    registerType<Fader>("Fader");
    registerType<EditModeCopyPaste>("EditModeCopyPaste");
    registerType<TuningFileListModel>("TuningFileListModel");
    registerType<BrandListModel>("BrandListModel");
    registerType<CrossoverBandInfoProvider>("CrossoverBandInfoProvider");
    registerType<ApplicationUpdater>("ApplicationUpdater");
    registerType<FirmwareUpdater>("FirmwareUpdater");
    registerType<QX8HomeScreenModel>("QX8HomeScreenModel");

    // The objects of the device's preset, for screens that serve several objects.
    registerType<ProcessingObjectList>("ProcessingObjectList");

    // The device model for the screens: one object per engine, owned by the engine.
    qmlRegisterSingletonType<DeviceModelProvider>(
        "DeviceModelProvider", 1, 0, "DeviceModelProvider",
        [](QQmlEngine*, QJSEngine*) -> QObject* { return new DeviceModelProvider; });
}
