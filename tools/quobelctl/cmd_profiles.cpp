// quobelctl profiles: list, create, delete, rename, select, export, import, show.

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/utf16.h"
#include "commands.h"
#include "ctl_store.h"
#include "json_text.h"
#include "profile/profile_backup.h"
#include "profile/profile_defaults.h"
#include "profile/profile_store.h"
#include "profile_view.h"

namespace quobel::ctl {
namespace {

int Usage(const Globals& g, std::string_view what) {
    *g.err << "usage: quobelctl profiles " << what << "\n";
    return 2;
}

void PrintProfileLine(const Globals& g, const Store& s, const ProfileData& p) {
    *g.out << HexId(p.dwProfileID) << (&p == s.profiles.Current() ? "*" : "") << " " << FieldToUtf8(p.szName)
           << "\n";
}

int List(const Globals& g, const Args& args) {
    if (!args.empty()) return Usage(g, "list");
    Store s;
    if (!OpenStore(g, s, Access::kRead)) return 1;
    for (const ProfileData& p : s.profiles) PrintProfileLine(g, s, p);
    return 0;
}

int Create(const Globals& g, const Args& args) {
    if (args.size() != 1) return Usage(g, "create NAME");
    Store s;
    if (!OpenStore(g, s, Access::kWrite)) return 1;
    if (s.profiles.Full()) {
        *g.err << "quobelctl: " << kTooManyProfilesText << "\n";
        return 1;
    }
    ProfileData p;
    CreateProfile(p, PartsOf(s.config), args[0], s.config, SystemIdGenerator(), ProfileIdsOf(s));
    s.profiles.Select(s.profiles.AddProfile(p)->dwProfileID);
    if (!SaveStore(g, s)) return 1;
    PrintProfileLine(g, s, *s.profiles.Current());
    return 0;
}

int Delete(const Globals& g, const Args& args) {
    if (args.size() != 1) return Usage(g, "delete P");
    Store s;
    if (!OpenStore(g, s, Access::kWrite)) return 1;
    const ProfileData* p = FindProfileArg(g, s, args[0]);
    if (!p) return 1;
    if (s.profiles.Count() <= 1) {
        const std::string text = s.texts.Get("tc_msg8");
        *g.err << "quobelctl: " << (text.empty() ? "the last profile cannot be deleted" : text) << "\n";
        return 1;
    }
    s.profiles.RemoveProfile(p->dwProfileID);
    if (const ProfileData* first = s.profiles.FirstProfile(); first && !s.profiles.Current()) {
        s.profiles.Select(first->dwProfileID);
    }
    return SaveStore(g, s) ? 0 : 1;
}

int Rename(const Globals& g, const Args& args) {
    if (args.size() != 2) return Usage(g, "rename P NAME");
    Store s;
    if (!OpenStore(g, s, Access::kWrite)) return 1;
    ProfileData* p = FindProfileArg(g, s, args[0]);
    if (!p) return 1;
    SetField(p->szName, args[1]);
    if (!SaveStore(g, s)) return 1;
    PrintProfileLine(g, s, *p);
    return 0;
}

int Select(const Globals& g, const Args& args) {
    if (args.size() != 1) return Usage(g, "select P");
    Store s;
    if (!OpenStore(g, s, Access::kWrite)) return 1;
    const ProfileData* p = FindProfileArg(g, s, args[0]);
    if (!p) return 1;
    s.profiles.Select(p->dwProfileID);
    if (!WriteCurrentId(s.profiles, s.config.szDataPath)) {
        *g.err << "quobelctl: cannot write " << kCurIdName << "\n";
        return 1;
    }
    PrintProfileLine(g, s, *p);
    return 0;
}

int Export(const Globals& g, const Args& args) {
    if (args.size() != 2) return Usage(g, "export P FILE.bk");
    Store s;
    if (!OpenStore(g, s, Access::kRead)) return 1;
    const ProfileData* p = FindProfileArg(g, s, args[0]);
    if (!p) return 1;
    if (!ExportProfile(args[1], *p, s.macros)) {
        *g.err << "quobelctl: " << kCreateBackupFailedText << "\n";
        return 1;
    }
    return 0;
}

int Import(const Globals& g, const Args& args) {
    if (args.size() != 1) return Usage(g, "import FILE.bk");
    Store s;
    if (!OpenStore(g, s, Access::kWrite)) return 1;
    if (s.profiles.Full()) {
        *g.err << "quobelctl: " << kTooManyProfilesText << "\n";
        return 1;
    }
    const BackupImport r = ImportBackupFile(args[0], s.macros, MacroFolder(s), SystemIdGenerator(), ProfileIdsOf(s));
    if (!r.profile) {
        *g.err << "quobelctl: " << r.error << "\n";
        return 1;
    }
    s.profiles.Select(s.profiles.AddProfile(*r.profile)->dwProfileID);
    if (!SaveStore(g, s)) return 1;
    PrintProfileLine(g, s, *s.profiles.Current());
    return 0;
}

int Show(const Globals& g, const Args& args) {
    const bool json = args.size() == 2 && args[1] == "--json";
    if (args.size() != 1 && !json) return Usage(g, "show P [--json]");
    Store s;
    if (!OpenStore(g, s, Access::kRead)) return 1;
    const ProfileData* p = FindProfileArg(g, s, args[0]);
    if (!p) return 1;
    const nlohmann::ordered_json view = ProfileView(*p, s);
    if (json) {
        *g.out << DumpJson(view) << "\n";
    } else {
        PrintView(*g.out, view);
    }
    return 0;
}

struct Subcommand {
    std::string_view name;
    int (*run)(const Globals&, const Args&);
};

constexpr Subcommand kSubcommands[] = {
    {"list", List},     {"create", Create}, {"delete", Delete}, {"rename", Rename},
    {"select", Select}, {"export", Export}, {"import", Import}, {"show", Show},
};

}  // namespace

int CmdProfiles(const Globals& g, const Args& args) {
    if (!args.empty()) {
        for (const Subcommand& c : kSubcommands) {
            if (c.name == args.front()) return c.run(g, Args(args.begin() + 1, args.end()));
        }
    }
    return Usage(g, "list | create NAME | delete P | rename P NAME | select P | export P FILE.bk | "
                    "import FILE.bk | show P [--json]");
}

}  // namespace quobel::ctl
