#pragma once

#include <cstdint>

namespace kestrix::sim {

// Faults put on the line for tests. Counts are of answers due (Modbus replies and fast chunks
// alike), from 1; 0 switches a fault off.
struct FaultOptions {
    uint32_t dropFirst = 0;
    uint32_t dropEvery = 0;
    uint32_t corruptEvery = 0;
    uint32_t hangUpAfter = 0;
    bool silent = false;
};

enum class AnswerFate { Send, Drop, Corrupt };

// Decides the fate of each answer and when the line is to be hung up.
class LineFaults {
public:
    explicit LineFaults(const FaultOptions& options) : options_(options) {}

    // The fate of the next answer; a dropped request is treated as never heard.
    AnswerFate NextAnswer();
    bool HangUpDue() const { return options_.hangUpAfter != 0 && sent_ >= options_.hangUpAfter; }

private:
    static bool Every(uint32_t period, uint32_t number) {
        return period != 0 && number % period == 0;
    }

    FaultOptions options_;
    uint32_t due_ = 0;
    uint32_t sent_ = 0;
};

} // namespace kestrix::sim
