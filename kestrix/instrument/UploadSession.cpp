#include "kestrix/instrument/UploadSession.h"

#include "kestrix/instrument/LocationBlocks.h"
#include "kestrix/instrument/RegisterMap.h"
#include "kestrix/instrument/sessionTexts.h"
#include "kestrix/instrument/uploadTexts.h"

#include <algorithm>
#include <utility>

namespace kestrix::instrument {

UploadSession::UploadSession(QObject* parent) : SessionCore(kIdentityRegisters, parent) {
    SetSteps({
        {RequestKind::ReadLocationCount,
         [this](std::int32_t parameter) {
             nameCount_ = 0;
             Runner().Send(RequestKind::ReadLocationCount, parameter,
                           RegisterRequest::ReadHolding(kLocationCountRegister, 1));
         },
         [this] {
             nameCount_ = Runner().Reply(1).Unsigned(0);
             Runner().End();
             emit IdentityShown(Identity());
             emit NameCountShown(nameCount_, CanUpload());
         }},
        {RequestKind::CheckIdentity,
         [this](std::int32_t parameter) { SendCheckIdentity(parameter); },
         [this] { TakeCheckIdentity(); }},
        IdleStep(),
        RegisterStep(
            RequestKind::WriteLocationName,
            [this](std::int32_t parameter) {
                return RegisterRequest::Write(NameRegister(parameter),
                                              NameRegisterValue(prepared_, parameter, highFirst_));
            },
            [this] { TakeWrite(); }),
    });
}

bool UploadSession::StartIdentification(std::optional<int> port, std::optional<int> address) {
    nameCount_ = 0;
    return SessionCore::StartIdentification(port, address);
}

// The identity block's reply is still on handle 0: the byte order needs its instrument code.
void UploadSession::TakeIdentity(const InstrumentIdentity& identity) {
    highFirst_ = IsHighByteFirst(identity, InstrumentCode(Runner().Reply(kIdentityRegisters)));
    Issue(RequestKind::ReadLocationCount, 0);
}

void UploadSession::StartUpload(const std::vector<std::string>& shortNames) {
    view_ = UploadView();
    ShowView();
    auto prepared = PrepareUploadNames(shortNames, nameCount_);
    if (const auto* rejection = std::get_if<NameRejection>(&prepared)) {
        End(rejection->repeated ? UploadOutcome::RepeatedName : UploadOutcome::InvalidName,
            SessionNotice{MessageIcon::Warning, rejection->title, rejection->text});
        return;
    }
    prepared_ = std::get<PreparedNames>(std::move(prepared));
    if (nameCount_ < 1) {
        view_.maximum = std::max(view_.maximum, 1);
        view_.value = view_.maximum;
        view_.noLocationsShown = true;
        view_.cancelCaption = sessionTexts::kCloseCaption;
        End(UploadOutcome::NoLocations);
        return;
    }
    view_.doNotUseShown = true;
    running_ = true;
    Issue(RequestKind::CheckIdentity, 0);
}

void UploadSession::ShowView() {
    emit UploadProgressChanged(view_);
}

void UploadSession::SendCheckIdentity(std::int32_t parameter) {
    view_.value = 0;
    view_.maximum = nameCount_;
    view_.progressText = uploadTexts::ProgressText(0, nameCount_);
    ShowView();
    Runner().Send(RequestKind::CheckIdentity, parameter,
                  RegisterRequest::ReadHolding(registers::kIdentityBlock, kIdentityRegisters));
}

void UploadSession::TakeCheckIdentity() {
    if (CheckSameIdle(kIdentityRegisters)) {
        Issue(RequestKind::WriteLocationName, 0);
    }
}

void UploadSession::TakeWrite() {
    const std::int32_t counter = Runner().Parameter();
    if (counter % kRegistersPerName == kRegistersPerName - 1) {
        ++view_.value;
        view_.progressText = uploadTexts::ProgressText(view_.value, nameCount_);
        ShowView();
    }
    if (counter + 1 < kRegistersPerName * nameCount_) {
        Issue(RequestKind::WriteLocationName, counter + 1);
        return;
    }
    view_.doNotUseShown = false;
    view_.doneShown = true;
    view_.cancelCaption = sessionTexts::kCloseCaption;
    End(UploadOutcome::Finished);
}

std::optional<SessionQuestion> UploadSession::PressQuestion() const {
    return SessionQuestion{sessionTexts::kQuestionTitle, uploadTexts::CancelUploadQuestion()};
}

void UploadSession::TakeFailure(RequestKind kind) {
    if (kind == RequestKind::WriteLocationName) {
        Ask(uploadTexts::kCannotUploadTitle, uploadTexts::CannotUploadQuestion(),
            [this](bool yes) { AnswerRetry(yes); });
    } // else the watchdog repeats the request
}

void UploadSession::AnswerRetry(bool yes) {
    if (yes) {
        Runner().ResetRetries();
        Issue(RequestKind::WriteLocationName, Runner().Parameter());
    } else {
        End(UploadOutcome::Cancelled);
        emit ButtonCarriedOut(WizardButton::Cancel);
    }
}

void UploadSession::LeaveRun() {
    running_ = false;
    ShowView();
}

void UploadSession::End(UploadOutcome outcome, const std::optional<SessionNotice>& notice) {
    EndRun(notice, outcome == UploadOutcome::LostCommunication);
    emit UploadEnded(outcome);
}

} // namespace kestrix::instrument
