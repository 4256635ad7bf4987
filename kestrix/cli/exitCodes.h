#pragma once

// The exit statuses of kestrix-cli, one per outcome, listed in --help.

#include <array>

namespace kestrix::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitInternalError = 1,
    kExitUsage = 2,
    kExitUnreadableInput = 3,
    kExitSaveFailed = 4,
    kExitTableFailed = 5,
    kExitNotFound = 6,
    kExitLostCommunication = 7,
    kExitNoData = 8,
    kExitDecodingError = 9,
    kExitNotSameInstrument = 10,
};

struct ExitCodeMeaning {
    ExitCode code;
    const char* meaning;
};

inline constexpr std::array kExitCodeMeanings = {
    ExitCodeMeaning{kExitOk, "done"},
    ExitCodeMeaning{kExitInternalError, "unexpected internal error"},
    ExitCodeMeaning{kExitUsage, "usage error: unknown command or option, missing or bad value"},
    ExitCodeMeaning{kExitUnreadableInput, "the input file cannot be read or is not a record set"},
    ExitCodeMeaning{kExitSaveFailed, "the output file cannot be written"},
    ExitCodeMeaning{kExitTableFailed,
                    "the record set does not fit the table: a value or its channels too many"},
    ExitCodeMeaning{kExitNotFound, "the port cannot be opened, or no instrument answered at the "
                                   "address (or at any of 1-99)"},
    ExitCodeMeaning{kExitLostCommunication, "communication with the instrument was lost"},
    ExitCodeMeaning{kExitNoData, "the instrument has no records to download"},
    ExitCodeMeaning{kExitDecodingError, "the instrument's records could not be decoded"},
    ExitCodeMeaning{kExitNotSameInstrument, "another instrument was attached during the download"},
};

} // namespace kestrix::cli
