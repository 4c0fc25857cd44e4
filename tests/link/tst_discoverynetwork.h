#pragma once

#include "testmain.h"

#include <QProcess>
#include <QString>
#include <QStringList>

class VirtualProcessor;

namespace qx8test {

// Called first in main(): inside the suite's private namespace (QX8_NETNS_INSIDE=1), moves this
// process into a network namespace of its own with only loopback up, so that the interfaces it
// makes are not seen by tests running beside it.
void enterPrivateNetwork();

// True inside a private namespace whose only interface is loopback: then a test may make its
// own interfaces.
bool hasPrivateNetwork();

// A veth pair made inside the test's own namespace: the near end stays here, the far end lies
// in a second namespace that lives as long as this object. Units started with startDevice()
// run there.
class VethNetwork
{
public:
    static constexpr const char* kNear = "qx8near";
    static constexpr const char* kFar = "qx8far";
    static constexpr const char* kSubnet = "10.77.0.";

    VethNetwork() = default;
    ~VethNetwork();
    VethNetwork(const VethNetwork&) = delete;
    VethNetwork& operator=(const VethNetwork&) = delete;

    // Makes the pair, both ends up, without addresses.
    bool create();
    // `host` is the last number of an address in kSubnet, with a /24 broadcast.
    bool addNearAddress(int host);
    bool addFarAddress(int host);
    bool setNearUp(bool up);
    // The far end down takes the carrier from the near end: the near end stays up with its
    // addresses, but no longer counts as running.
    bool setFarUp(bool up);
    // Starts VirtualQX8 in the far namespace on kSubnet + host.
    bool startDevice(VirtualProcessor& device, int host, const QStringList& arguments = {});
    // Runs a command in the far namespace to its end.
    bool runFar(const QStringList& arguments);
    // Starts a command in the far namespace; the caller waits for it.
    void startFar(QProcess& process, const QStringList& arguments);

private:
    QProcess m_holder;
    QString m_launcher;
};

// Runs a command; false when it fails or is not there.
bool run(const QString& program, const QStringList& arguments);

} // namespace qx8test

// A test main for suites that need their own network namespace.
#define QX8_NETWORK_TEST_MAIN(TestObject)                                                          \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        qx8test::enterPrivateNetwork();                                                            \
        QCoreApplication application(argc, argv);                                                  \
        TestObject test;                                                                           \
        return qx8test::exec(&test, argc, argv);                                                   \
    }
