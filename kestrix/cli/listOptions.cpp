#include "kestrix/cli/listOptions.h"

#include "kestrix/cleanroom/listTexts.h"

namespace kestrix::cli {

namespace {

bool IsLocationList(const std::string& text) {
    const auto locations = cleanroom::ParseLocationList(text);
    return locations && !locations->empty();
}

} // namespace

CLI::Validator ListCheck(bool (*valid)(const std::string&), const char* what) {
    return CLI::Validator(
        [valid, what](const std::string& text) {
            return valid(text) ? std::string() : std::string("must be ") + what;
        },
        "", what);
}

CLI::Validator LocationListCheck() {
    return ListCheck(IsLocationList, "location numbers and ranges separated by commas");
}

} // namespace kestrix::cli
