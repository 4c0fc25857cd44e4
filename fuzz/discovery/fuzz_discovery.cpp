// A discovery answer: any host on the network may send any datagram to the query's port.
#include "discovereddevicesprovider.h"
#include "discoveredwallcontrollerslistprovider.h"
#include "fuzzsupport.h"
#include "quietqt.h"

namespace {
DiscoveredDevicesProvider* processors = nullptr;
DiscoveredWallControllersListProvider* wallControllers = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzsupport::startQt(argc, argv);
    processors = new DiscoveredDevicesProvider;
    wallControllers = new DiscoveredWallControllersListProvider;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        BroadcastDiscovery::decodeDatagram(QByteArray(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(!text.contains(QChar(0)));

    DeviceInfo processor;
    if (processors->parseDatagram(text, processor))
        FUZZ_CHECK(processor.className == QLatin1String(DiscoveredDevicesProvider::kClassName));
    // Whatever an answer holds, no field is longer than a list row shows.
    for (const QString* field : {&processor.className, &processor.instanceName,
                                 &processor.softwareVersion, &processor.hardwareVersion})
        FUZZ_CHECK(field->size() <= BroadcastDiscovery::kMaximumFieldLength);
    DeviceInfo wallController;
    if (wallControllers->parseDatagram(text, wallController))
        FUZZ_CHECK(wallController.className.startsWith(QLatin1String("Tessaly Wall Controller")));
    return 0;
}
