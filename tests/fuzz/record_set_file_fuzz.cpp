// Any bytes given to the record-set file reader end in a record set or a
// message, never in a crash; what it accepts it must write and read back alike.

#include "kestrix/data/recordSetFile.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    kestrix::data::RecordSetReadResult read = kestrix::data::ReadRecordSetJson(in);
    if ((read.recordSet == nullptr) == read.error.empty()) {
        __builtin_trap();
    }
    if (read.recordSet) {
        std::ostringstream out;
        kestrix::data::WriteRecordSetJson(*read.recordSet, out);
        std::istringstream again(out.str());
        const kestrix::data::RecordSetReadResult reread = kestrix::data::ReadRecordSetJson(again);
        if (!reread.recordSet || reread.recordSet->RecordCount() != read.recordSet->RecordCount()) {
            __builtin_trap();
        }
    }
    return 0;
}
