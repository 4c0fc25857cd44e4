#include "replyrecord.h"

const DataFromDevice& ReplyRecord::fill(const ConsoleReplyBatch& batch, const ConsoleReply& reply)
{
    assign(m_record.poName, m_poId, batch.view(reply.poName));
    assign(m_record.svName, m_svId, batch.view(reply.svName));
    assign(m_record.valueType, m_valueTypeId, batch.view(reply.valueType));
    assign(m_record.command, m_commandId, batch.view(reply.command));
    const QStringView value = batch.view(reply.value);
    m_record.value.setUnicode(value.data(), int(value.size()));
    return m_record;
}

// A field that already holds the name is left alone: most replies repeat the object, the value
// type and the reply word of the one before.
int ReplyRecord::assign(QString& field, int& id, QStringView name)
{
    if (id >= 0 && QStringView(field) == name)
        return id;
    id = m_names.size() < kMaxNewNames ? m_names.intern(name) : m_names.find(name);
    field = id < 0 ? name.toString() : m_names.text(id);
    return id;
}
