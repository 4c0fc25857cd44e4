#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <functional>

class QTcpServer;
class QUdpSocket;

namespace qx8test {

// Upper bound for any wait in a test; CI machines may be slower and busier.
int timeoutMs();

// Runs the event loop as the application does until `done` holds, checked after every round of
// events; false when it did not hold within `timeoutMs`. QTest::qWaitFor sleeps 10 ms between
// rounds, holding back the answers a page waits for: what it measures of a wait that takes many
// rounds is the sleeps. `done` must change only through events.
bool runEventsUntil(const std::function<bool()>& done, int timeoutMs);

// A loopback address of its own for this test process (127.x.y.z, never 127.0.0.1), so that
// servers on fixed ports (console 19272, FTP 21) from parallel tests do not collide.
QHostAddress uniqueLoopbackAddress();

// Binds the server to `port` on a fresh loopback address, trying others while the address is
// taken. Returns false when no address could be bound.
bool listenOnUniqueLoopback(QTcpServer& server, quint16 port);

// Absolute path of the VirtualQX8 executable under test (from the CTest environment).
QString virtualProcessorPath();

// Root of the source tree (fixtures, scripts).
QString sourceDir();

// The whole file, or empty when it cannot be read.
QByteArray fileContent(const QString& path);

// Quiet until probe: a request every device answers. Lines travel in order on a connection, so
// once the answer to a probe sent after some action is in, whatever that action sent is in too:
// a test asserts that nothing else came without waiting a fixed time.
extern const QString kProbeRequest;
bool isProbeAnswer(const QString& line);

} // namespace qx8test
