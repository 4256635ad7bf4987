#include "kestrix/instrument/ChannelDescription.h"

#include "kestrix/data/modDataType.h"
#include "kestrix/instrument/InstrumentIdentity.h"
#include "kestrix/instrument/RegisterReply.h"
#include "kestrix/shell/numberFormat.h"

#include <QString>

namespace kestrix::instrument {

namespace {

std::string Trimmed(const std::string& text) {
    return QString::fromLatin1(text.c_str()).trimmed().toLatin1().toStdString();
}

std::string ChannelText(const RegisterReply& reply, int channel) {
    return Trimmed(reply.Text(2 * channel, 2));
}

} // namespace

void ChannelDescription::TakeEnables(const RegisterReply& reply, int mapVersion) {
    for (int c = 0; c < kChannelCount; ++c) {
        const std::uint16_t word = reply.Unsigned(2 * c + 1);
        enabled[c] = (word & 1) != 0;
        alarm[c] = mapVersion >= kMapHoldingBlocks && (word & 2) != 0;
    }
}

void ChannelDescription::TakeTags(const RegisterReply& reply) {
    for (int c = 0; c < kChannelCount; ++c) {
        tag[c] = ChannelText(reply, c);
        if (modDataType::IsParticleSizeType(tag[c])) {
            tag[c] = FormatWithPoint(modDataType::ParticleSizeValue(tag[c]), "####0.0####");
        }
    }
}

void ChannelDescription::TakeUnits(const RegisterReply& reply) {
    for (int c = 0; c < kChannelCount; ++c) {
        unit[c] = ChannelText(reply, c);
    }
}

void ChannelDescription::TakeThresholds(const RegisterReply& reply) {
    for (int c = 0; c < kChannelCount; ++c) {
        threshold[c] = reply.Long(2 * c);
    }
}

void ChannelDescription::TakeEngineeringHigh(const RegisterReply& reply) {
    for (int i = 0; i < kCalibrationFloats; ++i) {
        engineeringHigh[i] = reply.Float(i);
    }
}

void ChannelDescription::TakeEngineeringLow(const RegisterReply& reply) {
    for (int i = 0; i < kCalibrationFloats; ++i) {
        engineeringLow[i] = reply.Float(i);
    }
}

void ChannelDescription::TakeRawPoints(const RegisterReply& reply) {
    for (int i = 0; i < kCalibrationPoints; ++i) {
        rawLow[i] = reply.Register(2 * i);
        rawHigh[i] = reply.Register(2 * i + 1);
    }
}

bool ChannelDescription::IsParticleStored(int channel) const {
    return !tag[channel].empty() && enabled[channel];
}

bool ChannelDescription::IsAnalogStored(int channel) const {
    return !tag[channel].empty() && enabled[channel] &&
           modDataType::IsAnalogChannelType(tag[channel]);
}

} // namespace kestrix::instrument
