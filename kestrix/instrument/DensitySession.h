#pragma once

// The IAQ setup wizard's session: the connection and identification of every session over the
// first 44 registers, with the particle density of register 43 whatever the map version; then,
// on request, the identity checked again and the new density written into register 43. No
// widget: a window binds to the signals and calls the methods below; nothing needs polling.
//
// Methods a window calls:
//   StartIdentification(port, address)  entering step 3 from step 2; false (with a notice) when
//                                       the wizard stays at step 2
//   StartWrite(density)                 entering step 5; false (with a notice), nothing sent,
//                                       for an instrument that is not an IAQ one or a density
//                                       that is zero or does not fit the register
//   ReadIdentityAgain()                 the identity and density read once more (IdentityShown)
//   PressButton(button)                 Prev, Next or Cancel; carried out at once while idle
//                                       (ButtonCarriedOut); during identification at the next
//                                       completion; during the write dropped, so it runs to
//                                       its end
//   CloseConnections()                  when the wizard is hidden
//
// Signals, each carrying what changed:
//   BusyChanged(busy)                   a request is outstanding (presses are deferred)
//   ConnectProgressChanged(progress)    step 3's bar: value, maximum, text, text visible
//   IdentityShown(identity)             step 3's labels; IsIaq() and DensityRegister() are set
//   InstrumentNotFound()                step 3 shows the not-found text
//   CommunicationLost()                 after the lost-communication notice: back to step 2
//   WriteEnded(outcome)                 the write of step 5 is over (see DensityOutcome)
//   NoticeShown(icon, title, text)      a message box to show; the session has already
//                                       reached its next state
//   ButtonCarriedOut(button)            the wizard moves: Prev, Next, or Cancel hides it
//
// The session asks no question: nothing the user presses can stop a write once it is sent.

#include "kestrix/instrument/ConnectionSteps.h"
#include "kestrix/instrument/RequestRunner.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kestrix {

enum class DensityOutcome {
    Written,
    // The serial number read before the write is not the one identified.
    NotSameInstrument,
    LostCommunication,
};

// Registers of the identity block read by this session: up to and with the density.
inline constexpr int kDensityIdentityRegisters = 44;

class DensitySession : public QObject, private RequestClient {
    Q_OBJECT

public:
    explicit DensitySession(QObject* parent = nullptr);
    ~DensitySession() override;

    bool StartIdentification(std::optional<int> port, std::optional<int> address);
    // False, touching nothing, unless 0 < port < 33 and 0 <= address < 100; address 0 scans.
    bool SetConnection(int port, int address);
    bool StartWrite(double gramsPerMillilitre);
    void ReadIdentityAgain();
    void PressButton(WizardButton button);
    void CloseConnections();

    bool IsBusy() const { return runner_.IsBusy(); }
    bool IsWriting() const { return writing_; }
    bool IsIdentified() const { return steps_.IsIdentified(); }
    const InstrumentIdentity& Identity() const { return steps_.Identity(); }
    // The model name holds "IAQ" in any letter case.
    bool IsIaq() const;
    // Register 43 as identified: thousandths of a gram per millilitre.
    std::uint16_t DensityRegister() const { return densityRegister_; }
    // The register value of the write under way or last made.
    std::uint16_t WrittenRegister() const { return target_; }
    int SlaveAddress() const { return runner_.SlaveAddress(); }
    const ConnectProgress& Progress() const { return steps_.Progress(); }
    std::string SerialNumberText() const { return FormatSerialNumber(Identity().serialNumber); }

signals:
    void BusyChanged(bool busy);
    void ConnectProgressChanged(const kestrix::ConnectProgress& progress);
    void IdentityShown(const kestrix::InstrumentIdentity& identity);
    void InstrumentNotFound();
    void CommunicationLost();
    void WriteEnded(kestrix::DensityOutcome outcome);
    void NoticeShown(kestrix::MessageIcon icon, const std::string& title, const std::string& text);
    void ButtonCarriedOut(kestrix::WizardButton button);

private:
    void IssueRequest(RequestKind kind, std::int32_t parameter) override;
    void CompleteRequest(RequestKind kind, short result) override;
    void LoseCommunication() override;

    void PassOnSignals();
    void TakeIdentity(const InstrumentIdentity& identity);
    bool Refuse(const std::string& text);
    void Dispatch(RequestKind kind, short result);
    void CompleteCheckIdentity();
    void CarryOutPending();
    void End(DensityOutcome outcome);

    RequestRunner runner_;
    ConnectionSteps steps_;
    std::uint16_t densityRegister_ = 0;
    std::uint16_t target_ = 0;
    bool writing_ = false;
};

} // namespace kestrix
