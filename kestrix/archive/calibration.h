#pragma once

// An instrument's calibration: the certificate, the day it was calibrated and the day it is due
// again. It is kept as an event of the audit trail, so the chain covers it and every change
// stays on record; the newest one stands.

#include "kestrix/archive/activityNotes.h"
#include "kestrix/archive/archiveEvents.h"
#include "kestrix/archive/archiveQuery.h"
#include "kestrix/archive/archiveSettings.h"
#include "kestrix/base/dateTime.h"

#include <QDate>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrix::archive {

inline constexpr std::size_t kMaxCertificateLength = 64;

struct Calibration {
    std::string certificate;
    QDate date;
    QDate due;
};

class Archive;

struct InstrumentCalibration {
    InstrumentSummary instrument;
    std::optional<Calibration> calibration; // none known
};

// Dates are written YYYY-MM-DD; anything else is no date.
QDate ParseCalibrationDate(const std::string& text);
std::string FormatCalibrationDate(const QDate& date);

// Why the calibration cannot be kept, or empty.
std::string CalibrationProblem(const Calibration& calibration);

ActivityNote CalibrationNote(const std::string& model, std::int32_t serial,
                             const Calibration& calibration);

// The instrument's newest calibration in the trail.
std::optional<Calibration> LatestCalibration(const std::vector<EventEntry>& events,
                                             const std::string& model, std::int32_t serial);

// Every archived instrument with the calibration that stands, read in one snapshot.
std::vector<InstrumentCalibration> InstrumentCalibrations(Archive& archive);

// The warning for data taken or a test made on the day: none known, or past its due date.
// Empty while the calibration stands.
std::string CalibrationWarning(const std::optional<Calibration>& calibration, const QDate& on);

// "certificate C-2, calibrated 2026-01-10, due 2027-01-10".
std::string CalibrationText(const Calibration& calibration);

// The calibration the archive of the settings holds for the instrument; none when it holds none
// or cannot be read (its own messages say why).
std::optional<Calibration> ArchivedCalibration(const ArchiveSettings& settings,
                                               const std::string& model, std::int32_t serial);

// A report's statement of the instrument's calibration, and the warning when the test on `day`
// came after its due date; both empty when the archive knows none.
struct CalibrationStatement {
    std::string text;
    std::string warning;
};
CalibrationStatement StateCalibration(const ArchiveSettings& settings, const std::string& model,
                                      std::int32_t serial, base::DateTime day);

// What a download says when the calibration that the archive holds for the instrument is past
// due on the day. Empty otherwise, and when the archive cannot be read: its own messages say why.
std::string PastDueWarning(const ArchiveSettings& settings, const std::string& model,
                           std::int32_t serial, const QDate& on);

} // namespace kestrix::archive
