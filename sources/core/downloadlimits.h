#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How large a download may be: a ceiling per kind of file, and the length the server announces,
// whichever is smaller. A body past either is not the file the application asked for, and is
// stopped before it can fill the disk.
namespace downloadlimits {

// Update feeds and cloud tuning manifests.
constexpr qint64 kFeed = 1024 * 1024;
// Firmware images and application installers.
constexpr qint64 kImage = 512LL * 1024 * 1024;
// One tuning file of a cloud container.
constexpr qint64 kTuningFile = 64LL * 1024 * 1024;

// The length a Content-Length header value announces: decimal digits only, blanks around them
// allowed. Qt now and then joins a redirect's header to the final answer's ("0, 65536"); the
// last value is the final answer's. Nothing for any other text, or a number past 64 bits.
std::optional<qint64> contentLength(const QByteArray& headerValue);

// A byte count for messages to the user: "512 MiB", "64.0 KiB" for a little less, "90 bytes".
QString sizeText(qint64 bytes);

} // namespace downloadlimits
