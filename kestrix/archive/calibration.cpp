#include "kestrix/archive/calibration.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace kestrix::archive {

namespace {

constexpr const char* kDateFormat = "yyyy-MM-dd";

bool HasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

// The calibration an event holds for the instrument. The event's own details name the instrument,
// also when the archive did not hold it then.
std::optional<Calibration> CalibrationIn(const EventEntry& entry, const std::string& model,
                                         std::int32_t serial) {
    if (entry.event.kind != kEventCalibration) {
        return std::nullopt;
    }
    try {
        const nlohmann::json details = nlohmann::json::parse(entry.event.details);
        if (details.at("model").get<std::string>() != model ||
            details.at("serial").get<std::int32_t>() != serial) {
            return std::nullopt;
        }
        Calibration calibration{details.at("certificate").get<std::string>(),
                                ParseCalibrationDate(details.at("date").get<std::string>()),
                                ParseCalibrationDate(details.at("due").get<std::string>())};
        if (!CalibrationProblem(calibration).empty()) {
            return std::nullopt;
        }
        return calibration;
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

} // namespace

QDate ParseCalibrationDate(const std::string& text) {
    return QDate::fromString(QString::fromStdString(text), QLatin1String(kDateFormat));
}

std::string FormatCalibrationDate(const QDate& date) {
    return date.toString(QLatin1String(kDateFormat)).toStdString();
}

std::string CalibrationProblem(const Calibration& calibration) {
    if (calibration.certificate.empty() || HasControlCharacter(calibration.certificate)) {
        return "the certificate must be given, without control characters";
    }
    if (calibration.certificate.size() > kMaxCertificateLength) {
        return "the certificate has more than " + std::to_string(kMaxCertificateLength) +
               " characters";
    }
    if (!calibration.date.isValid() || !calibration.due.isValid()) {
        return "the dates must be given as YYYY-MM-DD";
    }
    if (calibration.due < calibration.date) {
        return "the due date " + FormatCalibrationDate(calibration.due) +
               " is before the calibration date " + FormatCalibrationDate(calibration.date);
    }
    return {};
}

ActivityNote CalibrationNote(const std::string& model, std::int32_t serial,
                             const Calibration& calibration) {
    const nlohmann::ordered_json details = {{"model", model},
                                            {"serial", serial},
                                            {"certificate", calibration.certificate},
                                            {"date", FormatCalibrationDate(calibration.date)},
                                            {"due", FormatCalibrationDate(calibration.due)}};
    return {kEventCalibration,
            details.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), model, serial};
}

std::optional<Calibration> LatestCalibration(const std::vector<EventEntry>& events,
                                             const std::string& model, std::int32_t serial) {
    for (auto entry = events.rbegin(); entry != events.rend(); ++entry) {
        if (std::optional<Calibration> calibration = CalibrationIn(*entry, model, serial)) {
            return calibration;
        }
    }
    return std::nullopt;
}

std::vector<InstrumentCalibration> InstrumentCalibrations(Archive& archive) {
    const ReadTransaction snapshot(archive.Database());
    const std::vector<EventEntry> events = ReadEvents(archive.Database());
    std::vector<InstrumentCalibration> rows;
    for (InstrumentSummary& instrument : ListInstruments(archive.Database())) {
        std::optional<Calibration> calibration =
            LatestCalibration(events, instrument.model, instrument.serial);
        rows.push_back({std::move(instrument), std::move(calibration)});
    }
    return rows;
}

std::string CalibrationWarning(const std::optional<Calibration>& calibration, const QDate& on) {
    if (!calibration) {
        return "No calibration of the instrument is known.";
    }
    if (on > calibration->due) {
        return "The instrument's calibration (certificate " + calibration->certificate +
               ") was due on " + FormatCalibrationDate(calibration->due) + ".";
    }
    return {};
}

std::string CalibrationText(const Calibration& calibration) {
    return "certificate " + calibration.certificate + ", calibrated " +
           FormatCalibrationDate(calibration.date) + ", due " +
           FormatCalibrationDate(calibration.due);
}

std::optional<Calibration> ArchivedCalibration(const ArchiveSettings& settings,
                                               const std::string& model, std::int32_t serial) {
    if (!settings.enabled || !settings.problem.empty()) {
        return std::nullopt;
    }
    try {
        Archive archive(settings, Access::kRead);
        return LatestCalibration(archive.Events(), model, serial);
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
}

CalibrationStatement StateCalibration(const ArchiveSettings& settings, const std::string& model,
                                      std::int32_t serial, base::DateTime day) {
    const std::optional<Calibration> calibration = ArchivedCalibration(settings, model, serial);
    if (!calibration) {
        return {};
    }
    const base::CivilDateTime civil = base::ToCivilDateTime(day);
    return {CalibrationText(*calibration),
            CalibrationWarning(calibration, QDate(civil.year, civil.month, civil.day))};
}

std::string PastDueWarning(const ArchiveSettings& settings, const std::string& model,
                           std::int32_t serial, const QDate& on) {
    const std::optional<Calibration> calibration = ArchivedCalibration(settings, model, serial);
    return calibration ? CalibrationWarning(calibration, on) : std::string();
}

} // namespace kestrix::archive
