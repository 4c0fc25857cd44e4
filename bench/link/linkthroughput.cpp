// Replies per second through the console reader, the link and the delivery to bound receivers,
// from a loopback peer that floods value replies, beside a plain socket reader draining the same
// stream; and the GUI thread's CPU time per reply with bound value objects. Each figure is the
// median of kRuns runs. Run inside scripts/netns-run (scripts/bench.sh does).
#include "qx8numericalsv.h"
#include "qx8settings.h"
#include "settingskeys.h"
#include "tcpadaptor.h"
#include "testharness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kReplies = 200000;
constexpr int kVariables = 200;
constexpr int kRuns = 5;

double median(const std::function<double()>& measure)
{
    std::vector<double> figures;
    for (int run = 0; run < kRuns; ++run)
        figures.push_back(measure());
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

QString grouped(double number)
{
    return QLocale(QLocale::English).toString(qlonglong(number));
}

QByteArray floodStream()
{
    QByteArray stream;
    for (int i = 0; i < kReplies; ++i) {
        stream += "subr \"\\\\Preset\\Bench\\SV\\Var_" + QByteArray::number(i % kVariables) +
                  "\\%\" \"" + QByteArray::number(i % 100) + "\"\n";
    }
    return stream;
}

// Greets, accepts any login, then floods the stream; runs in a thread of its own.
class FloodingPeer : public QObject
{
public:
    FloodingPeer(const QByteArray& stream, const QHostAddress& address) : m_stream(stream)
    {
        m_server.listen(address, TCPAdaptor::kConsolePort);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            socket->write("Vimbal Console\n");
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->readAll().startsWith("connect"))
                    return;
                socket->write("connect logged in as administrator\n");
                socket->write(m_stream);
            });
        });
    }
    QString address() const { return m_server.serverAddress().toString(); }

private:
    QTcpServer m_server;
    QByteArray m_stream;
};

struct CountingReceiver : ReplyReceiver
{
    void receiveReply(const DataFromDevice&) override { ++received; }
    long received = 0;
};

double plainReaderRate(const QString& address)
{
    QTcpSocket socket;
    QEventLoop loop;
    long lines = 0;
    QElapsedTimer clock;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        const QByteArray bytes = socket.readAll();
        if (bytes.startsWith("Vimbal")) {
            socket.write("connect administrator \"x\"\n");
            clock.start();
        }
        lines += bytes.count('\n');
        if (lines >= kReplies + 2)
            loop.quit();
    });
    socket.connectToHost(address, TCPAdaptor::kConsolePort);
    loop.exec();
    return kReplies / (clock.nsecsElapsed() / 1e9);
}

// Binds `count` receivers round-robin to `variables` variables named prefix_0, prefix_1, ...
std::vector<std::unique_ptr<CountingReceiver>> bindReceivers(int count, int variables,
                                                             const QString& prefix)
{
    std::vector<std::unique_ptr<CountingReceiver>> receivers;
    for (int i = 0; i < count; ++i) {
        receivers.push_back(std::make_unique<CountingReceiver>());
        TCPAdaptor::instance()->replyRouter().bind(receivers.back().get(), "Bench",
                                                   prefix + QString::number(i % variables));
    }
    return receivers;
}

void unbindReceivers(const std::vector<std::unique_ptr<CountingReceiver>>& receivers, int variables,
                     const QString& prefix)
{
    for (size_t i = 0; i < receivers.size(); ++i) {
        TCPAdaptor::instance()->replyRouter().unbind(receivers[i].get(), "Bench",
                                                     prefix + QString::number(int(i) % variables));
    }
}

// Replies per second with one receiver on each flooded variable and `idle` more receivers bound
// to variables that get no reply: the delivery cost must not depend on `idle`.
double linkRate(const QString& address, int idle)
{
    TCPAdaptor* link = TCPAdaptor::instance();
    const auto matching = bindReceivers(kVariables, kVariables, "Var_");
    const auto others = bindReceivers(idle, 1000, "Idle_");
    QEventLoop loop; // not QCoreApplication::exec: its return would shut the link down
    long replies = 0;
    QElapsedTimer clock;
    const auto onReady = QObject::connect(link, &TCPAdaptor::vimbalReady, [&] { clock.start(); });
    const auto onData = QObject::connect(link, &TCPAdaptor::dataAvailable, [&] {
        if (++replies == kReplies)
            loop.quit();
    });
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, address);
    link->doConnect();
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    QObject::disconnect(onReady);
    QObject::disconnect(onData);
    link->doDisconnect();

    long delivered = 0;
    for (const auto& receiver : matching)
        delivered += receiver->received;
    if (delivered != kReplies)
        std::fprintf(stderr, "delivered %ld of %d replies\n", delivered, kReplies);
    unbindReceivers(matching, kVariables, "Var_");
    unbindReceivers(others, 1000, "Idle_");
    return kReplies / seconds;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// GUI-thread CPU time per reply with `count` live value objects spread over the flooded
// variables (each reply reaches count / kVariables of them).
double guiMicrosecondsPerReply(const QString& address, int count)
{
    TCPAdaptor* link = TCPAdaptor::instance();
    std::vector<std::unique_ptr<QX8NumericalSV>> controls;
    for (int i = 0; i < count; ++i) {
        controls.push_back(std::make_unique<QX8NumericalSV>());
        controls.back()->setPOName("Bench");
        controls.back()->setSVName("Var_" + QString::number(i % kVariables));
    }
    QEventLoop loop;
    long replies = 0;
    double cpuAtReady = 0;
    const auto onReady =
        QObject::connect(link, &TCPAdaptor::vimbalReady, [&] { cpuAtReady = threadCpuSeconds(); });
    const auto onData = QObject::connect(link, &TCPAdaptor::dataAvailable, [&] {
        if (++replies == kReplies)
            loop.quit();
    });
    QX8Settings().setValue(settingskeys::kCurrentDeviceAddress, address);
    link->doConnect();
    loop.exec();
    const double cpu = threadCpuSeconds() - cpuAtReady;
    QObject::disconnect(onReady);
    QObject::disconnect(onData);
    controls.clear();
    link->doDisconnect();
    return cpu / kReplies * 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QByteArray stream = floodStream();
    // The peer is made, and its sockets live, in a thread of its own.
    QThread peerThread;
    QObject peerContext;
    peerContext.moveToThread(&peerThread);
    peerThread.start();
    FloodingPeer* peer = nullptr;
    const QHostAddress peerAddress = qx8test::uniqueLoopbackAddress();
    QMetaObject::invokeMethod(
        &peerContext, [&] { peer = new FloodingPeer(stream, peerAddress); },
        Qt::BlockingQueuedConnection);
    const QString address = peer->address();
    if (address.isEmpty()) {
        std::fprintf(stderr, "cannot listen on a loopback address\n");
        return 1;
    }

    std::printf("%d value replies of %lld bytes over loopback, medians of %d runs\n", kReplies,
                static_cast<long long>(stream.size()), kRuns);
    const double plain = median([&] { return plainReaderRate(address); });
    const double link = median([&] { return linkRate(address, 0); });
    for (int idle : {1000, 10000}) {
        std::printf("link + delivery, %5d idle receivers: %10.0f replies/s\n", idle,
                    median([&] { return linkRate(address, idle); }));
    }
    std::printf("ROW|replies through reader, link and delivery|%s/s|plain reader: %s lines/s|"
                "1/%.1f|>= 1,000,000/s and >= 1/12\n",
                qPrintable(grouped(link)), qPrintable(grouped(plain)), plain / link);
    for (int count : {10, 1000}) {
        const double micros = median([&] { return guiMicrosecondsPerReply(address, count); });
        std::printf("ROW|GUI-thread cost per reply, %s value objects on %d variables|%.2f us|-|-|"
                    "<= 1 us\n",
                    qPrintable(grouped(count)), kVariables, micros);
    }
    QMetaObject::invokeMethod(
        peer, [peer] { delete peer; }, Qt::BlockingQueuedConnection);
    peerThread.quit();
    peerThread.wait();
    TCPAdaptor::instance()->shutdown();
    return 0;
}
