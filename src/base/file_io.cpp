#include "base/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>
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

// The file a path finally names, following symlinks (at most as many as the system
// would). A dangling link gives the path it points to, so the save creates that file.
std::string ResolveLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0) return path;
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    return path;
}

std::string TempPathFor(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    return target + kTempSuffix + "." + std::to_string(::getpid()) + "." + std::to_string(counter++);
}

// The process id in "<...>.quobel-tmp.<pid>.<n>"; 0 for the older name, -1 for none.
long TempOwner(std::string_view name) {
    const std::string_view suffix(kTempSuffix);
    const auto at = name.rfind(suffix);
    if (at == std::string_view::npos) return -1;
    std::string_view rest = name.substr(at + suffix.size());
    if (rest.empty()) return 0;
    if (rest.front() != '.') return -1;
    rest.remove_prefix(1);
    const auto dot = rest.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == rest.size()) return -1;
    long pid = 0;
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + dot, pid);
    if (ec != std::errc() || end != rest.data() + dot || pid <= 0) return -1;
    for (const char c : rest.substr(dot + 1)) {
        if (c < '0' || c > '9') return -1;
    }
    return pid;
}

}  // namespace

bool IsTempFileName(std::string_view file_name) { return TempOwner(file_name) >= 0; }

bool IsStaleTempFileName(std::string_view file_name) {
    const long pid = TempOwner(file_name);
    if (pid < 0) return false;
    if (pid == 0) return true;
    if (pid == static_cast<long>(::getpid())) return false;
    // EPERM: the process lives under another user; only ESRCH says it is gone.
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

namespace {

// The rest of an open file, or nullopt on a read error or past max_bytes (EFBIG).
std::optional<std::vector<std::uint8_t>> ReadAll(int fd, std::size_t max_bytes) {
    std::vector<std::uint8_t> data;
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        // A file that grows while it is read is held to the same limit.
        if (static_cast<std::size_t>(n) > max_bytes - data.size()) {
            errno = EFBIG;
            return std::nullopt;
        }
        data.insert(data.end(), chunk, chunk + n);
    }
    return data;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    return ReadAll(fd.get(), SIZE_MAX);
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return std::nullopt;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(st.st_size) > max_bytes) {
        errno = EFBIG;
        return std::nullopt;
    }
    return ReadAll(fd.get(), max_bytes);
}

bool WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> data) {
    return WriteFileAtomicEx(path, data).ok();
}

WriteResult WriteFileAtomicEx(const std::string& path, std::span<const std::uint8_t> data,
                              const BeforeRenameHook& before_rename) {
    const std::string target = ResolveLinks(path);
    const std::string temp = TempPathFor(target);
    // O_EXCL | O_NOFOLLOW: never write through a name someone else placed there.
    Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (fd.get() < 0) return {WriteStep::kCreate, errno};
    auto fail = [&temp](WriteStep step, int err) {
        ::unlink(temp.c_str());
        errno = err;
        return WriteResult{step, err};
    };
    if (struct stat old {}; ::stat(target.c_str(), &old) == 0) {
        // The replacement keeps what the user set on the file.
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0) return fail(WriteStep::kCreate, errno);
        (void)!::fchown(fd.get(), old.st_uid, old.st_gid);
    }
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
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(WriteStep::kRename, errno);
    // Make the rename itself durable.
    Fd dir(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) (void)::fsync(dir.get());
    return {};
}

}  // namespace quobel
