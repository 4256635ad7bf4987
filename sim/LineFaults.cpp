#include "LineFaults.h"

namespace kestrix::sim {

AnswerFate LineFaults::NextAnswer() {
    ++due_;
    if (options_.silent || due_ <= options_.dropFirst || Every(options_.dropEvery, due_)) {
        return AnswerFate::Drop;
    }
    ++sent_;
    return Every(options_.corruptEvery, due_) ? AnswerFate::Corrupt : AnswerFate::Send;
}

} // namespace kestrix::sim
