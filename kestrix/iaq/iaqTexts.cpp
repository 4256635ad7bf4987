#include "kestrix/iaq/iaqTexts.h"

#include "kestrix/cleanroom/reportTexts.h"

#include <cstdio>

namespace kestrix::iaq {

namespace {

constexpr const char* kUnknown = "-";

std::string GuidelineText(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string AnnualText(const char* pollutant, std::optional<double> mean, double guideline) {
    if (!mean) {
        return std::string(pollutant) + " -";
    }
    return std::string(pollutant) + " " + PmText(mean) + " µg/m³ (WHO annual guideline " +
           GuidelineText(guideline) + ": " + (*mean > guideline ? "above" : "within") + ")";
}

} // namespace

std::string PmText(std::optional<double> value) {
    if (!value) {
        return kUnknown;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", *value);
    return text;
}

std::string IndexText(const std::optional<PollutantIndex>& index) {
    if (!index) {
        return kUnknown;
    }
    return std::to_string(index->value) + (index->beyond ? "+" : "");
}

std::string OverallIndexText(const DayIndexes& index) {
    return index.overall ? IndexText(index.overall->overall) : kUnknown;
}

std::string CategoryText(const DayIndexes& index) {
    if (!index.overall) {
        return kUnknown;
    }
    return std::string(CategoryName(index.overall->overall.category)) + " (" +
           PollutantName(index.overall->pollutant) + ")";
}

std::string WhoText(std::optional<bool> exceeded) {
    if (!exceeded) {
        return "not judged";
    }
    return *exceeded ? "exceeded" : "within";
}

std::vector<std::string> DayHeadings() {
    return {"Date",         "Records", "Hours",    "Complete",  "PM2.5 (µg/m³)",
            "PM10 (µg/m³)", "AQI",     "Category", "WHO PM2.5", "WHO PM10"};
}

std::vector<std::string> DayCells(const IaqDay& day) {
    return {day.date,
            std::to_string(day.records),
            std::to_string(day.hours),
            day.complete ? "yes" : "no",
            PmText(day.mean.pm2_5),
            PmText(day.mean.pm10),
            OverallIndexText(day.index),
            CategoryText(day.index),
            WhoText(day.whoExceededPm2_5),
            WhoText(day.whoExceededPm10)};
}

std::string LocationsText(const IaqReport& report) {
    std::string text;
    for (std::size_t i = 0; i < report.locations.size(); ++i) {
        const std::string name = i < report.locationNames.size() ? report.locationNames[i] : "";
        text += (i == 0 ? "" : ", ") + cleanroom::LocationLabel(report.locations[i], name);
    }
    return text;
}

std::vector<std::string> SummaryLines(const IaqReport& report) {
    const IaqPeriod& period = report.period;
    std::vector<std::string> lines{
        "Complete days: " + std::to_string(period.completeDays) + " of " +
            std::to_string(report.days.size()) + " (records in at least " +
            std::to_string(kCompleteDayHours) + " of the day's 24 hours).",
        "WHO 24-hour guideline exceeded: PM2.5 (" + GuidelineText(kWhoDailyPm2_5) + " µg/m³) on " +
            std::to_string(period.exceedanceDaysPm2_5) + " complete day(s), PM10 (" +
            GuidelineText(kWhoDailyPm10) + " µg/m³) on " +
            std::to_string(period.exceedanceDaysPm10) + ".",
        "The guidelines allow 3-4 such days a year.",
        period.spansYear ? "Annual mean of complete days:"
                         : "Period mean of complete days (the records span less than a year, so "
                           "not an annual mean):",
    };
    lines.push_back(period.completeDays == 0
                        ? "none, no day is complete."
                        : AnnualText("PM2.5", period.mean.pm2_5, kWhoAnnualPm2_5) + ", " +
                              AnnualText("PM10", period.mean.pm10, kWhoAnnualPm10) + ".");
    return lines;
}

} // namespace kestrix::iaq
