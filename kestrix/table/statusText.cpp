#include "kestrix/table/modDataTable.h"
#include "kestrix/table/statusConditions.h"

namespace kestrix::modDataTable {

std::string GetStatusText(std::uint8_t status) {
    std::string text;
    for (const auto& condition : table::kStatusConditions) {
        if ((status & condition.bit) == 0) {
            continue;
        }
        if (!text.empty()) {
            text += "\r\n";
        }
        text += condition.noteLine;
    }
    return text;
}

} // namespace kestrix::modDataTable
