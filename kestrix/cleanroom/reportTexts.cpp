#include "kestrix/cleanroom/reportTexts.h"

#include "kestrix/cleanroom/classification.h"
#include "kestrix/data/isoDateTime.h"

#include <cmath>
#include <cstdio>

namespace kestrix::cleanroom {

std::string WholeNumberText(double value) {
    const std::string digits = std::to_string(std::llround(std::abs(value)));
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += ',';
        }
        text += digits[i];
    }
    return (value < 0 && text != "0" ? "-" : "") + text;
}

std::string OneDecimalText(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string LocationLabel(std::int32_t locationId, const std::string& name) {
    const std::string number = "Location " + std::to_string(locationId);
    return name.empty() ? number : number + " (" + name + ")";
}

std::string ReportDateTime(base::DateTime value) {
    std::string text = data::FormatIsoDateTime(value);
    if (text.size() > 10) {
        text[10] = ' ';
    }
    return text;
}

std::string TooFewLocationsText(std::int32_t sampled, std::int32_t required, double area) {
    return "Only " + std::to_string(sampled) + " location(s) sampled; an area of " +
           OneDecimalText(area) + " m² needs at least " + std::to_string(required) + ".";
}

std::string NoRecordsText(std::int32_t locationId) {
    return "Location " + std::to_string(locationId) + " was chosen but has no records.";
}

std::string LeftOutText(std::size_t records) {
    return std::to_string(records) +
           " record(s) left out of the means: with impossible data, flagged by the instrument, "
           "without sampled air or with a considered channel off (listed below).";
}

std::string LeftOutLine(const LeftOutRecord& record) {
    return "Record " + std::to_string(record.recordIndex + 1) + ", location " +
           std::to_string(record.locationId) + ": " + record.reason;
}

std::vector<std::string> LeftOutLines(const std::vector<LeftOutRecord>& records) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < records.size() && i < kLeftOutLinesShown; ++i) {
        lines.push_back(LeftOutLine(records[i]));
    }
    if (records.size() > kLeftOutLinesShown) {
        lines.push_back("... and " + std::to_string(records.size() - kLeftOutLinesShown) +
                        " more record(s).");
    }
    return lines;
}

std::string NoUsableRecordText(const std::string& location,
                               const std::vector<LeftOutRecord>& records) {
    std::string text = location + " has no usable record left, so the room cannot be classified:";
    for (const std::string& line : LeftOutLines(records)) {
        text += "\n  " + line;
    }
    return text;
}

std::string SmallSamplesText(const std::string& location, std::size_t small, std::size_t samples,
                             double minimumLitres) {
    return location + ": " + std::to_string(small) + " of " + std::to_string(samples) +
           " sample(s) below the minimum sample volume of " + OneDecimalText(minimumLitres) + " L.";
}

std::string ShortSamplesText(const std::string& location, std::size_t shortOnes,
                             std::size_t samples) {
    return location + ": " + std::to_string(shortOnes) + " of " + std::to_string(samples) +
           " sample(s) shorter than one minute.";
}

std::string GradeAVolumeText(const std::string& location, double totalLitres) {
    return location + ": " + OneDecimalText(totalLitres) +
           " L sampled in total; grade A needs at least 1 m³ (1,000 L) per location.";
}

} // namespace kestrix::cleanroom
