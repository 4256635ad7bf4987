#include "kestrix/instrument/SessionCore.h"

#include "kestrix/instrument/RegisterMap.h"
#include "kestrix/instrument/sessionTexts.h"

#include <algorithm>
#include <utility>

namespace kestrix::instrument {

SessionCore::SessionCore(int identityRegisters, QObject* parent)
    : QObject(parent), runner_(*this), connection_(runner_, identityRegisters) {
    PassOnSignals();
}

void SessionCore::PassOnSignals() {
    connect(&runner_, &RequestRunner::BusyChanged, this, [this](bool busy) {
        StateMayHaveChanged();
        emit BusyChanged(busy);
    });
    connect(&connection_, &ConnectionSteps::ConnectProgressChanged, this,
            &SessionCore::ConnectProgressChanged);
    connect(&connection_, &ConnectionSteps::IdentityShown, this,
            [this](const InstrumentIdentity& identity) {
                StateMayHaveChanged();
                TakeIdentity(identity);
            });
    connect(&connection_, &ConnectionSteps::InstrumentNotFound, this,
            &SessionCore::InstrumentNotFound);
    connect(&connection_, &ConnectionSteps::CommunicationLost, this,
            &SessionCore::CommunicationLost);
    connect(&connection_, &ConnectionSteps::NoticeShown, this, &SessionCore::NoticeShown);
}

bool SessionCore::StartIdentification(std::optional<int> port, std::optional<int> address) {
    return connection_.Start(port, address);
}

bool SessionCore::SetConnection(int port, int address) {
    return connection_.Connect(port, address);
}

void SessionCore::CloseConnections() {
    runner_.Close();
}

void SessionCore::PressButton(WizardButton button) {
    if (runner_.IsHeld()) {
        return; // the question open concerns the press already made
    }
    pending_ = button;
    if (!runner_.IsBusy()) {
        CarryOutPending();
    }
}

void SessionCore::CarryOutPending() {
    const WizardButton button = std::exchange(pending_, WizardButton::None);
    if (button != WizardButton::None) {
        emit ButtonCarriedOut(button);
    }
}

const SessionStep* SessionCore::Find(RequestKind kind) const {
    const auto step = std::find_if(steps_.begin(), steps_.end(),
                                   [kind](const SessionStep& s) { return s.kind == kind; });
    return step == steps_.end() ? nullptr : &*step;
}

void SessionCore::Issue(RequestKind kind, std::int32_t parameter) {
    if (IsIdentificationKind(kind)) {
        connection_.Issue(kind, parameter);
    } else if (const SessionStep* step = Find(kind)) {
        step->send(parameter);
    } else {
        runner_.End();
    }
}

void SessionCore::IssueRequest(RequestKind kind, std::int32_t parameter) {
    Issue(kind, parameter);
}

void SessionCore::CompleteRequest(RequestKind kind, short result) {
    if (pending_ != WizardButton::None) {
        if (IsIdentificationKind(kind)) {
            runner_.End();
            CarryOutPending();
            return;
        }
        if (const auto question = PressQuestion()) {
            AskAboutPending(*question, kind, result);
            return;
        }
        pending_ = WizardButton::None;
    }
    Dispatch(kind, result);
}

void SessionCore::Dispatch(RequestKind kind, short result) {
    if (IsIdentificationKind(kind)) {
        connection_.Complete(kind, result);
    } else if (result != 0) {
        TakeFailure(kind);
    } else if (const SessionStep* step = Find(kind)) {
        step->take();
    } else {
        runner_.End();
    }
}

void SessionCore::Ask(const std::string& title, const std::string& text,
                      std::function<void(bool yes)> answer) {
    answer_ = std::move(answer);
    runner_.Hold();
    StateMayHaveChanged();
    emit QuestionAsked(title, text);
}

// The reply waits on handle 0 while the question is open: nothing is sent meanwhile.
void SessionCore::AskAboutPending(const SessionQuestion& question, RequestKind kind, short result) {
    Ask(question.title, question.text, [this, kind, result](bool yes) {
        if (yes) {
            CancelRun();
            CarryOutPending();
            return;
        }
        pending_ = WizardButton::None;
        StateMayHaveChanged();
        Dispatch(kind, result);
        runner_.WatchWhileBusy();
    });
}

void SessionCore::AnswerQuestion(bool yes) {
    if (!runner_.IsHeld()) {
        return;
    }
    runner_.Release();
    if (const auto answer = std::exchange(answer_, nullptr)) {
        answer(yes);
    }
}

SessionStep SessionCore::RegisterStep(RequestKind kind,
                                      std::function<RegisterRequest(std::int32_t)> request,
                                      std::function<void()> take) {
    return {kind,
            [this, kind, request = std::move(request)](std::int32_t parameter) {
                runner_.Send(kind, parameter, request(parameter));
            },
            std::move(take)};
}

SessionStep SessionCore::IdleStep() {
    return RegisterStep(
        RequestKind::MakeIdle,
        [](std::int32_t) {
            return RegisterRequest::Write(registers::kCommand, registers::kIdleCommand);
        },
        [this] { Issue(RequestKind::CheckIdentity, 0); });
}

bool SessionCore::CheckSameIdle(int identityRegisters) {
    const RegisterReply reply = runner_.Reply(identityRegisters);
    if (DecodeSerialNumber(reply) != Identity().serialNumber) {
        MeetOtherInstrument();
        return false;
    }
    if (DecodeBusy(reply)) {
        Issue(RequestKind::MakeIdle, 0);
        return false;
    }
    return true;
}

SessionNotice SessionCore::OtherInstrumentNotice() {
    return {MessageIcon::Information, sessionTexts::kWarningTitle,
            sessionTexts::NotSameInstrumentText()};
}

void SessionCore::EndRun(const std::optional<SessionNotice>& notice, bool lost) {
    runner_.End();
    LeaveRun();
    if (notice) {
        emit NoticeShown(notice->icon, notice->title, notice->text);
    }
    if (lost) {
        connection_.ReportLost();
    }
}

void SessionCore::LoseCommunication() {
    pending_ = WizardButton::None;
    if (IsRunning()) {
        LoseRun();
        return;
    }
    StateMayHaveChanged();
    connection_.ReportLost();
}

} // namespace kestrix::instrument
