#pragma once

// Every key of the two settings stores, and the names that open them. Values are texts;
// flags are "true" or "false".
namespace settingskeys {

struct Store
{
    const char* organization;
    const char* application;
};

// The application's own store, opened per call through QX8Settings.
constexpr Store kApplicationStore{"Velmor", "QX8Control"};
// The store of the application's own names, which start-up gives it. Only the analytics client
// keeps its keys there.
constexpr Store kDefaultStore{"Velmor", "Spandrell QX8"};

// --- Application store ---

// The device in use: written on connect, read by the link, the watchdogs, presets, tunings and
// the firmware upload. "127.0.0.1" is the offline model.
constexpr char kCurrentDeviceAddress[] = "Data/CurrentDeviceAddress";
constexpr char kCurrentDevicePassword[] = "Data/CurrentDevicePassword";

// Written by start-up: the first three at every start, the others only when absent.
constexpr char kExtraFeaturesReady[] = "ExtraFeaturesReady";
constexpr char kResizeReady[] = "ResizeReady";
constexpr char kCurrentVersion[] = "CurrentVersion";
constexpr char kPresetsCopy[] = "PresetsCopy";
constexpr char kCheckOnStart[] = "Data/checkOnStart";
constexpr char kAppAnalytics[] = "Data/appAnalytics";

// Written by the dispatcher with the payload of the screen's GUI signal.
constexpr char kPeqType[] = "Data/PEQType";
constexpr char kLimiterType[] = "Data/LimiterType";
constexpr char kGeqType[] = "Data/GEQType";
constexpr char kDelayType[] = "Data/DelayType";
constexpr char kMixerType[] = "Data/MixerType";
constexpr char kConfigData[] = "Data/ConfigData";

// Written by the screens and the configuration models.
constexpr char kCurrentPoData[] = "Data/CurrentPOData";
constexpr char kDelayPoJson[] = "Data/DelayPOJson";
constexpr char kCloudFirmwareVersion[] = "Data/CloudFirmwareVersion";
constexpr char kIsConfigMode[] = "isConfigMode";
// "true": the home screen shows the configurable chain outside configuration mode as well.
constexpr char kConfigurableHomeScreen[] = "Data/ConfigurableHomeScreen";

// Written by the home-screen band model for the crossover and delay screens.
constexpr char kCrossoverNumBand[] = "Crossover/NumBand";
constexpr char kCrossoverMonoSub[] = "Crossover/MonoSub";
constexpr char kCrossoverLowGroupVisible[] = "Crossover_LowGroupVisible";
constexpr char kCrossoverMidGroupVisible[] = "Crossover_MidGroupVisible";
constexpr char kCrossoverHighGroupVisible[] = "Crossover_HighGroupVisible";

// The last wizard state, written before its page loads.
constexpr char kWizardCurrentState[] = "Wizard/CurrentState";

// --- Default store (analytics) ---

constexpr char kAnalyticsEnabled[] = "AppAnalytics-Enabled";
constexpr char kAnalyticsClientId[] = "AppAnalytics-cid";
constexpr char kAnalyticsUserId[] = "AppAnalytics-uid";
constexpr char kAnalyticsPlatformSent[] = "AppAnalytics-OS";

} // namespace settingskeys
