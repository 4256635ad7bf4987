// Judges arbitrary bytes as the RTU reply to a request chosen by the first input bytes, then
// unpacks an accepted reply as the transaction would.
#include "FuzzReplyRequest.h"
#include "tolvex/RtuFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tolvex::fuzz::JudgeAndUnpack(data, size,
                                 [](std::span<const uint8_t> received, std::span<uint8_t> reply) {
                                     return tolvex::JudgeRtuReply(received, reply);
                                 });
    return 0;
}
