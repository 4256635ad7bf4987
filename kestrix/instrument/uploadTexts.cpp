#include "kestrix/instrument/uploadTexts.h"

#include "kestrix/instrument/sessionTexts.h"
#include "kestrix/shell/locationNameKeys.h"

namespace kestrix::uploadTexts {

using sessionTexts::kLineBreak;

const char* const kInvalidNameTitle = "Invalid Location Name Found";
const char* const kRepeatedNamesTitle = "Repeated Location Names";
const char* const kCannotUploadTitle = "Cannot Upload Location Names";
const char* const kOverwriteTitle = "Do you want to overwrite names?";
const char* const kDoNotUseText =
    "Please do not use the instrument while uploading location names.  \r\n\r\n"
    "Warning: Cancelling this operation will leave the list of names on the instrument "
    "partially updated.";
const char* const kNoLocationsText = "Instrument does not support alphanumeric names.";

std::string InvalidNameText(const std::string& name, int number) {
    return "Location name \"" + name + "\" (number " + locationNames::ThreeDigitKey(number) +
           ") has invalid characters." + kLineBreak +
           "Only uppercase letters A-Z, numbers 1-9, and underscores are allowed." + kLineBreak +
           "Please correct the name before uploading the location names again.";
}

std::string RepeatedNameText(const std::string& name, int count, const std::vector<int>& numbers) {
    std::string listed;
    for (const int number : numbers) {
        listed += (listed.empty() ? "" : ", ") + locationNames::ThreeDigitKey(number);
    }
    return "Location name \"" + name + "\" appears multiple times in the list (numbers " + listed +
           ").  " + kLineBreak + "The first " + std::to_string(count) +
           " location names must be unique.  " + kLineBreak +
           "Please remove all redundant names before uploading the location names again.";
}

std::string CannotUploadQuestion() {
    return std::string("Cannot upload location names.") + kLineBreak +
           "Please check connection to the instrument." + kLineBreak +
           "Do you want to retry uploading location names?";
}

std::string OverwriteQuestion() {
    return std::string("The current names on the instrument will be lost and will be replaced "
                       "with the new names.") +
           kLineBreak + "Do you want to continue?";
}

std::string CancelUploadQuestion() {
    return std::string("This action will cancel your location name upload. Are you sure you "
                       "want to do this?") +
           kLineBreak + "(All names already uploaded will appear on the instrument)";
}

std::string DoneText() {
    const std::string br = kLineBreak;
    return "Finished uploading the location names to the instrument!" + br + br +
           "Click \"Close\" to continue and check the instrument's Location list for the "
           "uploaded names.";
}

std::string ProgressText(int done, int count) {
    return std::to_string(done) + "/" + std::to_string(count);
}

} // namespace kestrix::uploadTexts
