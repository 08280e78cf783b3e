#include "platform/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace quobel {
namespace {

// What the holder wrote into the lock file: its first line, without control bytes.
std::string ReadHolder(int fd) {
    std::array<char, 200> buf{};
    const ssize_t n = ::pread(fd, buf.data(), buf.size(), 0);
    std::string holder;
    for (ssize_t i = 0; i < n; ++i) {
        const char c = buf[static_cast<std::size_t>(i)];
        if (c == '\n') break;
        if (static_cast<unsigned char>(c) >= 0x20) holder += c;
    }
    return holder;
}

void WriteHolder(int fd, std::string_view program) {
    const std::string line = std::string(program) + " (pid " + std::to_string(::getpid()) + ")\n";
    if (::ftruncate(fd, 0) != 0) return;
    // Best effort: the lock holds without the name.
    (void)!::pwrite(fd, line.data(), line.size(), 0);
}

}  // namespace

DataFolderLock::DataFolderLock(DataFolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), busy_(other.busy_), message_(std::move(other.message_)) {}

DataFolderLock& DataFolderLock::operator=(DataFolderLock&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        busy_ = other.busy_;
        message_ = std::move(other.message_);
    }
    return *this;
}

DataFolderLock::~DataFolderLock() { Release(); }

void DataFolderLock::Release() {
    if (fd_ < 0) return;
    // Clear the name while still holding the lock, so nobody reads a stale holder.
    (void)!::ftruncate(fd_, 0);
    ::close(fd_);
    fd_ = -1;
}

DataFolderLock DataFolderLock::TryAcquire(const std::string& data_folder, std::string_view program) {
    DataFolderLock lock;
    std::string folder = data_folder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    const std::string path = folder + kDataFolderLockName;
    // O_NOFOLLOW: the lock file is ours; a symlink planted in its place is not followed.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        lock.message_ = "cannot open the lock file " + path + ": " + std::strerror(errno);
        return lock;
    }
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const int err = errno;
        if (err == EWOULDBLOCK) {
            const std::string holder = ReadHolder(fd);
            lock.busy_ = true;
            lock.message_ = "the data folder " + folder + " is in use by " +
                            (holder.empty() ? std::string("another process") : holder) +
                            "; close it and try again";
        } else {
            lock.message_ = "cannot lock " + path + ": " + std::strerror(err);
        }
        ::close(fd);
        return lock;
    }
    WriteHolder(fd, program);
    lock.fd_ = fd;
    return lock;
}

}  // namespace quobel
