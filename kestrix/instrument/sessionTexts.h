#pragma once

// The texts the sessions show; lines are separated by CR LF.

#include <string>

namespace kestrix::sessionTexts {

extern const char* const kLineBreak;

extern const char* const kConfigurationErrorTitle;
extern const char* const kWarningTitle;
extern const char* const kInformationTitle;
extern const char* const kInternalErrorTitle;
extern const char* const kQuestionTitle;

extern const char* const kNoPortSelected;
extern const char* const kNoAddressSelected;
extern const char* const kInvalidConnection;
std::string NotFoundText();
std::string LostCommunicationText();
std::string NotSameInstrumentText();
std::string NoDataNoticeText();
std::string NoDataLabelText();
std::string DoneLabelText();
std::string CancelDownloadQuestion();
// The fast transfer's port did not open: the device and the system's reason.
std::string FastPortProblemText(const std::string& device, const std::string& reason);
extern const char* const kDoNotUseText;
extern const char* const kDownloadError;
extern const char* const kProgressDone;
extern const char* const kProgressError;
extern const char* const kCancelCaption;
extern const char* const kCloseCaption;
extern const char* const kAddressProgressPrefix;
extern const char* const kNoPermissionSuffix;
// A port the user may not open: the group that owns the device and logging in again.
// Who may open a serial port: its owner, and its group when the group may read and write it.
struct PortOwner {
    std::string user;
    std::string group;
    bool groupMayUse = false;
};

// Joining the group is advised only where the group's access would help.
std::string NoPermissionText(const std::string& device, const PortOwner& owner);

} // namespace kestrix::sessionTexts
