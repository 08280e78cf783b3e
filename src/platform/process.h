#pragma once
// The programs that run on this machine, for the automatic profile switch.

#include <string>
#include <string_view>
#include <vector>

namespace quobel {

class ProcessList {
public:
    virtual ~ProcessList() = default;
    // The executable file name (no folder) of every running process this user can see.
    [[nodiscard]] virtual std::vector<std::string> ProgramNames() const = 0;
};

// From /proc: the file name of each process's executable; for a process whose
// executable link is not readable (another user's), the first word of its command line.
class ProcProcessList final : public ProcessList {
public:
    explicit ProcProcessList(std::string proc_root = "/proc") : root_(std::move(proc_root)) {}
    [[nodiscard]] std::vector<std::string> ProgramNames() const override;

private:
    std::string root_;
};

// True when needle occurs in name, ignoring ASCII case; an empty needle never does.
[[nodiscard]] bool ContainsNoCase(std::string_view name, std::string_view needle);

}  // namespace quobel
