#include "devicecredentials.h"

namespace {
bool carriesPassword(const QString& param)
{
    return param == QLatin1String("ConnectDevice") || param == QLatin1String("EnterPassword");
}
} // namespace

DeviceCredentials DeviceCredentials::fromPayload(const QString& payload)
{
    const int separator = payload.indexOf(QLatin1Char(':'));
    if (separator < 0)
        return {payload, payload};
    return {payload.left(separator), payload.mid(separator + 1)};
}

QString DeviceCredentials::payloadWithoutPassword(const QString& param, const QString& payload)
{
    if (!carriesPassword(param))
        return payload;
    const int separator = payload.indexOf(QLatin1Char(':'));
    return separator < 0 ? QString() : payload.left(separator);
}
