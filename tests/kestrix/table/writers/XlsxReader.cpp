#include "XlsxReader.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>

namespace kestrix::table::testing {

nlohmann::json ReadXlsx(const std::string& path) {
    const std::string command =
        std::string("/usr/bin/python3 '") + KESTRIX_CHECK_XLSX_SCRIPT + "' '" + path + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return nullptr;
    }
    std::string output;
    std::array<char, 4096> buffer{};
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
        output.append(buffer.data(), got);
    }
    const int status = ::pclose(pipe);
    if (status != 0) {
        ADD_FAILURE() << command << " failed with " << status;
        return nullptr;
    }
    return nlohmann::json::parse(output);
}

} // namespace kestrix::table::testing
