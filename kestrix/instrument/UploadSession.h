#pragma once

// The upload wizard's session: the connection and identification of every session, then the
// instrument's name count, and on the upload step the names checked, the instrument checked
// again and made idle, and four single-register writes per name. No widget: a window binds to
// the signals and calls the methods below.
//
// Beside the calls and signals of every session (see SessionCore):
//   StartUpload(shortNames)             entering step 5: My Locations' short names from index 0
//   NameCountShown(count, canUpload)    after IdentityShown, once the name count is read: step
//                                       3's labels complete; Next enabled when canUpload
//   UploadProgressChanged(view)         step 5: bar, "n/count", labels, Cancel's caption
//   UploadEnded(outcome)                the run of step 5 is over (see UploadOutcome)

#include "kestrix/instrument/SessionCore.h"
#include "kestrix/instrument/UploadNames.h"

namespace kestrix::instrument {

enum class UploadOutcome {
    Finished,
    NoLocations,
    InvalidName,       // back to the review
    RepeatedName,      // back to the review
    NotSameInstrument, // back to the choice of port
    LostCommunication,
    Cancelled,
};

struct UploadView {
    int value = 0;
    int maximum = 0;
    std::string progressText;
    bool doNotUseShown = false;
    bool doneShown = false;
    bool noLocationsShown = false;
    std::string cancelCaption = "&Cancel";
};

class UploadSession : public SessionCore {
    Q_OBJECT

public:
    // The identity block this wizard reads.
    static constexpr int kIdentityRegisters = 42;

    explicit UploadSession(QObject* parent = nullptr);

    bool StartIdentification(std::optional<int> port, std::optional<int> address) override;
    void StartUpload(const std::vector<std::string>& shortNames);

    int NameCount() const { return nameCount_; }
    bool CanUpload() const { return CanUploadNames(nameCount_, Identity().mapVersion); }
    bool IsHighFirst() const { return highFirst_; }
    const UploadView& View() const { return view_; }

signals:
    void NameCountShown(int count, bool canUpload);
    void UploadProgressChanged(const kestrix::instrument::UploadView& view);
    void UploadEnded(kestrix::instrument::UploadOutcome outcome);

private:
    bool IsRunning() const override { return running_; }
    void LoseRun() override { End(UploadOutcome::LostCommunication); }
    void LeaveRun() override;
    void MeetOtherInstrument() override {
        End(UploadOutcome::NotSameInstrument, OtherInstrumentNotice());
    }
    std::optional<SessionQuestion> PressQuestion() const override;
    void CancelRun() override { End(UploadOutcome::Cancelled); }
    void TakeFailure(RequestKind kind) override;
    void TakeIdentity(const InstrumentIdentity& identity) override;

    void SendCheckIdentity(std::int32_t parameter);
    void TakeCheckIdentity();
    void TakeWrite();
    void AnswerRetry(bool yes);
    void ShowView();
    void End(UploadOutcome outcome, const std::optional<SessionNotice>& notice = std::nullopt);

    int nameCount_ = 0;
    bool highFirst_ = true;
    PreparedNames prepared_;
    UploadView view_;
    // Step 5's requests are outstanding.
    bool running_ = false;
};

} // namespace kestrix::instrument
