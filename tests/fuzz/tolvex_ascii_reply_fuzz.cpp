// Judges arbitrary characters as the ASCII reply to a request chosen by the first input bytes,
// then unpacks an accepted reply as the transaction would; also decodes them as a whole frame.
#include "FuzzReplyRequest.h"
#include "tolvex/AsciiFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tolvex::fuzz::JudgeAndUnpack(data, size,
                                 [](std::span<const uint8_t> received, std::span<uint8_t> reply) {
                                     tolvex::DecodeAsciiFrame(received);
                                     return tolvex::JudgeAsciiReply(received, reply);
                                 });
    return 0;
}
