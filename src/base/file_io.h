#pragma once
// Whole-file reads and crash-safe whole-file writes.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quobel {

// The whole file, or nullopt when it cannot be opened or read (errno is kept).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);
// The same for a file from a folder the user controls: only a regular file of at most
// max_bytes is read (else nullopt with errno EFBIG, or EINVAL for a device, pipe or
// folder), and opening never waits on a pipe.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::size_t max_bytes);

// Marks the temporary file a save writes before renaming it over the target:
// "<target>.quobel-tmp.<pid>.<n>", unique to the process and the save. Older versions
// wrote "<target>.quobel-tmp".
inline constexpr const char* kTempSuffix = ".quobel-tmp";

// True for the name (without folder) of a save's temporary file.
[[nodiscard]] bool IsTempFileName(std::string_view file_name);
// True for a temporary file that no running save can still need: its process has
// ended (or it has the older name without a process). Another running process's save
// is never stale.
[[nodiscard]] bool IsStaleTempFileName(std::string_view file_name);

// Writes the file so that it is never seen truncated or half-written: the data go to a
// temporary file of this process in the target's folder, are flushed to disk, and the
// temporary file is renamed over the target. A symlinked path is written through: the
// file it names is replaced and the link stays. An existing file keeps its permission
// bits (and, where allowed, its owner). On failure the old file is untouched, the
// temporary file is removed, false is returned and errno tells why.
[[nodiscard]] bool WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> data);

// The step at which WriteFileAtomicEx failed, so callers can log it as their own
// "create" or "write" failure.
enum class WriteStep { kNone, kCreate, kWrite, kRename };

struct WriteResult {
    WriteStep failed = WriteStep::kNone;
    int err = 0;  // errno of the failed step
    [[nodiscard]] bool ok() const { return failed == WriteStep::kNone; }
};

// Test seam: runs after the temporary file is written and flushed and before the
// rename; returning false makes the write fail there, as a crash at that point would.
using BeforeRenameHook = std::function<bool(const std::string& temp_path)>;

// WriteFileAtomic that tells which step failed.
[[nodiscard]] WriteResult WriteFileAtomicEx(const std::string& path, std::span<const std::uint8_t> data,
                                            const BeforeRenameHook& before_rename = {});

}  // namespace quobel
