#include "base/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace quobel {
namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { if (fd_ >= 0) ::close(fd_); }
    [[nodiscard]] int get() const { return fd_; }
    // Closes now so the close error can be seen; the destructor then does nothing.
    [[nodiscard]] bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    std::vector<std::uint8_t> data;
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        data.insert(data.end(), chunk, chunk + n);
    }
    return data;
}

bool WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> data) {
    return WriteFileAtomicEx(path, data).ok();
}

WriteResult WriteFileAtomicEx(const std::string& path, std::span<const std::uint8_t> data,
                              const BeforeRenameHook& before_rename) {
    const std::string temp = path + kTempSuffix;
    Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0) return {WriteStep::kCreate, errno};
    auto fail = [&temp](WriteStep step, int err) {
        ::unlink(temp.c_str());
        errno = err;
        return WriteResult{step, err};
    };
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd.get(), data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(WriteStep::kWrite, errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0 || !fd.Close()) return fail(WriteStep::kWrite, errno);
    if (before_rename && !before_rename(temp)) return fail(WriteStep::kRename, EIO);
    if (::rename(temp.c_str(), path.c_str()) != 0) return fail(WriteStep::kRename, errno);
    // Make the rename itself durable.
    Fd dir(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) (void)::fsync(dir.get());
    return {};
}

}  // namespace quobel
