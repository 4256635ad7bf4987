#include "kestrix/archive/recordPacking.h"

#include "kestrix/archive/ArchiveError.h"
#include "kestrix/data/clsDataRecord.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kestrix::archive {

namespace {

constexpr int kBitsPerByte = 8;
constexpr std::uint8_t kLowSevenBits = 0x7F;
constexpr std::uint8_t kMoreBytesFlag = 0x80;

class Writer {
public:
    void Varint(std::uint64_t value) {
        while (value > kLowSevenBits) {
            bytes_.append(static_cast<char>((value & kLowSevenBits) | kMoreBytesFlag));
            value >>= 7;
        }
        bytes_.append(static_cast<char>(value));
    }
    void Signed(std::int64_t value) {
        Varint((static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
    }
    template <typename T>
    void Raw(T value) {
        char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        bytes_.append(bytes, sizeof(T));
    }
    void Bits(const std::vector<bool>& bits) {
        std::vector<char> packed((bits.size() + kBitsPerByte - 1) / kBitsPerByte, 0);
        for (std::size_t i = 0; i < bits.size(); ++i) {
            if (bits[i]) {
                packed[i / kBitsPerByte] |= static_cast<char>(1U << (i % kBitsPerByte));
            }
        }
        bytes_.append(packed.data(), static_cast<qsizetype>(packed.size()));
    }
    QByteArray Take() { return std::move(bytes_); }

private:
    QByteArray bytes_;
};

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}
    std::uint64_t Varint() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const auto byte = static_cast<std::uint8_t>(Next());
            value |= static_cast<std::uint64_t>(byte & kLowSevenBits) << shift;
            if ((byte & kMoreBytesFlag) == 0) {
                return value;
            }
        }
        throw Damaged();
    }
    std::int64_t Signed() {
        const std::uint64_t value = Varint();
        return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
    }
    template <typename T>
    T Raw() {
        char bytes[sizeof(T)];
        for (char& byte : bytes) {
            byte = Next();
        }
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }
    std::vector<bool> Bits(std::size_t count) {
        std::vector<bool> bits(count);
        char byte = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (i % kBitsPerByte == 0) {
                byte = Next();
            }
            bits[i] = ((static_cast<unsigned char>(byte) >> (i % kBitsPerByte)) & 1U) != 0;
        }
        return bits;
    }
    bool AtEnd() const { return position_ == bytes_.size(); }

private:
    static ArchiveError Damaged() { return ArchiveError("a record's channel data is damaged"); }
    char Next() {
        if (position_ >= bytes_.size()) {
            throw Damaged();
        }
        return bytes_[position_++];
    }

    const QByteArray& bytes_;
    qsizetype position_ = 0;
};

bool FitsFloat(double value) {
    const double back = static_cast<float>(value);
    return std::bit_cast<std::uint64_t>(back) == std::bit_cast<std::uint64_t>(value);
}

struct Flags {
    std::vector<std::uint8_t> statuses;
    std::vector<bool> disabled;
};

Flags FlagsOf(const data::clsDataRecord& record) {
    Flags flags;
    for (std::int16_t c = 0; c < record.GetPartChanCount(); ++c) {
        flags.statuses.push_back(record.GetPartChanStatus(c));
        flags.disabled.push_back(!record.GetPartChanEnable(c));
    }
    for (std::int16_t c = 0; c < record.GetAnalogChanCount(); ++c) {
        flags.statuses.push_back(record.GetAnalogChanStatus(c));
        flags.disabled.push_back(!record.GetAnalogChanEnable(c));
    }
    return flags;
}

} // namespace

QByteArray PackChannels(const data::clsDataRecord& record) {
    Writer out;
    const std::int16_t particles = record.GetPartChanCount();
    const std::int16_t analogs = record.GetAnalogChanCount();
    out.Varint(static_cast<std::uint64_t>(particles));
    out.Varint(static_cast<std::uint64_t>(analogs));
    for (std::int16_t c = 0; c < particles; ++c) {
        out.Signed(record.GetPartChanValue(c, true));
    }
    std::vector<bool> wide;
    for (std::int16_t c = 0; c < analogs; ++c) {
        wide.push_back(!FitsFloat(record.GetAnalogChanValue(c)));
    }
    out.Bits(wide);
    for (std::int16_t c = 0; c < analogs; ++c) {
        const double value = record.GetAnalogChanValue(c);
        if (wide[static_cast<std::size_t>(c)]) {
            out.Raw(value);
        } else {
            out.Raw(static_cast<float>(value));
        }
    }
    const Flags flags = FlagsOf(record);
    std::vector<bool> hasStatus;
    for (const std::uint8_t status : flags.statuses) {
        hasStatus.push_back(status != 0);
    }
    out.Bits(hasStatus);
    for (const std::uint8_t status : flags.statuses) {
        if (status != 0) {
            out.Raw(status);
        }
    }
    out.Bits(flags.disabled);
    return out.Take();
}

void UnpackChannels(const QByteArray& bytes, data::clsDataRecord& record) {
    Reader in(bytes);
    const std::uint64_t particles = in.Varint();
    const std::uint64_t analogs = in.Varint();
    if (particles > INT16_MAX || analogs > INT16_MAX) {
        throw ArchiveError("a record's channel data is damaged");
    }
    std::vector<std::int32_t> counts;
    for (std::uint64_t c = 0; c < particles; ++c) {
        counts.push_back(static_cast<std::int32_t>(in.Signed()));
    }
    const std::vector<bool> wide = in.Bits(analogs);
    std::vector<double> values;
    for (std::uint64_t c = 0; c < analogs; ++c) {
        values.push_back(wide[c] ? in.Raw<double>() : static_cast<double>(in.Raw<float>()));
    }
    const std::vector<bool> hasStatus = in.Bits(particles + analogs);
    std::vector<std::uint8_t> statuses;
    for (const bool set : hasStatus) {
        statuses.push_back(set ? in.Raw<std::uint8_t>() : 0);
    }
    const std::vector<bool> disabled = in.Bits(particles + analogs);
    if (!in.AtEnd()) {
        throw ArchiveError("a record's channel data is damaged");
    }
    record.SetPartChanCount(static_cast<std::int16_t>(particles));
    for (std::size_t c = 0; c < particles; ++c) {
        record.SetPartChanData(static_cast<std::int16_t>(c), counts[c], statuses[c], !disabled[c]);
    }
    record.SetAnalogChanCount(static_cast<std::int16_t>(analogs));
    for (std::size_t c = 0; c < analogs; ++c) {
        record.SetAnalogChanData(static_cast<std::int16_t>(c), values[c], statuses[particles + c],
                                 !disabled[particles + c]);
    }
}

} // namespace kestrix::archive
