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
    kExitNotIaqInstrument = 11,
    kExitNoNameList = 12,
    kExitInvalidName = 13,
    kExitRepeatedName = 14,
    kExitUploadStopped = 15,
    kExitNotConfirmed = 16,
    kExitRoomFailed = 17,
    kExitNotClassified = 18,
    kExitDataQuestioned = 19,
    kExitArchiveUnavailable = 20,
    kExitArchiveDamaged = 21,
    kExitArchiveNoInstrument = 22,
    kExitArchiveNoRecords = 23,
    kExitNoRecordsAtLocations = 24,
    kExitSignatureRefused = 25,
    kExitNotSigned = 26,
};

struct ExitCodeMeaning {
    ExitCode code;
    const char* meaning;
};

inline constexpr std::array kExitCodeMeanings = {
    ExitCodeMeaning{kExitOk, "done"},
    ExitCodeMeaning{kExitInternalError, "unexpected internal error"},
    ExitCodeMeaning{kExitUsage, "usage error: unknown command or option, missing or bad value"},
    ExitCodeMeaning{kExitUnreadableInput,
                    "an input file cannot be read, or is not a record set or a room file"},
    ExitCodeMeaning{kExitSaveFailed, "the output file cannot be written"},
    ExitCodeMeaning{kExitTableFailed,
                    "the record set does not fit the table: a value or its channels too many"},
    ExitCodeMeaning{kExitNotFound, "the port cannot be opened, or no instrument answered at the "
                                   "address (or at any of 1-99)"},
    ExitCodeMeaning{kExitLostCommunication, "communication with the instrument was lost"},
    ExitCodeMeaning{kExitNoData, "the instrument has no records to download"},
    ExitCodeMeaning{kExitDecodingError, "the instrument's records could not be decoded"},
    ExitCodeMeaning{kExitNotSameInstrument,
                    "another instrument was attached during the download, before the density "
                    "was written or before the names were uploaded"},
    ExitCodeMeaning{kExitNotIaqInstrument,
                    "the instrument is not an IAQ instrument: it has no particle density (iaq: "
                    "or no 2.5 and 10 µm channels for PM2.5 and PM10)"},
    ExitCodeMeaning{kExitNoNameList,
                    "the instrument takes no location names (none, or map version 137 or lower)"},
    ExitCodeMeaning{kExitInvalidName, "a short name to upload has characters other than A-Z, "
                                      "0-9 and underscore; nothing was written"},
    ExitCodeMeaning{kExitRepeatedName, "a short name to upload appears twice; nothing was written"},
    ExitCodeMeaning{kExitUploadStopped,
                    "a name could not be written; the names before it are on the instrument"},
    ExitCodeMeaning{kExitNotConfirmed, "overwriting the instrument's names was not confirmed"},
    ExitCodeMeaning{kExitRoomFailed,
                    "classify: the room fails: a location exceeds a limit; the report is saved"},
    ExitCodeMeaning{kExitNotClassified,
                    "classify: no classification: a size the instrument has no channel for, a "
                    "size or state without a limit, no records at the chosen locations, or a "
                    "location with no usable record left (impossible data, flagged, no air); "
                    "or fewer locations sampled than the area needs, where the report is saved "
                    "and says NOT CLASSIFIED"},
    ExitCodeMeaning{kExitDataQuestioned, "check: records to question were found and listed"},
    ExitCodeMeaning{kExitArchiveUnavailable,
                    "the archive is switched off, cannot be opened or refused a statement"},
    ExitCodeMeaning{kExitArchiveDamaged,
                    "archive verify found a changed or deleted entry; the message names the "
                    "first"},
    ExitCodeMeaning{kExitArchiveNoInstrument,
                    "the archive holds no instrument with that serial number, or several models "
                    "with it"},
    ExitCodeMeaning{kExitArchiveNoRecords,
                    "the archive holds no record of the instrument in that time range and at "
                    "those locations"},
    ExitCodeMeaning{kExitNoRecordsAtLocations, "iaq: the record set has no records at the chosen "
                                               "locations"},
    ExitCodeMeaning{kExitSignatureRefused,
                    "archive sign, classify --sign: the password was wrong, or signing is locked after three "
                    "wrong passwords in a row; nothing was signed"},
    ExitCodeMeaning{kExitNotSigned, "archive verify-file: no signature holds the file's SHA-256: "
                                    "it was never signed or was changed since"},
};

} // namespace kestrix::cli
