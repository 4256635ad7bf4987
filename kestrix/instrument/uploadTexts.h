#pragma once

// The texts of the location-name upload; lines are separated by CR LF.

#include <string>
#include <vector>

namespace kestrix::uploadTexts {

extern const char* const kInvalidNameTitle;
extern const char* const kRepeatedNamesTitle;
extern const char* const kCannotUploadTitle;
extern const char* const kOverwriteTitle;

// name is cut at its NUL; number is its location number.
std::string InvalidNameText(const std::string& name, int number);
// name with its trailing spaces; numbers are the locations that hold it.
std::string RepeatedNameText(const std::string& name, int count, const std::vector<int>& numbers);
std::string CannotUploadQuestion();
// Asked before the first name is written.
std::string OverwriteQuestion();
std::string CancelUploadQuestion();
extern const char* const kDoNotUseText;
std::string DoneText();
extern const char* const kNoLocationsText;
// "n/count"
std::string ProgressText(int done, int count);

} // namespace kestrix::uploadTexts
