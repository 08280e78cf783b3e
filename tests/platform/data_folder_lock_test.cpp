#include "platform/data_folder_lock.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace quobel {
namespace {

TEST(DataFolderLock, SecondHolderIsRefusedWithTheFirstOnesName) {
    test::TempDir dir;
    DataFolderLock first = DataFolderLock::TryAcquire(dir.path(), "quobel");
    ASSERT_TRUE(first.held()) << first.message();

    const DataFolderLock second = DataFolderLock::TryAcquire(dir.path() + "/", "quobelctl");
    EXPECT_FALSE(second.held());
    EXPECT_TRUE(second.busy());
    EXPECT_EQ(second.message(), "the data folder " + dir.path() + "/ is in use by quobel (pid " +
                                    std::to_string(::getpid()) + "); close it and try again");

    first.Release();
    EXPECT_TRUE(DataFolderLock::TryAcquire(dir.path(), "quobelctl").held());
    EXPECT_TRUE(std::filesystem::exists(dir / kDataFolderLockName));
}

TEST(DataFolderLock, MovedLockStaysHeldUntilItsLastOwnerGoes) {
    test::TempDir dir;
    DataFolderLock outer;
    {
        DataFolderLock inner = DataFolderLock::TryAcquire(dir.path(), "quobel");
        outer = std::move(inner);
    }
    EXPECT_TRUE(outer.held());
    EXPECT_FALSE(DataFolderLock::TryAcquire(dir.path(), "x").held());
}

TEST(DataFolderLock, KilledHolderFreesTheFolder) {
    test::TempDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const DataFolderLock lock = DataFolderLock::TryAcquire(dir.path(), "quobel");
        const char c = lock.held() ? '1' : '0';
        (void)!::write(ready[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, '1');
    const DataFolderLock refused = DataFolderLock::TryAcquire(dir.path(), "quobelctl");
    EXPECT_NE(refused.message().find("quobel (pid " + std::to_string(child) + ")"), std::string::npos)
        << refused.message();
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(DataFolderLock::TryAcquire(dir.path(), "quobelctl").held());
}

TEST(DataFolderLock, MissingFolderIsAnErrorNotBusy) {
    test::TempDir dir;
    const DataFolderLock lock = DataFolderLock::TryAcquire(dir / "absent", "quobel");
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(lock.busy());
    EXPECT_NE(lock.message().find(kDataFolderLockName), std::string::npos);
}

}  // namespace
}  // namespace quobel
