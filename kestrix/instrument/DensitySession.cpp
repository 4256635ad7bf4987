#include "kestrix/instrument/DensitySession.h"

#include "kestrix/data/sensorName.h"
#include "kestrix/instrument/DensityValue.h"
#include "kestrix/instrument/RegisterMap.h"
#include "kestrix/instrument/sessionTexts.h"

namespace kestrix::instrument {

namespace {

std::string NotIaqText() {
    return std::string("This is not an IAQ instrument.") + sessionTexts::kLineBreak +
           "Its particle density cannot be changed.";
}

} // namespace

DensitySession::DensitySession(QObject* parent) : SessionCore(kDensityIdentityRegisters, parent) {
    SetSteps({
        RegisterStep(
            RequestKind::CheckIdentity,
            [](std::int32_t) {
                return RegisterRequest::ReadHolding(registers::kIdentityBlock,
                                                    kDensityIdentityRegisters);
            },
            [this] { TakeCheckIdentity(); }),
        RegisterStep(
            RequestKind::WriteDensity,
            [this](std::int32_t) {
                return RegisterRequest::Write(registers::kDensity,
                                              static_cast<std::int16_t>(target_));
            },
            [this] { End(DensityOutcome::Written); }),
    });
}

DensitySession::~DensitySession() = default;

// The identity's own density is 2.5 below map version 143; this wizard shows the register.
void DensitySession::TakeIdentity(const InstrumentIdentity& identity) {
    densityRegister_ = Runner().Reply(kDensityIdentityRegisters).Unsigned(registers::kDensity);
    emit IdentityShown(identity);
}

bool DensitySession::IsIaq() const {
    return data::IsIaqSensorName(Identity().modelName);
}

bool DensitySession::StartIdentification(std::optional<int> port, std::optional<int> address) {
    writing_ = false;
    return SessionCore::StartIdentification(port, address);
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
    Issue(RequestKind::CheckIdentity, 0);
    return true;
}

void DensitySession::ReadIdentityAgain() {
    Issue(RequestKind::ReadIdentity, 0);
}

void DensitySession::TakeCheckIdentity() {
    const RegisterReply reply = Runner().Reply(kDensityIdentityRegisters);
    if (DecodeSerialNumber(reply) != Identity().serialNumber) {
        End(DensityOutcome::NotSameInstrument);
        return;
    }
    Issue(RequestKind::WriteDensity, 0);
}

void DensitySession::End(DensityOutcome outcome) {
    EndRun(outcome == DensityOutcome::NotSameInstrument
               ? std::optional<SessionNotice>(OtherInstrumentNotice())
               : std::nullopt,
           outcome == DensityOutcome::LostCommunication);
    emit WriteEnded(outcome);
}

} // namespace kestrix::instrument
