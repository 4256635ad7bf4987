#include "kestrix/archive/signingTexts.h"

#include <QDateTime>

namespace kestrix::archive {

std::string SignatureLine(const ArchiveEvent& event) {
    const std::string comment = EventDetail(event, "comment");
    const std::string name = PrintedName(event);
    return EventDetail(event, "meaning") + " by " + name + " (" + event.userName + ") at " +
           event.happenedAt + ", event " + std::to_string(event.id) +
           (comment.empty() ? "" : ": " + comment);
}

std::string OutcomeText(const SignOutcome& outcome) {
    switch (outcome.status) {
    case SignOutcome::Status::kSigned:
        return "signed: " + SignatureLine(outcome.event);
    case SignOutcome::Status::kLocked:
        return "signing is locked until " +
               outcome.lockedUntil.toLocalTime().toString(Qt::ISODate).toStdString() + " after " +
               std::to_string(kFailuresBeforeLock) +
               " wrong passwords in a row; nothing was signed";
    case SignOutcome::Status::kRefused:
        break;
    }
    return "the password is wrong; nothing was signed (" + std::to_string(outcome.failuresInRow) +
           " of " + std::to_string(kFailuresBeforeLock) + " tries)";
}

} // namespace kestrix::archive
