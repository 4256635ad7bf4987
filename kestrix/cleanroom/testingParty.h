#pragma once

// Who tests a room, kept in the configuration file's [report] section for the next report:
//   [report]
//   organisation=Clean Air Services Ltd
//   address=1 High Street, Springfield
//   tester=A. Tester

#include <string>

namespace kestrix::cleanroom {

struct TestingParty {
    std::string organisation;
    std::string address;
    std::string tester;
};

// Empty texts for a missing file or key.
TestingParty ReadTestingParty(const std::string& configPath);

// Writes the three keys and keeps every other line; the error text, empty when written.
std::string SaveTestingParty(const std::string& configPath, const TestingParty& party);

} // namespace kestrix::cleanroom
