#pragma once

// The IAQ setup wizard's session: the connection and identification of every session over the
// first 44 registers, with the particle density of register 43 whatever the map version; then,
// on request, the identity checked again and the new density written into register 43. No
// widget: a window binds to the signals and calls the methods below; nothing needs polling.
//
// Beside the calls and signals of every session (see SessionCore):
//   StartWrite(density)                 entering step 5; false (with a notice), nothing sent,
//                                       for an instrument that is not an IAQ one or a density
//                                       that is zero or does not fit the register
//   ReadIdentityAgain()                 the identity and density read once more (IdentityShown,
//                                       with IsIaq() and DensityRegister() set)
//   WriteEnded(outcome)                 the write of step 5 is over (see DensityOutcome)
//
// The session asks no question: nothing the user presses can stop a write once it is sent, so
// a press during the write is dropped and the write runs to its end.

#include "kestrix/instrument/SessionCore.h"

#include <cstdint>

namespace kestrix::instrument {

enum class DensityOutcome {
    Written,
    // The serial number read before the write is not the one identified.
    NotSameInstrument,
    LostCommunication,
};

// Registers of the identity block read by this session: up to and with the density.
inline constexpr int kDensityIdentityRegisters = 44;

class DensitySession : public SessionCore {
    Q_OBJECT

public:
    explicit DensitySession(QObject* parent = nullptr);
    ~DensitySession() override;

    bool StartIdentification(std::optional<int> port, std::optional<int> address) override;
    bool StartWrite(double gramsPerMillilitre);
    void ReadIdentityAgain();

    bool IsWriting() const { return writing_; }
    // The model name holds "IAQ" in any letter case.
    bool IsIaq() const;
    // Register 43 as identified: thousandths of a gram per millilitre.
    std::uint16_t DensityRegister() const { return densityRegister_; }
    // The register value of the write under way or last made.
    std::uint16_t WrittenRegister() const { return target_; }

signals:
    void WriteEnded(kestrix::instrument::DensityOutcome outcome);

private:
    bool IsRunning() const override { return writing_; }
    void LoseRun() override { End(DensityOutcome::LostCommunication); }
    void LeaveRun() override { writing_ = false; }
    void TakeIdentity(const InstrumentIdentity& identity) override;

    bool Refuse(const std::string& text);
    void TakeCheckIdentity();
    void End(DensityOutcome outcome);

    std::uint16_t densityRegister_ = 0;
    std::uint16_t target_ = 0;
    bool writing_ = false;
};

} // namespace kestrix::instrument
