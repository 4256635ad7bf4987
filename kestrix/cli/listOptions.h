#pragma once

// Checks of the option values that classify and iaq take as lists.

#include <CLI/CLI.hpp>
#include <string>

namespace kestrix::cli {

// A value `valid` accepts; otherwise the error "must be <what>".
CLI::Validator ListCheck(bool (*valid)(const std::string&), const char* what);

// Location numbers and ranges such as 1,3,5-8.
CLI::Validator LocationListCheck();

} // namespace kestrix::cli
