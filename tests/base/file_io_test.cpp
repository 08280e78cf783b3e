#include "base/file_io.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace quobel {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::WriteText;

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(WriteFileAtomic, KeepsTheTargetsPermissions) {
    test::TempDir dir;
    const std::string file = dir / "pro.dct";
    WriteText(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomic(file, Bytes("new")));
    EXPECT_EQ(ModeOf(file), 0600u);
    ASSERT_EQ(::chmod(file.c_str(), 0664), 0);
    ASSERT_TRUE(WriteFileAtomic(file, Bytes("newer")));
    EXPECT_EQ(ModeOf(file), 0664u);
    EXPECT_EQ(ReadText(file), "newer");
}

TEST(WriteFileAtomic, WritesThroughASymlinkToTheFileItNames) {
    test::TempDir dir;
    fs::create_directories(dir / "real");
    WriteText(dir / "real/pro.dct", "old");
    fs::create_symlink("real/pro.dct", dir / "pro.dct");
    fs::create_symlink(dir / "nowhere.dct", dir / "dangling.dct");

    ASSERT_TRUE(WriteFileAtomic(dir / "pro.dct", Bytes("new")));
    EXPECT_TRUE(fs::is_symlink(dir / "pro.dct")) << "the link stays a link";
    EXPECT_EQ(ReadText(dir / "real/pro.dct"), "new");
    ASSERT_TRUE(WriteFileAtomic(dir / "dangling.dct", Bytes("made")));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.dct"));
    EXPECT_EQ(ReadText(dir / "nowhere.dct"), "made");
}

TEST(WriteFileAtomic, EachSaveHasATemporaryNameOfItsOwn) {
    test::TempDir dir;
    const std::string file = dir / "curid.dct";
    std::vector<std::string> temps;
    const auto seen = [&temps](const std::string& temp) {
        temps.push_back(temp);
        return true;
    };
    // A file sitting at the old fixed temporary name is neither used nor followed.
    fs::create_symlink(dir / "victim", file + kTempSuffix);
    ASSERT_TRUE(WriteFileAtomicEx(file, Bytes("1"), seen).ok());
    ASSERT_TRUE(WriteFileAtomicEx(file, Bytes("2"), seen).ok());
    ASSERT_EQ(temps.size(), 2u);
    EXPECT_NE(temps[0], temps[1]);
    for (const std::string& t : temps) {
        const std::string name = fs::path(t).filename().string();
        EXPECT_NE(name.find("." + std::to_string(::getpid()) + "."), std::string::npos) << name;
        EXPECT_TRUE(IsTempFileName(name));
        EXPECT_FALSE(IsStaleTempFileName(name)) << "this process is running";
    }
    EXPECT_FALSE(fs::exists(dir / "victim"));
}

struct TempNameCase {
    const char* name;
    std::string file;
    bool temp;
    bool stale;
};

pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

class TempNames : public ::testing::TestWithParam<TempNameCase> {};

TEST_P(TempNames, OnlyTheSavesOfEndedProcessesAreStale) {
    const TempNameCase& c = GetParam();
    EXPECT_EQ(IsTempFileName(c.file), c.temp) << c.file;
    EXPECT_EQ(IsStaleTempFileName(c.file), c.stale) << c.file;
}

const std::string kSuffix = kTempSuffix;
INSTANTIATE_TEST_SUITE_P(
    FileIo, TempNames,
    ::testing::Values(
        TempNameCase{"OlderFixedName", "pro.dct" + kSuffix, true, true},
        TempNameCase{"EndedProcess", "pro.dct" + kSuffix + "." + std::to_string(EndedProcess()) + ".0", true, true},
        TempNameCase{"RunningParent", "pro.dct" + kSuffix + "." + std::to_string(::getppid()) + ".3", true, false},
        TempNameCase{"ThisProcess", "a.mck" + kSuffix + "." + std::to_string(::getpid()) + ".12", true, false},
        TempNameCase{"InitIsAlwaysRunning", "a.mck" + kSuffix + ".1.0", true, false},
        TempNameCase{"NotANumber", "a.mck" + kSuffix + ".x.0", false, false},
        TempNameCase{"NoCounter", "a.mck" + kSuffix + ".12", false, false},
        TempNameCase{"MacroFile", "a.mck", false, false},
        TempNameCase{"SuffixInTheMiddle", "a" + kSuffix + "b.mck", false, false}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quobel
