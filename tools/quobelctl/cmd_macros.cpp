// quobelctl macros: list, show, import, export.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "base/file_io.h"
#include "base/log.h"
#include "base/utf16.h"
#include "commands.h"
#include "ctl_store.h"
#include "json_text.h"
#include "macro/macro_folder.h"
#include "profile_view.h"

namespace quobel::ctl {
namespace {

namespace fs = std::filesystem;

int Usage(const Globals& g, std::string_view what) {
    *g.err << "usage: quobelctl macros " << what << "\n";
    return 2;
}

// Every macro of the folder with its path below the macro folder, without ".mck".
struct Found {
    std::string name;  // "Group/Name" for a macro in a group
    std::string path;
    std::uint32_t id = 0;
};

std::vector<Found> Macros(const Store& s) {
    SimpleMacroTree tree;
    MacroScanOptions scan;
    scan.tree = &tree;
    scan.nMacroDir = s.config.gVar.nMacroDir;
    scan.mouse_key_mask = static_cast<std::uint32_t>(s.config.gVar.bMacroHasMsKey);
    const std::string folder = MacroFolder(s);
    (void)ScanMacroFolder(folder, scan);
    std::vector<Found> found;
    for (std::size_t i = 0; i < tree.Rows().size(); ++i) {
        if (tree.Rows()[i].kind != MacroTreeKind::kMacro) continue;
        const auto path = TreeItem_To_FilePath(tree, SimpleMacroTree::ItemOf(i), folder);
        if (!path) continue;
        std::string name = fs::path(*path).lexically_relative(folder).replace_extension().generic_string();
        found.push_back({std::move(name), *path, tree.Rows()[i].macro_id});
    }
    return found;
}

std::optional<Found> FindMacro(const Globals& g, const Store& s, std::string_view name) {
    for (Found& f : Macros(s)) {
        if (f.name == name) return f;
    }
    *g.err << "quobelctl: no macro " << name << "\n";
    return std::nullopt;
}

int List(const Globals& g, const Args& args) {
    if (!args.empty()) return Usage(g, "list");
    Store s;
    if (!OpenStore(g, s, Access::kRead)) return 1;
    for (const Found& f : Macros(s)) *g.out << HexId(f.id) << " " << f.name << "\n";
    return 0;
}

int Show(const Globals& g, const Args& args) {
    const bool json = args.size() == 2 && args[1] == "--json";
    if (args.size() != 1 && !json) return Usage(g, "show NAME [--json]");
    Store s;
    if (!OpenStore(g, s, Access::kRead)) return 1;
    const std::optional<Found> f = FindMacro(g, s, args[0]);
    if (!f) return 1;
    const MacroRecord* m = s.macros.Find(f->id);
    if (!m) return 1;
    const nlohmann::ordered_json view = MacroView(*m, s.texts);
    if (json) {
        *g.out << DumpJson(view) << "\n";
    } else {
        PrintView(*g.out, view);
    }
    return 0;
}

int Import(const Globals& g, const Args& args) {
    if (args.size() != 1) return Usage(g, "import FILE.mck");
    Store s;
    if (!OpenStore(g, s, Access::kWrite)) return 1;
    if (s.macros.Count() >= kMaxMacros) {
        *g.err << "quobelctl: " << kTooManyMacrosText << "\n";
        return 1;
    }
    const std::uint32_t mask = static_cast<std::uint32_t>(s.config.gVar.bMacroHasMsKey);
    MacroImport r = ReadMacroForImport(args[0], mask, SystemIdGenerator(),
                                       [&s](std::uint32_t id) { return s.macros.Find(id) != nullptr; });
    if (!r.record) {
        *g.err << "quobelctl: " << r.error << "\n";
        return 1;
    }
    const std::string name = FieldToUtf8(r.record->szName);
    if (MacroFileExistsInRoot(MacroFolder(s), name)) {
        const std::string text = s.texts.Get("tc_macro_msg8");
        *g.err << "quobelctl: " << (text.empty() ? "a macro of this name already exists: " + name : text) << "\n";
        return 1;
    }
    if (!save_macro(*r.record, MacroFolder(s))) {
        *g.err << "quobelctl: cannot write the macro " << name << "\n";
        return 1;
    }
    *g.out << HexId(r.record->MacroID) << " " << name << "\n";
    return 0;
}

int Export(const Globals& g, const Args& args) {
    if (args.size() != 2) return Usage(g, "export NAME FILE.mck");
    Store s;
    if (!OpenStore(g, s, Access::kRead)) return 1;
    const std::optional<Found> f = FindMacro(g, s, args[0]);
    if (!f) return 1;
    // The file as stored, replacing an existing target.
    const auto bytes = ReadWholeFile(f->path);
    const WriteResult w = bytes ? WriteFileAtomicEx(args[1], *bytes) : WriteResult{WriteStep::kCreate, errno};
    if (!w.ok()) {
        LogPrint("ExportMacro: copy file err=0x%x", static_cast<unsigned>(w.err));
        *g.err << "quobelctl: cannot write " << args[1] << "\n";
        return 1;
    }
    return 0;
}

struct Subcommand {
    std::string_view name;
    int (*run)(const Globals&, const Args&);
};

constexpr Subcommand kSubcommands[] = {
    {"list", List}, {"show", Show}, {"import", Import}, {"export", Export},
};

}  // namespace

int CmdMacros(const Globals& g, const Args& args) {
    if (!args.empty()) {
        for (const Subcommand& c : kSubcommands) {
            if (c.name == args.front()) return c.run(g, Args(args.begin() + 1, args.end()));
        }
    }
    return Usage(g, "list | show NAME [--json] | import FILE.mck | export NAME FILE.mck");
}

}  // namespace quobel::ctl
