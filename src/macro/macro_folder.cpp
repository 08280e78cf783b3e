#include "macro/macro_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/log.h"
#include "base/utf16.h"

namespace quobel {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxFolderPath = 256;
constexpr int kMaxTreeDepth = 20;
constexpr const char* kMacroExt = ".mck";

bool SkippedFolderName(const std::string& name) {
    return name.empty() || name[0] == '.' || name[0] == '$';
}


// One path component that cannot leave its folder.
bool IsSafeComponent(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name) {
        if (c == '/' || c == '\\' || c == '\0') return false;
    }
    return true;
}

// The first n bytes of a file, or fewer when it is shorter or unreadable (err tells why).
std::vector<std::uint8_t> ReadPrefix(const fs::path& path, std::size_t n, int* err = nullptr) {
    std::vector<std::uint8_t> data(n);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (err) *err = errno;
        data.clear();
        return data;
    }
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, data.data() + got, n - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) {
            if (r < 0 && err) *err = errno;
            break;
        }
        got += static_cast<std::size_t>(r);
    }
    ::close(fd);
    data.resize(got);
    return data;
}

std::u16string FoldCase(std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) c = static_cast<char16_t>(c + 0x20);
    }
    return out;
}

void MakeWritable(const fs::path& p) {
    std::error_code ec;
    fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
}

}  // namespace

std::string MacroFolderOf(const std::string& data_path) { return data_path + "Mac"; }

namespace {

// The folders being scanned, outermost first, so that a link back to one is not
// entered again.
using FolderChain = std::vector<std::pair<dev_t, ino_t>>;

bool ScanFolder(const std::string& folder, const MacroScanOptions& options, FolderChain& chain) {
    if (folder.size() > kMaxFolderPath) return false;
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return false;
    for (const auto& [dev, ino] : chain) {
        if (dev == st.st_dev && ino == st.st_ino) {
            errno = ELOOP;
            return false;
        }
    }
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return false;
    chain.emplace_back(st.st_dev, st.st_ino);
    struct Pop {
        FolderChain& c;
        ~Pop() { c.pop_back(); }
    } pop{chain};
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return false;
        const fs::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        std::error_code type_ec;
        if (entry.is_directory(type_ec)) {
            if (SkippedFolderName(name) || options.nMacroDir == 0 || !options.recurse) continue;
            MacroScanOptions sub = options;
            if (options.tree) {
                const std::string picture = (entry.path() / (name + ".png")).string();
                sub.parent = options.tree->AddGroup(options.parent, name, picture);
            }
            // One folder that cannot be read (no permission, a link back to a parent, a
            // path too long) is left out; the rest of the macros are still read.
            errno = 0;
            if (!ScanFolder(entry.path().string(), sub, chain)) {
                LogPrint("ScanMacroFolder: skipped the folder %s (err=%d)", entry.path().string().c_str(), errno);
            }
            continue;
        }
        if (!entry.is_regular_file(type_ec) || IsTempFileName(name)) continue;
        const std::vector<std::uint8_t> bytes = ReadPrefix(entry.path(), kMacroRecordSize);
        std::optional<MacroRecord> record = DecodeMacroFile(bytes);
        if (!record || CheckMacroRecord(*record, options.mouse_key_mask) != MacroCheck::kOk) continue;
        if (options.new_ids) {
            record->MacroID = options.new_ids->NewId([&options](std::uint32_t id) {
                return options.add_to != nullptr && options.add_to->Find(id) != nullptr;
            });
            record->dwFlags |= kMacroFlagSettingsChanged;
        }
        if (options.add_to) options.add_to->Add(*record);
        if (options.tree) options.tree->AddMacro(options.parent, entry.path().stem().string(), record->MacroID);
    }
    return true;
}

}  // namespace

bool ScanMacroFolder(const std::string& folder, const MacroScanOptions& options) {
    FolderChain chain;
    return ScanFolder(folder, options, chain);
}

void LoadMacroFolder(const std::string& macro_folder, MacroList& list, int nMacroDir,
                     std::uint32_t mouse_key_mask) {
    RemoveLeftoverTempFiles(macro_folder, true);
    MacroScanOptions scan;
    scan.add_to = &list;
    scan.nMacroDir = nMacroDir;
    scan.mouse_key_mask = mouse_key_mask;
    (void)ScanMacroFolder(macro_folder, scan);
}

std::optional<std::string> TreeItem_To_FilePath(const MacroTree& tree, MacroTreeItem item,
                                                const std::string& macro_folder) {
    if (item == kMacroTreeRoot) return std::nullopt;
    std::vector<std::string> parts;
    for (MacroTreeItem cur = item; cur != kMacroTreeRoot; cur = tree.Parent(cur)) {
        const MacroTreeKind kind = tree.Kind(cur);
        if (kind == MacroTreeKind::kNone || parts.size() >= kMaxTreeDepth) return std::nullopt;
        std::string caption = tree.Caption(cur);
        if (!IsSafeComponent(caption)) return std::nullopt;
        if (kind == MacroTreeKind::kMacro) caption += kMacroExt;
        parts.push_back(std::move(caption));
    }
    std::string path = macro_folder;
    for (auto p = parts.rbegin(); p != parts.rend(); ++p) {
        path += '/';
        path += *p;
    }
    return path;
}

bool Flush_Dirty_Macro(const MacroTree* tree, MacroTreeItem item, MacroList& list,
                       const std::string& macro_folder, const BeforeRenameHook& before_rename) {
    if (tree == nullptr || tree->Kind(item) == MacroTreeKind::kNone) {
        LogPrint("Flush_Dirty_Macro: pItem=0x%0x(%s) error", static_cast<unsigned>(item),
                 tree ? tree->Caption(item).c_str() : "");
        return false;
    }
    if (tree->Kind(item) != MacroTreeKind::kMacro) return true;
    MacroRecord* record = list.Find(tree->MacroId(item));
    constexpr std::uint32_t kChanged = kMacroFlagSettingsChanged | kMacroFlagEventsChanged;
    if (record == nullptr || (record->dwFlags & kChanged) == 0) return true;
    const std::optional<std::string> path = TreeItem_To_FilePath(*tree, item, macro_folder);
    if (!path) {
        LogPrint("Flush_Dirty_Macro: TreeItem_To_FilePath failed");
        return false;
    }
    const MacroFileBytes bytes = EncodeMacroFile(*record);
    const WriteResult written = MyCreateFile(*path, bytes, before_rename);
    if (!written.ok()) {
        if (written.failed != WriteStep::kCreate) {
            LogPrint("Flush_Dirty_Macro: WriteFile err=0x%x, %s", static_cast<unsigned>(written.err),
                     path->c_str());
        }
        return false;
    }
    record->dwFlags &= ~kChanged;
    return true;
}

bool MacroFileExistsInRoot(const std::string& macro_folder, std::string_view name) {
    const std::u16string wanted = FoldCase(Utf8ToUtf16(std::string(name) + kMacroExt));
    std::error_code ec;
    for (fs::directory_iterator it(macro_folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_directory(type_ec)) continue;
        if (FoldCase(Utf8ToUtf16(it->path().filename().string())) == wanted) return true;
    }
    return false;
}

bool save_macro(MacroRecord& record, const std::string& macro_folder) {
    if (record.dwMagic != kMacroMagic) return false;
    const std::u16string_view wide_name = FieldView(record.szName);
    const std::string name = Utf16ToUtf8(wide_name);
    if (!IsValidMacroName(wide_name)) {
        LogPrint("save_macro: invalid name %s", name.c_str());
        return false;
    }
    if (MacroFileExistsInRoot(macro_folder, name)) return false;
    const std::string path = macro_folder + "/" + name + kMacroExt;
    record.dwFlags &= ~(kMacroFlagSettingsChanged | kMacroFlagEventsChanged);
    const MacroFileBytes bytes = EncodeMacroFile(record);
    const WriteResult written = MyCreateFile(path, bytes);
    if (written.failed == WriteStep::kCreate) {
        LogPrint("save_macro: CreateFile err=0x%x, %s", static_cast<unsigned>(written.err), path.c_str());
        return false;
    }
    if (!written.ok()) {
        LogPrint("save_macro: WriteFile err=0x%x", static_cast<unsigned>(written.err));
        return false;
    }
    return true;
}

bool MakeSureFolderExist(const std::string& file_path) {
    const fs::path folder = fs::path(file_path).parent_path();
    fs::path built;
    for (const fs::path& part : folder) {
        built /= part;
        std::error_code ec;
        if (fs::is_directory(built, ec)) continue;
        if (!fs::create_directory(built, ec) && ec) {
            LogPrint("MakeSureFolderExist: create dir %s, err=0x%x", built.string().c_str(),
                     static_cast<unsigned>(ec.value()));
            return false;
        }
    }
    return true;
}

WriteResult MyCreateFile(const std::string& path, std::span<const std::uint8_t> data,
                         const BeforeRenameHook& before_rename) {
    WriteResult r = WriteFileAtomicEx(path, data, before_rename);
    if (r.failed == WriteStep::kCreate && r.err == ENOENT && MakeSureFolderExist(path)) {
        r = WriteFileAtomicEx(path, data, before_rename);
    }
    if (r.failed == WriteStep::kCreate) {
        LogPrint("MyCreateFile: %s, error=0x%x", path.c_str(), static_cast<unsigned>(r.err));
    }
    return r;
}

bool MyCopyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::none, ec);
    if (ec && !fs::is_directory(fs::path(to).parent_path()) && MakeSureFolderExist(to)) {
        ec.clear();
        fs::copy_file(from, to, fs::copy_options::none, ec);
    }
    if (ec) {
        LogPrint("MyCopyFile: %s, error=0x%x", to.c_str(), static_cast<unsigned>(ec.value()));
        return false;
    }
    return true;
}

bool DeleteFolderTree(const std::string& folder) {
    std::error_code ec;
    std::string own = folder;
    while (own.size() > 1 && own.back() == '/') own.pop_back();
    // A linked folder: only the link goes; what it points to is not ours to change.
    if (fs::is_symlink(own, ec)) {
        std::error_code rm;
        return fs::remove(own, rm);
    }
    std::vector<fs::path> files;
    std::vector<fs::path> folders;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code type_ec;
        if (it->is_directory(type_ec) && !it->is_symlink(type_ec)) {
            if (!SkippedFolderName(it->path().filename().string())) folders.push_back(it->path());
        } else {
            files.push_back(it->path());
        }
    }
    if (ec) return false;
    for (const fs::path& f : files) {
        // Permissions of a link are those of its target: leave them alone.
        if (std::error_code link_ec; !fs::is_symlink(f, link_ec)) MakeWritable(f);
        std::error_code rm;
        if (!fs::remove(f, rm)) {
            LogPrint("DeleteFile %s, err=%d", f.string().c_str(), rm.value());
            return false;
        }
    }
    for (const fs::path& d : folders) {
        if (!DeleteFolderTree(d.string())) return false;
    }
    MakeWritable(folder);
    std::error_code rm;
    return fs::remove(folder, rm);
}

bool CopyFolderInto(const std::string& folder, const std::string& target) {
    fs::path source = fs::path(folder).lexically_normal();
    // "Group/" names the folder Group as "Group" does.
    if (source.filename().empty()) source = source.parent_path();
    const fs::path base = source.parent_path();
    bool all_there = true;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(source, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::error_code type_ec;
        if (!it->is_regular_file(type_ec)) continue;
        const fs::path to = fs::path(target) / it->path().lexically_relative(base);
        if (fs::exists(to, type_ec)) continue;  // existing files are not overwritten
        if (!MyCopyFile(it->path().string(), to.string())) all_there = false;
    }
    return all_there && !ec;
}

void RemoveLeftoverTempFiles(const std::string& folder, bool recurse) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code type_ec;
        const std::string name = it->path().filename().string();
        if (it->is_directory(type_ec)) {
            if (recurse && !it->is_symlink(type_ec)) RemoveLeftoverTempFiles(it->path().string(), true);
        } else if (IsStaleTempFileName(name)) {
            std::error_code rm;
            if (fs::remove(it->path(), rm)) LogPrint("Removed unfinished save %s", it->path().string().c_str());
        }
    }
}

MacroImport ReadMacroForImport(const std::string& path, std::uint32_t mouse_key_mask, IdGenerator& ids,
                               const IdInUse& in_use) {
    char text[128];
    int err = 0;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        std::snprintf(text, sizeof text, "Open macro file failed. error=0x%x",
                      static_cast<unsigned>(ec ? ec.value() : ENOENT));
        return {std::nullopt, text};
    }
    const std::vector<std::uint8_t> bytes = ReadPrefix(path, kMacroRecordSize, &err);
    if (err != 0) {
        std::snprintf(text, sizeof text, "Open macro file failed. error=0x%x", static_cast<unsigned>(err));
        return {std::nullopt, text};
    }
    std::optional<MacroRecord> record = DecodeMacroFile(bytes);
    if (!record) {
        std::snprintf(text, sizeof text, "Read macro file failed. error=0x%x", static_cast<unsigned>(err));
        return {std::nullopt, text};
    }
    switch (CheckMacroRecord(*record, mouse_key_mask)) {
    case MacroCheck::kBadMagic: return {std::nullopt, "This is not a valid macro file."};
    case MacroCheck::kUnsupportedKey: return {std::nullopt, "This macro contains unsupported key."};
    case MacroCheck::kOk: break;
    }
    SetField(record->szName, fs::path(path).stem().string());
    record->MacroID = ids.NewId(in_use);
    return {record, {}};
}

}  // namespace quobel
