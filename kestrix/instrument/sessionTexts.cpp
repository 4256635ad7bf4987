#include "kestrix/instrument/sessionTexts.h"

namespace kestrix::sessionTexts {

const char* const kLineBreak = "\r\n";

const char* const kConfigurationErrorTitle = "Configuration Error";
const char* const kWarningTitle = "Warning";
const char* const kInformationTitle = "Information";
const char* const kInternalErrorTitle = "Internal Error";
const char* const kQuestionTitle = "Question";

const char* const kNoPortSelected = "You must select a COM port!";
const char* const kNoAddressSelected = "You must select a communications address!";
const char* const kInvalidConnection = "Your connection settings are invalid!";
const char* const kDoNotUseText =
    "Please do not use the instrument while downloading sample records.";
const char* const kDownloadError = "Error downloading data!";
const char* const kProgressDone = "Done";
const char* const kProgressError = "Error!";
const char* const kCancelCaption = "&Cancel";
const char* const kCloseCaption = "&Close";
const char* const kAddressProgressPrefix = "Address ";
const char* const kNoPermissionSuffix = " (no permission)";

std::string NotFoundText() {
    const std::string br = kLineBreak;
    return "Instrument not found!" + br + br + "Trouble shooting tips:" + br +
           "- Check that the wire connecting your PC to your instrument is securely fastened." +
           br +
           "- Check that the instrument is powered ON and is not collecting or printing data." +
           br + "- Check that you've selected the correct COM port on step 2." + br + br +
           "Click the \"Prev\" button and then the \"Next\" button to retry connecting to your "
           "instrument.";
}

std::string LostCommunicationText() {
    return std::string("Instrument communications has been lost!") + kLineBreak +
           "Please reconnect the instrument to your PC and try again.";
}

std::string NotSameInstrumentText() {
    return std::string("The currently connected instrument is not the same instrument ") +
           kLineBreak + "that you have connected to before. Please reconnect and try again.";
}

std::string NoDataNoticeText() {
    return std::string("There is no data to download from this instrument.") + kLineBreak +
           "Data must have been cleared at the instrument manually.";
}

std::string NoDataLabelText() {
    const std::string br = kLineBreak;
    return "Instrument has not recorded any data." + br + br + "There is no data to download.";
}

std::string DoneLabelText() {
    const std::string br = kLineBreak;
    return "Finished downloading data!" + br + br +
           "Click the \"Close\" button to display this data in the table.";
}

std::string CancelDownloadQuestion() {
    return std::string("This action will cancel your download. Are you sure you want to do this?") +
           kLineBreak + "(All downloaded data will be cleared if you choose YES.)";
}

std::string FastPortProblemText(const std::string& device, const std::string& reason) {
    return "The serial port " + device +
           " cannot be opened for the fast record transfer: " + reason + kLineBreak +
           "Please reconnect the instrument to your PC and try again.";
}

std::string NoPermissionText(const std::string& device, const PortOwner& owner) {
    const std::string opening = "You have no permission to use the serial port " + device;
    if (!owner.groupMayUse) {
        return opening + ":" + kLineBreak + "only " + owner.user + " can open " + device +
               ". Ask your administrator for access to it.";
    }
    return opening + "." + kLineBreak + "Ask your administrator to add you to the group \"" +
           owner.group + "\" that owns it (for example: sudo usermod -a -G " + owner.group +
           " $USER), then log out and log in again.";
}

} // namespace kestrix::sessionTexts
