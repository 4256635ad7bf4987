#include "kestrix/archive/signing.h"

#include "kestrix/archive/Archive.h"
#include "kestrix/archive/ArchiveError.h"
#include "kestrix/archive/passwordCheck.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

namespace kestrix::archive {

namespace {

constexpr std::array<const char*, 3> kMeanings = {"reviewed", "approved", "rejected"};

struct SignerState {
    int failuresInRow = 0;
    QDateTime lockedUntil; // invalid unless locked now
};

QDateTime Now(ArchiveDatabase& database) {
    return database.GetEngine() == Engine::kPostgres
               ? database.Single("SELECT clock_timestamp()").toDateTime()
               : QDateTime::currentDateTime();
}

// The newest signing events of the user, back to the last that was no wrong password.
SignerState ReadSignerState(ArchiveDatabase& database, const std::string& user) {
    QSqlQuery query = database.Run(
        "SELECT kind, happened_at FROM events WHERE user_name = ? AND kind IN (?, ?, ?) "
        "ORDER BY id DESC LIMIT " +
            QString::number(kFailuresBeforeLock + 1),
        {QString::fromStdString(user), QString(kEventSignature), QString(kEventSignatureRefused),
         QString(kEventSigningLocked)});
    SignerState state;
    while (database.Next(query) && query.value(0).toString() == kEventSignatureRefused) {
        ++state.failuresInRow;
    }
    if (query.isValid() && query.value(0).toString() == kEventSigningLocked) {
        const QDateTime until = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs)
                                    .addSecs(kSigningLockSeconds);
        if (until > Now(database)) {
            state.lockedUntil = until;
        }
    }
    return state;
}

std::string Details(const SignatureRequest& request, const nlohmann::ordered_json& more) {
    nlohmann::ordered_json details =
        request.content.file.empty()
            ? nlohmann::ordered_json{{"signed", "download"},
                                     {"event", *request.content.downloadEvent}}
            : nlohmann::ordered_json{{"signed", "file"}, {"file", request.content.file}};
    details["sha256"] = request.content.sha256;
    details.update(more);
    return details.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

ArchiveEvent SignatureEvent(const SignatureRequest& request) {
    nlohmann::ordered_json more = {{"meaning", request.meaning}};
    if (!request.comment.empty()) {
        more["comment"] = request.comment;
    }
    ArchiveEvent event;
    event.kind = kEventSignature;
    event.instrumentId = request.content.instrumentId;
    event.downloadId = request.content.downloadId;
    event.recordsHash = request.content.sha256;
    event.details = Details(request, more);
    return event;
}

ArchiveEvent Refusal(const SignatureRequest& request) {
    ArchiveEvent event;
    event.kind = kEventSignatureRefused;
    event.instrumentId = request.content.instrumentId;
    event.details = Details(request, {{"meaning", request.meaning}, {"reason", "wrong password"}});
    return event;
}

ArchiveEvent Lock() {
    ArchiveEvent event;
    event.kind = kEventSigningLocked;
    event.details = nlohmann::ordered_json{{"wrong_passwords", kFailuresBeforeLock},
                                           {"seconds", kSigningLockSeconds}}
                        .dump();
    return event;
}

PasswordVerdict CheckPassword(Archive& archive, const ArchiveSettings& settings,
                              const std::string& user, const std::string& password) {
    return archive.Database().GetEngine() == Engine::kPostgres
               ? CheckServerPassword(settings, password)
               : CheckLoginPassword(user, password);
}

SignOutcome Locked(const SignerState& state) {
    SignOutcome outcome;
    outcome.status = SignOutcome::Status::kLocked;
    outcome.failuresInRow = state.failuresInRow;
    outcome.lockedUntil = state.lockedUntil;
    return outcome;
}

} // namespace

std::span<const char* const> SignatureMeanings() {
    return kMeanings;
}

bool IsSignatureMeaning(const std::string& meaning) {
    return std::find(kMeanings.begin(), kMeanings.end(), meaning) != kMeanings.end();
}

std::string SignerName(Archive& archive) {
    ArchiveDatabase& database = archive.Database();
    return database.GetEngine() == Engine::kPostgres
               ? database.Single("SELECT session_user").toString().toStdString()
               : CurrentUserName();
}

SignOutcome Sign(Archive& archive, const ArchiveSettings& settings, const SignatureRequest& request,
                 const std::string& password) {
    if (!IsSignatureMeaning(request.meaning)) {
        throw ArchiveError("\"" + request.meaning +
                           "\" is no meaning of a signature: reviewed, approved or rejected");
    }
    ArchiveDatabase& database = archive.Database();
    const std::string user = SignerName(archive);
    if (const SignerState before = ReadSignerState(database, user); before.lockedUntil.isValid()) {
        return Locked(before);
    }
    // Checked outside the write lock: a refusal may take PAM's delay.
    const PasswordVerdict verdict = CheckPassword(archive, settings, user, password);
    WriteTransaction transaction(database);
    const SignerState state = ReadSignerState(database, user);
    if (state.lockedUntil.isValid()) {
        return Locked(state);
    }
    SignOutcome outcome;
    if (verdict == PasswordVerdict::kAccepted) {
        outcome.status = SignOutcome::Status::kSigned;
        outcome.event = AppendEvent(database, SignatureEvent(request));
    } else {
        outcome.event = AppendEvent(database, Refusal(request));
        outcome.failuresInRow = state.failuresInRow + 1;
        if (outcome.failuresInRow >= kFailuresBeforeLock) {
            const ArchiveEvent lock = AppendEvent(database, Lock());
            outcome.status = SignOutcome::Status::kLocked;
            outcome.lockedUntil =
                QDateTime::fromString(QString::fromStdString(lock.happenedAt), Qt::ISODateWithMs)
                    .addSecs(kSigningLockSeconds);
        }
    }
    transaction.Commit();
    return outcome;
}

} // namespace kestrix::archive
