#pragma once

#include "consolereplyparser.h"
#include "datafromdevice.h"
#include "nametable.h"

// Turns the value replies of a batch into one reused DataFromDevice: its names are the shared
// texts of a name table and its value reuses the storage of the last one, so a reply costs no
// allocation. The names' numbers in the table come with it, for the reply router. GUI thread only.
class ReplyRecord
{
public:
    // Names a device may add to the table; later new names get texts of their own, so a device
    // sending ever new names cannot grow the table without bound.
    static constexpr int kMaxNewNames = 65536;

    explicit ReplyRecord(NameTable& names) : m_names(names) {}

    // The record of a value reply; valid until the next fill.
    const DataFromDevice& fill(const ConsoleReplyBatch& batch, const ConsoleReply& reply);
    // The numbers of the record's names in the table (-1: not in it).
    int poId() const { return m_poId; }
    int svId() const { return m_svId; }

private:
    int assign(QString& field, int& id, QStringView name);

    NameTable& m_names;
    DataFromDevice m_record;
    int m_poId = -1;
    int m_svId = -1;
    int m_valueTypeId = -1;
    int m_commandId = -1;
};
