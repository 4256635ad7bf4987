#include "TolvexHelp.h"

#include "support/FileBytes.h"

#include <gtest/gtest.h>
#include <regex>

namespace tolvex {
namespace {

// The help is written by hand: it must name every function and result code of the C interface.
TEST(TolvexHelp, IsFoundAndNamesEveryFunctionAndCodeOfTheCInterface) {
    const QString file = TolvexHelpFile();
    ASSERT_FALSE(file.isEmpty());
    const std::string help = test_support::ReadFileBytes(file.toStdString());
    const std::string header = test_support::ReadFileBytes(TOLVEX_PUBLIC_HEADERS "/tolvex.h");
    const std::string constants =
        test_support::ReadFileBytes(TOLVEX_PUBLIC_HEADERS "/tolvex_constants.h");
    const std::regex function(R"(TOLVEX_API [^;]*?\b(tolvex_[a-z0-9_]+)\()");
    int functions = 0;
    for (std::sregex_iterator it(header.begin(), header.end(), function), end; it != end; ++it) {
        EXPECT_NE(help.find("<code>" + (*it)[1].str() + "</code>"), std::string::npos)
            << (*it)[1].str();
        ++functions;
    }
    EXPECT_GT(functions, 60);
    const std::string results = constants.substr(constants.find("enum tolvex_result"));
    const std::regex code(R"((TOLVEX_[A-Z_]+) = \d+)");
    for (std::sregex_iterator it(results.begin(), results.end(), code), end; it != end; ++it) {
        EXPECT_NE(help.find("<code>" + (*it)[1].str() + "</code>"), std::string::npos)
            << (*it)[1].str();
    }
}

} // namespace
} // namespace tolvex
