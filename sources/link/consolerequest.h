#pragma once

#include "datafromdevice.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <chrono>
#include <optional>

// One request line on its way to the device: what it addresses, how urgent it is, who waits for
// its answer, and how that answer is recognised among the device's lines.
struct ConsoleRequest
{
    // The order in which waiting requests are sent.
    enum class Priority { Write, Page, Poll };

    // The request of `record` with its line; none when the names or value cannot make a line
    // (ConsoleLineBuilder::request says why).
    static std::optional<ConsoleRequest> make(const DataFromDevice& record, const QObject* owner,
                                              Priority priority);

    // The path a request line writes for the variable in that value type: what one
    // subscription or one write addresses.
    static QString targetOf(const QString& poName, const QString& svName, const QString& valueType);

    // The `unsub` that ends this subscription (in the same form, "%" included), owned by nobody.
    std::optional<ConsoleRequest> unsubscription() const;

    bool isCommand(QLatin1String word) const { return command == word; }
    bool isList() const;
    // A value reply with this reply word and names answers this request.
    bool answeredBy(QStringView replyWord, const QString& replyPo, const QString& replySv) const;
    // An enumeration (`lc`) or object (`ls`) list of this path answers this request.
    bool answeredByList(bool enumeration, const QString& listPath) const;

    bool isOwnedBy(const QObject* owner) const;
    void addOwner(const QObject* owner);
    // True when it was this request's last owner: nobody waits for the answer any more.
    bool removeOwner(const QObject* owner);

    QByteArray line;
    QString command;
    QString poName;
    QString svName;
    QString target; // targetOf() the request's names and value type
    QString value;  // what a write sets, as the record gave it
    Priority priority = Priority::Page;
    // Who waits for the answer; empty for a request nobody can take back. Mostly one: kept
    // inline, as a poll is made and dropped many times a second.
    QVarLengthArray<const QObject*, 2> owners;
    // In flight: a write's answer came; the updates the write caused may still be on their way.
    bool answered = false;
    // In flight: a reply that may be its answer (or an unasked update) came while an older
    // request still waited for its own.
    bool heardOutOfTurn = false;
    // In flight: when it was written; its answer is awaited from then on.
    std::chrono::steady_clock::time_point sentAt;
};
