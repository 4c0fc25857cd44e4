#pragma once

#include "consolerequest.h"

#include <QHash>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The writes to each variable that the device has not answered yet, and the value of the
// newest. The device answers a variable's writes in order, so while one is open its replies for
// the variable describe a value the writer has already moved on from, and the newest value
// written is where the next change starts. Variables are keyed by their path as the request line
// writes it ("%" included). GUI thread only.
class WriteLedger
{
public:
    // What the controls of a variable hear of its writes.
    enum class News {
        // A newer value went on its way: newestOpen() has it.
        Written,
        // Every open write to the variable ended, the last one without the device's value: it
        // was refused, left unanswered, or the connection closed. The replies heard meanwhile
        // are the device's value again.
        Lapsed,
    };
    using Announce = std::function<void(const QString& poName, const QString& svName, News news)>;

    explicit WriteLedger(Announce announce);

    // A write went on its way: its answer is awaited.
    void opened(const ConsoleRequest& write);
    // A newer value took the place of a write still waiting to go out: one answer to come still.
    void replaced(const ConsoleRequest& write);
    // A write's answer came (`confirmed`: with the value the device took), or it ended without.
    void closed(const ConsoleRequest& write, bool confirmed);
    // The connection ended: no open write will be answered.
    void clear();
    // Tells the news since the last call, in order; the window calls it once its own state is
    // whole, so that whoever hears it may write again at once.
    void announce();

    // The value of the newest write to the variable that is still open; none when the device
    // has answered every write to it.
    std::optional<QString> newestOpen(const QString& target) const;

private:
    struct Open
    {
        QString poName;
        QString svName;
        QString newestValue;
        int count = 0;
    };

    struct Tidings
    {
        QString poName;
        QString svName;
        News news;
    };

    Announce m_announce;
    QHash<QString, Open> m_open;
    std::vector<Tidings> m_news;
};
