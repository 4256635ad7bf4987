#include "AsciiTransport.h"

#include "ModbusPdu.h"
#include "tolvex/AsciiFrame.h"

#include <algorithm>
#include <cstddef>

namespace tolvex {
namespace {

constexpr uint8_t kStartMark = ':';
constexpr size_t kMaxStrays = AsciiReplyFrameLength(kMaxPduLength);

// The characters before the last start mark; a reply frame holds only its first one.
size_t StraysBeforeStartMark(std::span<const uint8_t> received) {
    const auto mark = std::find(received.rbegin(), received.rend(), kStartMark);
    return mark == received.rend() ? 0 : static_cast<size_t>(received.rend() - mark) - 1;
}

} // namespace

std::vector<uint8_t> AsciiTransport::Frame(std::span<const uint8_t> pdu) const {
    return BuildAsciiFrame(pdu);
}

void AsciiTransport::AfterWrite() {
    // Flushing here, as a synchronous serial driver may, would drop the unsent frame.
    port_.Drain();
}

size_t AsciiTransport::ReplyFrameLength(size_t replyPduLength) const {
    return AsciiReplyFrameLength(replyPduLength);
}

// Characters before a frame's ":" start mark are strays, such as the end of an interrupted
// transaction: they are dropped and the frame is read on to its full length. At most one longest
// frame of strays is dropped, so a line that never stops talking still ends the read.
int AsciiTransport::ReadReplyFrame(std::span<uint8_t> frame) {
    size_t have = 0;
    size_t dropped = 0;
    for (;;) {
        const int got = port_.ReadFrame(frame.subspan(have));
        if (got < 0) {
            return -1;
        }
        have += static_cast<size_t>(got);
        const size_t strays = StraysBeforeStartMark(frame.first(have));
        if (strays == 0 || dropped + strays > kMaxStrays) {
            return static_cast<int>(have);
        }
        const bool full = have == frame.size();
        std::copy(frame.begin() + static_cast<std::ptrdiff_t>(strays),
                  frame.begin() + static_cast<std::ptrdiff_t>(have), frame.begin());
        have -= strays;
        dropped += strays;
        if (!full) {
            return static_cast<int>(have); // the line fell silent: nothing more to wait for
        }
    }
}

uint16_t AsciiTransport::Judge(std::span<const uint8_t> frame, std::span<uint8_t> reply) const {
    return JudgeAsciiReply(frame, reply);
}

} // namespace tolvex
