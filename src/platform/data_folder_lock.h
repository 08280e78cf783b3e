#pragma once
// One writer at a time in the data folder.
//
// Every process that may write the profile store (pro.dct, curid.dct) or the macro
// folder holds a DataFolderLock on the data folder for as long as it may write: the
// window for its whole run, quobelctl for one write command. Readers take no lock.
//
// The lock is an advisory flock() on the file ".quobel.lock" in the data folder. The
// system drops it when the holder exits or is killed, so a crash never leaves the
// folder locked. The holder writes "<program> (pid <n>)" into the file so that a
// process that finds the lock taken can say who has it. The lock file itself is never
// removed (removing it would let two processes lock two different files).
//
// Use:
//     DataFolderLock lock = DataFolderLock::TryAcquire(config.szDataPath, "quobel");
//     if (!lock.held()) { show lock.message(); do not write; }
//     ... write while `lock` lives; it is released when destroyed (or Release()).
//
// TryAcquire never waits. Two DataFolderLocks on the same folder exclude each other
// even inside one process.

#include <string>
#include <string_view>

namespace quobel {

inline constexpr const char* kDataFolderLockName = ".quobel.lock";

class DataFolderLock {
public:
    // Not held; message() is empty.
    DataFolderLock() = default;
    DataFolderLock(DataFolderLock&& other) noexcept;
    DataFolderLock& operator=(DataFolderLock&& other) noexcept;
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;
    ~DataFolderLock();

    // Takes the lock of data_folder (with or without a closing separator) for the
    // program named `program` (e.g. "quobel", "quobelctl"). Never blocks.
    [[nodiscard]] static DataFolderLock TryAcquire(const std::string& data_folder, std::string_view program);

    [[nodiscard]] bool held() const { return fd_ >= 0; }
    // Why the lock is not held, one sentence without a program prefix, e.g.
    // "the data folder /home/u/.local/share/quobel/ is in use by quobel (pid 4242);
    // close it and try again". Empty while held.
    [[nodiscard]] const std::string& message() const { return message_; }
    // True when the lock was not taken because another holder has it (not an I/O error).
    [[nodiscard]] bool busy() const { return busy_; }

    // Gives the lock up now; the destructor then does nothing.
    void Release();

private:
    int fd_ = -1;
    bool busy_ = false;
    std::string message_;
};

}  // namespace quobel
