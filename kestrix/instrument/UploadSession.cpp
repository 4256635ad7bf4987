#include "kestrix/instrument/UploadSession.h"

#include "kestrix/instrument/LocationBlocks.h"
#include "kestrix/instrument/RegisterMap.h"
#include "kestrix/instrument/sessionTexts.h"
#include "kestrix/instrument/uploadTexts.h"

#include <algorithm>
#include <utility>

namespace kestrix {

UploadSession::UploadSession(QObject* parent)
    : QObject(parent), runner_(*this), steps_(runner_, kIdentityRegisters) {
    PassOnSignals();
}

void UploadSession::PassOnSignals() {
    connect(&runner_, &RequestRunner::BusyChanged, this, &UploadSession::BusyChanged);
    connect(&steps_, &ConnectionSteps::ConnectProgressChanged, this,
            &UploadSession::ConnectProgressChanged);
    connect(&steps_, &ConnectionSteps::IdentityShown, this, &UploadSession::OnIdentified);
    connect(&steps_, &ConnectionSteps::InstrumentNotFound, this,
            &UploadSession::InstrumentNotFound);
    connect(&steps_, &ConnectionSteps::CommunicationLost, this, &UploadSession::CommunicationLost);
    connect(&steps_, &ConnectionSteps::NoticeShown, this, &UploadSession::NoticeShown);
}

bool UploadSession::StartIdentification(std::optional<int> port, std::optional<int> address) {
    nameCount_ = 0;
    return steps_.Start(port, address);
}

void UploadSession::CloseConnections() {
    runner_.Close();
}

// The identity block's reply is still on handle 0: the byte order needs its instrument code.
void UploadSession::OnIdentified() {
    highFirst_ = IsHighByteFirst(Identity(), InstrumentCode(runner_.Reply(kIdentityRegisters)));
    IssueRequest(RequestKind::ReadLocationCount, 0);
}

void UploadSession::StartUpload(const std::vector<std::string>& shortNames) {
    view_ = UploadView();
    ShowView();
    auto prepared = PrepareUploadNames(shortNames, nameCount_);
    if (const auto* rejection = std::get_if<NameRejection>(&prepared)) {
        End(rejection->backToReview ? UploadOutcome::InvalidName : UploadOutcome::RepeatedName,
            MessageIcon::Warning, rejection->title, rejection->text);
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
    IssueRequest(RequestKind::CheckIdentity, 0);
}

void UploadSession::ShowView() {
    emit UploadProgressChanged(view_);
}

void UploadSession::IssueRequest(RequestKind kind, std::int32_t parameter) {
    switch (kind) {
    case RequestKind::ReadLocationCount:
        nameCount_ = 0;
        runner_.Send(kind, parameter, RegisterRequest::ReadHolding(kLocationCountRegister, 1));
        break;
    case RequestKind::CheckIdentity:
        view_.value = 0;
        view_.maximum = nameCount_;
        view_.progressText = uploadTexts::ProgressText(0, nameCount_);
        ShowView();
        runner_.Send(kind, parameter,
                     RegisterRequest::ReadHolding(registers::kIdentityBlock, kIdentityRegisters));
        break;
    case RequestKind::MakeIdle:
        runner_.Send(kind, parameter,
                     RegisterRequest::Write(registers::kCommand, registers::kIdleCommand));
        break;
    case RequestKind::WriteLocationName:
        runner_.Send(kind, parameter,
                     RegisterRequest::Write(NameRegister(parameter),
                                            NameRegisterValue(prepared_, parameter, highFirst_)));
        break;
    default:
        steps_.Issue(kind, parameter);
        break;
    }
}

void UploadSession::CompleteRequest(RequestKind kind, short result) {
    if (runner_.Pending() == WizardButton::None) {
        Dispatch(kind, result);
    } else if (IsIdentificationKind(kind)) {
        runner_.End();
        CarryOutPending();
    } else {
        askedKind_ = kind;
        askedResult_ = result;
        Ask(Question::CancelUpload, sessionTexts::kQuestionTitle,
            uploadTexts::CancelUploadQuestion());
    }
}

void UploadSession::Dispatch(RequestKind kind, short result) {
    if (IsIdentificationKind(kind)) {
        steps_.Complete(kind, result);
    } else if (result == 0) {
        CompleteUploadRequest(kind);
    } else if (kind == RequestKind::WriteLocationName) {
        Ask(Question::RetryWrite, uploadTexts::kCannotUploadTitle,
            uploadTexts::CannotUploadQuestion());
    } // else the watchdog repeats the request
}

void UploadSession::Ask(Question question, const std::string& title, const std::string& text) {
    question_ = question;
    runner_.Hold();
    emit QuestionAsked(title, text);
}

void UploadSession::AnswerQuestion(bool yes) {
    if (!runner_.IsHeld()) {
        return;
    }
    runner_.Release();
    const Question question = std::exchange(question_, Question::None);
    if (question == Question::RetryWrite) {
        if (yes) {
            runner_.ResetRetries();
            IssueRequest(RequestKind::WriteLocationName, runner_.Parameter());
        } else {
            End(UploadOutcome::Cancelled);
            emit ButtonCarriedOut(WizardButton::Cancel);
        }
        return;
    }
    if (yes) {
        End(UploadOutcome::Cancelled);
        CarryOutPending();
        return;
    }
    runner_.TakePending();
    // The reply still waits on handle 0: nothing was sent while the question was open.
    Dispatch(askedKind_, askedResult_);
    runner_.WatchWhileBusy();
}

void UploadSession::PressButton(WizardButton button) {
    if (runner_.IsHeld()) {
        return; // the question open concerns the press already made
    }
    runner_.Press(button);
    if (!runner_.IsBusy()) {
        CarryOutPending();
    }
}

void UploadSession::CarryOutPending() {
    const WizardButton button = runner_.TakePending();
    if (button != WizardButton::None) {
        emit ButtonCarriedOut(button);
    }
}

void UploadSession::CompleteUploadRequest(RequestKind kind) {
    switch (kind) {
    case RequestKind::ReadLocationCount:
        nameCount_ = runner_.Reply(1).Unsigned(0);
        runner_.End();
        emit IdentityShown(Identity());
        emit NameCountShown(nameCount_, CanUpload());
        break;
    case RequestKind::CheckIdentity:
        CompleteCheckIdentity();
        break;
    case RequestKind::MakeIdle:
        IssueRequest(RequestKind::CheckIdentity, 0);
        break;
    case RequestKind::WriteLocationName:
        CompleteWrite();
        break;
    default:
        runner_.End();
        break;
    }
}

void UploadSession::CompleteCheckIdentity() {
    const RegisterReply reply = runner_.Reply(kIdentityRegisters);
    if (DecodeSerialNumber(reply) != Identity().serialNumber) {
        End(UploadOutcome::NotSameInstrument, MessageIcon::Information, sessionTexts::kWarningTitle,
            sessionTexts::NotSameInstrumentText());
        return;
    }
    if (DecodeBusy(reply)) {
        IssueRequest(RequestKind::MakeIdle, 0);
        return;
    }
    IssueRequest(RequestKind::WriteLocationName, 0);
}

void UploadSession::CompleteWrite() {
    const std::int32_t counter = runner_.Parameter();
    if (counter % kRegistersPerName == kRegistersPerName - 1) {
        ++view_.value;
        view_.progressText = uploadTexts::ProgressText(view_.value, nameCount_);
        ShowView();
    }
    if (counter + 1 < kRegistersPerName * nameCount_) {
        IssueRequest(RequestKind::WriteLocationName, counter + 1);
        return;
    }
    view_.doNotUseShown = false;
    view_.doneShown = true;
    view_.cancelCaption = sessionTexts::kCloseCaption;
    End(UploadOutcome::Finished);
}

// The session reaches its final state before anything is said, so a window that shows the
// notice modally finds nothing half done behind it.
void UploadSession::End(UploadOutcome outcome, MessageIcon icon, const std::string& title,
                        const std::string& text) {
    runner_.End();
    running_ = false;
    question_ = Question::None;
    ShowView();
    if (!text.empty()) {
        emit NoticeShown(icon, title, text);
    }
    if (outcome == UploadOutcome::LostCommunication) {
        steps_.ReportLost();
    }
    emit UploadEnded(outcome);
}

void UploadSession::LoseCommunication() {
    if (running_) {
        End(UploadOutcome::LostCommunication);
        return;
    }
    steps_.ReportLost();
}

} // namespace kestrix
