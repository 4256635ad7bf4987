#pragma once

// A record's channel values, statuses and enable flags packed into one compact byte string:
// counts as variable-length integers, analog values in four bytes when a float holds them bit
// for bit, statuses and disabled channels as bit maps followed by the statuses that are set.
// A full 16 + 16 channel IAQ record takes about a hundred bytes instead of several hundred.

#include <QByteArray>

namespace kestrix::data {
class clsDataRecord;
} // namespace kestrix::data

namespace kestrix::archive {

QByteArray PackChannels(const data::clsDataRecord& record);

// Sets the record's channels from the bytes; throws ArchiveError when they are damaged.
void UnpackChannels(const QByteArray& bytes, data::clsDataRecord& record);

} // namespace kestrix::archive
