// quobelctl and the data folder: a new account, one writer at a time, read-only
// commands, and stored profiles that are never lost.

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/data_folder_lock.h"
#include "profile/profile_store.h"
#include "common/temp_dir.h"
#include "quobelctl_fixture.h"

namespace quobel {
namespace {

namespace fs = std::filesystem;
using test::CtlRun;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Runs quobelctl in cwd with only the given environment (no XDG_* of the caller's).
CtlRun Ctl(const std::string& env, const std::string& args, const std::string& cwd = "/") {
    const std::string cmd = "cd '" + cwd + "' && env -i PATH=/usr/bin:/bin " + env + " '" QUOBEL_PROGRAM_DIR
                            "/quobelctl' " + args + " 2>&1";
    return test::RunCommand(cmd);
}

TEST(FreshAccount, ApplyStartsWithAHomeThatHasNoLocalFolder) {
    const TempDir home;  // what `HOME=$(mktemp -d) scripts/run.sh` starts from
    const CtlRun run = Ctl("HOME='" + home.path() + "'", "--simulate apply --trace");
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(ReadBytes(home / ".local/share/quobel/pro.dct").size(), kProDctSize);
}

TEST(FreshAccount, WithoutAHomeItSaysSoAndWritesNothingHere) {
    const TempDir cwd;
    const CtlRun run = Ctl("HOME=/nonexistent-home-of-quobel",
                        "--program-dir '" QUOBEL_PROGRAM_DIR "' profiles create X", cwd.path());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.out.find("cannot find the home folder"), std::string::npos) << run.out;
    EXPECT_TRUE(fs::is_empty(cwd.path()));
}

// A data folder of its own per test, with the shipped configuration.
class StoreCliTest : public ::testing::Test {
protected:
    CtlRun Ctl(const std::string& args) {
        return quobel::Ctl("HOME='" + home.path() + "'",
                           "--program-dir '" QUOBEL_PROGRAM_DIR "' --data-dir '" + data.path() + "' " + args);
    }
    int ProfileLines() {
        const std::string out = Ctl("profiles list").out;
        return static_cast<int>(std::count(out.begin(), out.end(), '\n'));
    }
    // Every file of the data folder with its bytes and time, to see that nothing changed.
    std::string Snapshot() const {
        std::string s;
        for (const auto& e : fs::recursive_directory_iterator(data.path())) {
            if (e.path().filename() == kDataFolderLockName) continue;
            struct stat st {};
            ::lstat(e.path().c_str(), &st);
            s += e.path().string() + " " + std::to_string(st.st_mtim.tv_nsec) + " " +
                 std::to_string(st.st_size) + "\n";
            if (e.is_regular_file()) {
                const auto b = ReadBytes(e.path().string());
                s.append(b.begin(), b.end());
            }
        }
        return s;
    }

    TempDir home;
    TempDir data;
};

TEST_F(StoreCliTest, AWriteCommandWhileTheFolderIsLockedFailsAtOnceAndChangesNothing) {
    ASSERT_EQ(Ctl("profiles create Mine").exit_code, 0);
    const std::string before = Snapshot();
    const DataFolderLock window = DataFolderLock::TryAcquire(data.path(), "quobel");
    ASSERT_TRUE(window.held());
    for (const char* write : {"profiles create X", "profiles delete Mine", "profiles rename Mine Y",
                              "profiles select Mine", "macros import /dev/null"}) {
        const CtlRun r = Ctl(write);
        EXPECT_EQ(r.exit_code, 1) << write;
        EXPECT_NE(r.out.find("is in use by quobel (pid "), std::string::npos) << write << ": " << r.out;
    }
    EXPECT_EQ(Ctl("profiles list").exit_code, 0) << "readers need no lock";
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(StoreCliTest, ApplyWhileTheWindowHoldsTheFolderAppliesWithoutWriting) {
    const DataFolderLock window = DataFolderLock::TryAcquire(data.path(), "quobel");
    ASSERT_TRUE(window.held());
    const CtlRun r = Ctl("--simulate apply");
    EXPECT_EQ(r.exit_code, 0) << r.out;
    EXPECT_FALSE(fs::exists(data / kProDctName));
    EXPECT_FALSE(fs::exists(data / kCurIdName));
}

TEST_F(StoreCliTest, ReadOnlyCommandsNeverWrite) {
    const fs::path bk = fs::path(home.path()) / "p.bk";
    // On an empty folder: the defaults are shown, not stored.
    for (const std::string read : {"profiles list", "profiles show 'Profile 1'", "profiles show 'Profile 1' --json",
                                   "macros list", "config show", "config show --json", "config check", "devices"}) {
        EXPECT_EQ(Ctl(read).exit_code, 0) << read;
        EXPECT_FALSE(fs::exists(data / kProDctName)) << read;
        EXPECT_FALSE(fs::exists(data / kCurIdName)) << read;
    }
    // On a stored one: neither the files nor their times change.
    ASSERT_EQ(Ctl("profiles create Mine").exit_code, 0);
    const std::string before = Snapshot();
    const std::string export_bk = "profiles export Mine '" + bk.string() + "'";
    for (const std::string& read : {std::string("profiles list"), std::string("profiles show Mine --json"), export_bk,
                                   std::string("macros list"), std::string("config show --json")}) {
        EXPECT_EQ(Ctl(read).exit_code, 0) << read;
    }
    EXPECT_TRUE(fs::exists(bk));
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(StoreCliTest, AStoreThatCannotBeLoadedIsKeptAsideAndTheUserIsTold) {
    ASSERT_EQ(Ctl("profiles create Mine").exit_code, 0);
    auto stored = ReadBytes(data / kProDctName);
    stored.resize(stored.size() - 1);  // a short file, as a failing disk leaves it
    WriteBytes(data / kProDctName, stored);
    WriteBytes(data / kProDctBadName, {1, 2, 3});  // kept from an earlier time

    const CtlRun list = Ctl("profiles list");
    EXPECT_NE(list.out.find("cannot be read (wrong size"), std::string::npos) << list.out;
    EXPECT_EQ(ReadBytes(data / kProDctName), stored) << "a reader leaves it";

    const CtlRun create = Ctl("profiles create Other");
    EXPECT_EQ(create.exit_code, 0) << create.out;
    const std::string kept = data / (std::string(kProDctBadName) + ".2");
    EXPECT_NE(create.out.find("kept as " + kept), std::string::npos) << create.out;
    EXPECT_EQ(ReadBytes(kept), stored);
    EXPECT_EQ(ReadBytes(data / kProDctBadName), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadBytes(data / kProDctName).size(), kProDctSize);
}

TEST_F(StoreCliTest, AStoreWithoutReadPermissionIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ASSERT_EQ(Ctl("profiles create Mine").exit_code, 0);
    const auto stored = ReadBytes(data / kProDctName);
    fs::permissions(data / kProDctName, fs::perms::none);
    const CtlRun create = Ctl("profiles create Other");
    EXPECT_NE(create.out.find("Permission denied"), std::string::npos) << create.out;
    fs::permissions(data / kProDctBadName, fs::perms::owner_read);
    EXPECT_EQ(ReadBytes(data / kProDctBadName), stored);
}

TEST_F(StoreCliTest, AMissingOrZeroCurrentIdKeepsTheStoredProfiles) {
    ASSERT_EQ(Ctl("profiles list").exit_code, 0);
    ASSERT_EQ(Ctl("profiles create Mine").exit_code, 0);
    const int stored = ProfileLines();
    fs::remove(data / kCurIdName);
    EXPECT_EQ(ProfileLines(), stored);
    ASSERT_EQ(Ctl("profiles create Two").exit_code, 0);
    EXPECT_EQ(ProfileLines(), stored + 1);
    WriteBytes(data / kCurIdName, {0, 0, 0, 0});
    ASSERT_EQ(Ctl("profiles rename Two Three").exit_code, 0);
    EXPECT_EQ(ProfileLines(), stored + 1);
}

}  // namespace
}  // namespace quobel
