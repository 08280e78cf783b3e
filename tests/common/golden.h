#pragma once
// Whole-file comparison with a golden file under tests/data/golden/. With
// QUOBEL_UPDATE_GOLDEN=1 in the environment the golden file is written instead, so an
// intended change is one command and its review is the diff of the checked-in file.

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace quobel::test {

inline std::string GoldenPath(const std::string& name) { return QUOBEL_TEST_DATA_DIR "/golden/" + name; }

inline ::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& actual) {
    const std::string path = GoldenPath(name);
    const char* update = std::getenv("QUOBEL_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteText(path, actual);
        return ::testing::AssertionSuccess() << "written " << path;
    }
    const auto golden = ReadText(path);
    const char* how = "; if the change is intended, regenerate with QUOBEL_UPDATE_GOLDEN=1 ctest -R Golden "
                      "(in the build folder) and review the diff of tests/data/golden/";
    if (!golden) return ::testing::AssertionFailure() << path << " is missing" << how;
    if (*golden == actual) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < golden->size() && at < actual.size() && (*golden)[at] == actual[at]) ++at;
    return ::testing::AssertionFailure() << "differs from " << path << " at byte " << at << " (golden "
                                         << golden->size() << " bytes, now " << actual.size() << ")" << how;
}

}  // namespace quobel::test
