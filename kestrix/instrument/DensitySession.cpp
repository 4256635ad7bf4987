#include "kestrix/instrument/DensitySession.h"

#include "kestrix/data/sensorName.h"
#include "kestrix/instrument/DensityValue.h"
#include "kestrix/instrument/RegisterMap.h"
#include "kestrix/instrument/sessionTexts.h"

namespace kestrix {

namespace {

// The write keeps the number the instrument's setup has always given it; the download's
// channel-tag read, which shares it, never runs in this session.
constexpr auto kWriteDensity = static_cast<RequestKind>(8);

std::string NotIaqText() {
    return std::string("This is not an IAQ instrument.") + sessionTexts::kLineBreak +
           "Its particle density cannot be changed.";
}

} // namespace

DensitySession::DensitySession(QObject* parent)
    : QObject(parent), runner_(*this), steps_(runner_, kDensityIdentityRegisters) {
    PassOnSignals();
}

DensitySession::~DensitySession() = default;

void DensitySession::PassOnSignals() {
    connect(&runner_, &RequestRunner::BusyChanged, this, &DensitySession::BusyChanged);
    connect(&steps_, &ConnectionSteps::ConnectProgressChanged, this,
            &DensitySession::ConnectProgressChanged);
    connect(&steps_, &ConnectionSteps::IdentityShown, this, &DensitySession::TakeIdentity);
    connect(&steps_, &ConnectionSteps::InstrumentNotFound, this,
            &DensitySession::InstrumentNotFound);
    connect(&steps_, &ConnectionSteps::CommunicationLost, this, &DensitySession::CommunicationLost);
    connect(&steps_, &ConnectionSteps::NoticeShown, this, &DensitySession::NoticeShown);
}

// The identity's own density is 2.5 below map version 143; this wizard shows the register.
void DensitySession::TakeIdentity(const InstrumentIdentity& identity) {
    densityRegister_ = runner_.Reply(kDensityIdentityRegisters).Unsigned(registers::kDensity);
    emit IdentityShown(identity);
}

bool DensitySession::IsIaq() const {
    return IsIaqSensorName(Identity().modelName);
}

bool DensitySession::StartIdentification(std::optional<int> port, std::optional<int> address) {
    writing_ = false;
    return steps_.Start(port, address);
}

bool DensitySession::SetConnection(int port, int address) {
    return steps_.Connect(port, address);
}

void DensitySession::CloseConnections() {
    runner_.Close();
}

bool DensitySession::Refuse(const std::string& text) {
    emit NoticeShown(MessageIcon::Warning, sessionTexts::kConfigurationErrorTitle, text);
    return false;
}

bool DensitySession::StartWrite(double gramsPerMillilitre) {
    if (!IsIdentified() || !IsIaq()) {
        return Refuse(NotIaqText());
    }
    if (const DensityProblem problem = CheckDensity(gramsPerMillilitre);
        problem != DensityProblem::None) {
        return Refuse(DensityProblemText(problem));
    }
    target_ = DensityRegisterValue(gramsPerMillilitre);
    writing_ = true;
    IssueRequest(RequestKind::CheckIdentity, 0);
    return true;
}

void DensitySession::ReadIdentityAgain() {
    steps_.Issue(RequestKind::ReadIdentity, 0);
}

void DensitySession::PressButton(WizardButton button) {
    runner_.Press(button);
    if (!runner_.IsBusy()) {
        CarryOutPending();
    }
}

void DensitySession::CarryOutPending() {
    const WizardButton button = runner_.TakePending();
    if (button != WizardButton::None) {
        emit ButtonCarriedOut(button);
    }
}

void DensitySession::IssueRequest(RequestKind kind, std::int32_t parameter) {
    if (IsIdentificationKind(kind)) {
        steps_.Issue(kind, parameter);
    } else if (kind == RequestKind::CheckIdentity) {
        runner_.Send(
            kind, parameter,
            RegisterRequest::ReadHolding(registers::kIdentityBlock, kDensityIdentityRegisters));
    } else {
        runner_.Send(
            kWriteDensity, parameter,
            RegisterRequest::Write(registers::kDensity, static_cast<std::int16_t>(target_)));
    }
}

void DensitySession::CompleteRequest(RequestKind kind, short result) {
    if (runner_.Pending() != WizardButton::None) {
        if (IsIdentificationKind(kind)) {
            runner_.End();
            CarryOutPending();
            return;
        }
        runner_.TakePending(); // the write runs to its end
    }
    Dispatch(kind, result);
}

void DensitySession::Dispatch(RequestKind kind, short result) {
    if (IsIdentificationKind(kind)) {
        steps_.Complete(kind, result);
    } else if (result != 0) {
        return; // the watchdog repeats the request
    } else if (kind == RequestKind::CheckIdentity) {
        CompleteCheckIdentity();
    } else {
        End(DensityOutcome::Written);
    }
}

void DensitySession::CompleteCheckIdentity() {
    const RegisterReply reply = runner_.Reply(kDensityIdentityRegisters);
    if (DecodeSerialNumber(reply) != Identity().serialNumber) {
        End(DensityOutcome::NotSameInstrument);
        return;
    }
    IssueRequest(kWriteDensity, 0);
}

// The session reaches its final state before anything is said, so a window that shows the
// notice modally finds nothing half done behind it.
void DensitySession::End(DensityOutcome outcome) {
    runner_.End();
    writing_ = false;
    if (outcome == DensityOutcome::NotSameInstrument) {
        emit NoticeShown(MessageIcon::Information, sessionTexts::kWarningTitle,
                         sessionTexts::NotSameInstrumentText());
    } else if (outcome == DensityOutcome::LostCommunication) {
        steps_.ReportLost();
    }
    emit WriteEnded(outcome);
}

void DensitySession::LoseCommunication() {
    if (writing_) {
        End(DensityOutcome::LostCommunication);
    } else {
        steps_.ReportLost();
    }
}

} // namespace kestrix
