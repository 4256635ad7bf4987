// Parses arbitrary bytes as one received Modbus/TCP segment for a request chosen by the first
// input bytes, judges it and unpacks an accepted reply as the transaction would.
#include "FuzzReplyRequest.h"
#include "tolvex/MbapFrame.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tolvex::fuzz::JudgeAndUnpack(
        data, size, [](std::span<const uint8_t> received, std::span<uint8_t> reply) {
            // One receive takes at most one maximal segment.
            const auto segment = received.first(std::min(received.size(), tolvex::kMbapMaxSegment));
            return tolvex::JudgeTcpReply(tolvex::ParseMbapSegment(segment, reply), reply);
        });
    return 0;
}
