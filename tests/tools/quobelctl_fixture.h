#pragma once
// Runs the built quobelctl as a user would, with its user folders (home, local data,
// desktop) inside a test folder, and collects standard output and the exit code.

#include <string>

#include "common/temp_dir.h"

namespace quobel::test {

struct CtlRun {
    std::string out;
    int exit_code = -1;  // -1: did not exit normally
};

// Runs a shell command; its standard output and exit code.
CtlRun RunCommand(const std::string& command);

// args is added to the command line as is (quote paths with blanks). The command runs
// in the source tree, so relative paths such as tests/data/... work.
CtlRun RunQuobelctl(const TempDir& home, const std::string& args);

// A folder below tests/data/config, quoted for the command line.
std::string ConfigFixture(const std::string& name);

}  // namespace quobel::test
