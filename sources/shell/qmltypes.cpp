#include "qmltypes.h"

#include "appdatastore.h"
#include "applicationupdater.h"
#include "brandlistmodel.h"
#include "buttonimageresolver.h"
#include "devicepresetmodel.h"
#include "filesystemmodel.h"
#include "firmwareupdater.h"
#include "fwupdateuploader.h"
#include "qx8enumsv.h"
#include "qx8numericalsv.h"
#include "qx8settings.h"
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

// In registration order. The types marked "TO ADD AT MERGE" are being built on other branches;
// each goes in at its place in the order, uncommented, with its header included above.
void registerQmlTypes()
{
    // TO ADD AT MERGE  1 registerType<QX8LED>("QX8LED");                    (branch controls)
    // TO ADD AT MERGE  2 registerType<QX8Label>("QX8Label");                (branch controls)
    // TO ADD AT MERGE  3 registerType<QX8Meter>("QX8Meter");                (branch controls)
    // TO ADD AT MERGE  4 registerType<QX8Slider>("QX8Slider");              (branch controls)
    // TO ADD AT MERGE  5 registerType<QX8Button>("QX8Button");              (branch controls)
    registerType<QX8TextSV>("QX8TextSV");
    registerType<QX8EnumSV>("QX8EnumSV");
    // TO ADD AT MERGE  8 registerType<QX8GEQBands>("QX8GEQBands");          (branch graphs2)
    registerType<QX8Settings>("QX8Settings");
    // TO ADD AT MERGE 10 registerType<QX8TextField>("QX8TextField");        (branch controls)
    // TO ADD AT MERGE 11 registerType<CustomComboBox>("CustomComboBox");    (branch controls)
    registerType<QX8NumericalSV>("QX8NumericalSV");
    registerType<FileSystemModel>("FileSystemModel");
    // TO ADD AT MERGE 14 registerType<QX8PEQGraphItem>("QX8PEQGraphItem");  (branch graphs2)
    // TO ADD AT MERGE 15 registerType<QX8GEQGraphItem>("QX8GEQGraphItem");  (branch graphs2)
    // TO ADD AT MERGE 16 registerType<HomeScreenModel>("HomeScreenModel");  (configuration)
    registerType<FwUpdateUploader>("FwUpdateUploader");
    registerType<DevicePresetModel>("DevicePresetModel");
    // TO ADD AT MERGE 19 registerType<QX8ExclusiveGroup>("QX8ExclusiveGroup"); (branch controls)
    // TO ADD AT MERGE 20 registerType<CrossoverGraphItem>("CrossoverGraphItem"); (branch graphs2)
    // TO ADD AT MERGE 21 registerType<QX8PEQCurvePlotter>("QX8PEQCurvePlotter"); (branch graphs2)
    // TO ADD AT MERGE 22 registerType<ConfigDataProvider>("ConfigDataProvider"); (configuration)
    registerType<WizardDialProvider>("WizardDialProvider");
    registerType<ButtonImageResolver>("ButtonImageResolver");
    registerType<WizardScreensLoader>("WizardScreensLoader");
    registerType<WizardDialogProvider>("WizardDialogProvider");
    // TO ADD AT MERGE 27 registerType<CrossoverCurvePlotter>("CrossoverCurvePlotter"); (graphs2)
    registerType<WizardBrandModelsModel>("WizardBrandModelsModel");
    registerType<WizardListViewProvider>("WizardListViewProvider");
    registerType<WizardRunSetupProvider>("WizardRunSetupProvider");
    registerType<WizardBrandListViewModel>("WizardBrandListViewModel");
    // TO ADD AT MERGE 32 registerType<DiscoveredDevicesModel>("DiscoveredDevicesModel");
    // (discovery) TO ADD AT MERGE 33 registerType<QX8NuqCurvePlotter>("QX8NuqCurvePlotter");
    // (branch graphs2) TO ADD AT MERGE 34 registerType<QX8NuqGraphItem>("QX8NuqGraphItem"); (branch
    // graphs2)
    registerType<WizardNuqGraphProvider>("WizardNuqGraphProvider");
    registerType<AppDataStore>("AppDataStore");
    // TO ADD AT MERGE 37 registerType<Fader>("Fader");                      (branch controls)
    // TO ADD AT MERGE 38 registerType<EditModeCopyPaste>("EditModeCopyPaste"); (configuration)
    registerType<TuningFileListModel>("TuningFileListModel");
    registerType<BrandListModel>("BrandListModel");
    // TO ADD AT MERGE 41 registerType<CrossoverBandInfoProvider>("CrossoverBandInfoProvider");
    // (cfg)
    registerType<ApplicationUpdater>("ApplicationUpdater");
    registerType<FirmwareUpdater>("FirmwareUpdater");
    // TO ADD AT MERGE 44 registerType<QX8HomeScreenModel>("QX8HomeScreenModel"); (configuration)
}
