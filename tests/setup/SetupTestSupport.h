#pragma once

// The disc menu's tests: Setup.ini files in a temporary folder.

#include "setup/SetupContent.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>

namespace setup::testing {

// Writes a Setup.ini with the given lines under [Content] and reads it back.
inline SetupLinks ContentOf(const QTemporaryDir& folder, const std::string& lines) {
    const QString path = folder.filePath(kSetupFileName);
    test_support::WriteFileBytes(path.toStdString(), "[Content]\n" + lines);
    return ReadSetupContent(path);
}

} // namespace setup::testing
