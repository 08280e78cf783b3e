// quobelctl profiles and macros, run as the user runs them, on a scratch data folder.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "base/utf16.h"
#include "macro/macro_file.h"
#include "profile/profile_store.h"
#include "common/temp_dir.h"
#include "quobelctl_fixture.h"

namespace quobel {
namespace {

namespace fs = std::filesystem;
using test::CtlRun;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class ProfilesCliTest : public ::testing::Test {
protected:
    CtlRun Ctl(const std::string& args) {
        const std::string cmd = std::string(QUOBEL_PROGRAM_DIR) + "/quobelctl --program-dir '" + QUOBEL_PROGRAM_DIR +
                                "' --data-dir '" + data.path() + "' " + args + " 2>&1";
        return test::RunCommand(cmd);
    }
    // The "0x........" id of a profile line "<id>[*] <name>".
    std::string IdOf(const std::string& name) {
        const CtlRun r = Ctl("profiles list");
        std::size_t start = 0;
        while (start < r.out.size()) {
            const std::size_t end = r.out.find('\n', start);
            const std::string line = r.out.substr(start, end - start);
            if (line.size() > 11 && line.ends_with(" " + name) && line.find(' ') >= 10 &&
                line.substr(line.find(' ') + 1) == name) {
                return line.substr(0, 10);
            }
            if (end == std::string::npos) break;
            start = end + 1;
        }
        return {};
    }
    void WriteMacro(const std::string& file, const char* name, std::uint32_t id) {
        MacroRecord m;
        m.dwMagic = kMacroMagic;
        m.MacroID = id;
        SetField(m.szName, name);
        m.nLoopCount = 2;
        m.events[0] = {0x41, 1, 150};
        m.events[1] = {0x41, 0, 0};
        const MacroFileBytes b = EncodeMacroFile(m);
        WriteBytes(file, {b.begin(), b.end()});
    }

    TempDir data;
    TempDir scratch;
};

TEST_F(ProfilesCliTest, CreateWritesTheStoreFilesInTheirFixedLayout) {
    const CtlRun created = Ctl("profiles create 'Night Shift'");
    ASSERT_EQ(created.exit_code, 0) << created.out;
    const auto pro = ReadBytes(data / "pro.dct");
    ASSERT_EQ(pro.size(), 635200u);
    const std::string id = IdOf("Night Shift");
    ASSERT_FALSE(id.empty());
    const std::uint32_t want = static_cast<std::uint32_t>(std::stoul(id, nullptr, 16));

    // The new profile follows the default ones, each in its 31760-byte slot.
    bool found = false;
    for (std::size_t slot = 0; slot < 20; ++slot) {
        std::uint32_t magic, pid;
        std::memcpy(&magic, pro.data() + slot * 31760 + 4, 4);
        std::memcpy(&pid, pro.data() + slot * 31760 + 8, 4);
        if (pid == 0) continue;
        EXPECT_EQ(magic, 0xFCFB7796u) << slot;
        found = found || pid == want;
    }
    EXPECT_TRUE(found);
    const auto curid = ReadBytes(data / "curid.dct");
    ASSERT_EQ(curid.size(), 4u);
    std::uint32_t current;
    std::memcpy(&current, curid.data(), 4);
    EXPECT_EQ(current, want);
    EXPECT_NE(Ctl("profiles list").out.find(id + "* Night Shift\n"), std::string::npos);
}

TEST_F(ProfilesCliTest, RenameSelectDeleteByNameOrId) {
    ASSERT_EQ(Ctl("profiles create A").exit_code, 0);
    ASSERT_EQ(Ctl("profiles create B").exit_code, 0);
    const std::string a = IdOf("A");
    EXPECT_EQ(Ctl("profiles rename " + a + " Alpha").exit_code, 0);
    EXPECT_EQ(IdOf("Alpha"), a);
    EXPECT_EQ(Ctl("profiles select Alpha").exit_code, 0);
    EXPECT_NE(Ctl("profiles list").out.find(a + "* Alpha"), std::string::npos);
    EXPECT_EQ(Ctl("profiles delete Alpha").exit_code, 0);
    EXPECT_TRUE(IdOf("Alpha").empty());
    EXPECT_NE(Ctl("profiles list").out.find("* "), std::string::npos) << "another profile became current";
    EXPECT_EQ(Ctl("profiles select Nobody").exit_code, 1);
    EXPECT_EQ(Ctl("profiles bogus").exit_code, 2);

    // The last profile stays.
    for (int guard = 0; guard < 30; ++guard) {
        const CtlRun list = Ctl("profiles list");
        if (std::count(list.out.begin(), list.out.end(), '\n') <= 1) break;
        ASSERT_EQ(Ctl("profiles delete " + list.out.substr(0, 10)).exit_code, 0);
    }
    EXPECT_EQ(Ctl("profiles delete " + Ctl("profiles list").out.substr(0, 10)).exit_code, 1);
}

TEST_F(ProfilesCliTest, TheTwentyFirstProfileIsRefused) {
    const std::string listed = Ctl("profiles list").out;
    const auto defaults = std::count(listed.begin(), listed.end(), '\n');
    for (auto i = defaults; i < 20; ++i) ASSERT_EQ(Ctl("profiles create P" + std::to_string(i)).exit_code, 0);
    const CtlRun full = Ctl("profiles create Extra");
    EXPECT_EQ(full.exit_code, 1);
    EXPECT_NE(full.out.find(kTooManyProfilesText), std::string::npos);
}

TEST_F(ProfilesCliTest, ExportAndImportCarryTheProfileAndItsMacros) {
    ASSERT_EQ(Ctl("profiles create Raid").exit_code, 0);
    const std::string mac = data / "Mac";
    WriteMacro(mac + "/Heal.mck", "Heal", 0x4242);
    // Give a mouse button and a key the macro.
    {
        CProList list;
        ASSERT_GT(LoadProfiles(list, data.slash()), 0);
        ProfileData* p = list.Find(static_cast<std::uint32_t>(std::stoul(IdOf("Raid"), nullptr, 16)));
        ASSERT_TRUE(p);
        p->Ms.Keys[0][3].FunID = MakeFunID(5, 0);
        p->Ms.Keys[0][3].MacroID = 0x4242;
        p->Kb.Keys[10].FunID = MakeFunID(5, 0);
        p->Kb.Keys[10].MacroID = 0x4242;
        p->Ms.dwRate[0] = 0x1000;
        ASSERT_TRUE(SaveProfiles(list, data.slash()));
    }
    const CtlRun shown = Ctl("profiles show Raid --json");
    ASSERT_EQ(shown.exit_code, 0) << shown.out;
    const auto before = nlohmann::json::parse(shown.out);
    EXPECT_EQ(before["mouse"]["modes"][0]["buttons"][3]["macro"], "Heal");
    EXPECT_EQ(before["mouse"]["modes"][0]["rate"], "1000 Hz");
    const CtlRun text = Ctl("profiles show Raid");
    EXPECT_NE(text.out.find("macro=Heal"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("caption="), std::string::npos) << text.out;

    const std::string bk = scratch / "Raid Backup.bk";
    ASSERT_EQ(Ctl("profiles export Raid '" + bk + "'").exit_code, 0);
    EXPECT_EQ(ReadBytes(bk).size(), 40100u);
    fs::remove(mac + "/Heal.mck");

    const CtlRun imported = Ctl("profiles import '" + bk + "'");
    ASSERT_EQ(imported.exit_code, 0) << imported.out;
    EXPECT_TRUE(fs::exists(mac + "/Heal.mck"));
    const auto after = nlohmann::json::parse(Ctl("profiles show 'Raid Backup' --json").out);
    EXPECT_EQ(after["mouse"]["modes"][0]["buttons"][3]["macro"], "Heal");
    EXPECT_NE(after["mouse"]["modes"][0]["buttons"][3]["function"], nullptr);
    EXPECT_EQ(after["keyboard"]["changed_keys"][0]["macro"], "Heal");
    EXPECT_NE(after["id"], before["id"]);
    // Everything but the identity is as exported.
    for (const char* part : {"mouse", "keyboard", "pad", "sound", "gun_mode"}) EXPECT_EQ(after[part], before[part]);

    const auto bk_bytes = ReadBytes(bk);
    WriteBytes(scratch / "short.bk", std::vector<std::uint8_t>(bk_bytes.begin(), bk_bytes.begin() + 100));
    const CtlRun bad = Ctl("profiles import '" + scratch / "short.bk" + "'");
    EXPECT_EQ(bad.exit_code, 1);
    EXPECT_NE(bad.out.find("This is not a valid profile"), std::string::npos);
}

TEST_F(ProfilesCliTest, MacrosListShowImportExport) {
    WriteMacro(scratch / "Dash.mck", "whatever", 0x1111);
    const CtlRun imported = Ctl("macros import '" + scratch / "Dash.mck" + "'");
    ASSERT_EQ(imported.exit_code, 0) << imported.out;
    EXPECT_TRUE(fs::exists(data / "Mac/Dash.mck"));
    EXPECT_EQ(Ctl("macros import '" + scratch / "Dash.mck" + "'").exit_code, 1) << "no second file of that name";

    const CtlRun list = Ctl("macros list");
    EXPECT_NE(list.out.find(" Dash\n"), std::string::npos) << list.out;
    const auto view = nlohmann::json::parse(Ctl("macros show Dash --json").out);
    EXPECT_EQ(view["name"], "Dash");
    EXPECT_EQ(view["loop_count"], 2);
    ASSERT_EQ(view["events"].size(), 2u);
    EXPECT_EQ(view["events"][0]["delay_ms"], 150);
    EXPECT_EQ(view["events"][0]["name"], "A");

    ASSERT_EQ(Ctl("macros export Dash '" + scratch / "out.mck" + "'").exit_code, 0);
    EXPECT_EQ(ReadBytes(scratch / "out.mck"), ReadBytes(data / "Mac/Dash.mck"));
    EXPECT_EQ(Ctl("macros show Nope").exit_code, 1);

    WriteBytes(scratch / "short.mck", std::vector<std::uint8_t>(833, 0));
    const CtlRun bad = Ctl("macros import '" + scratch / "short.mck" + "'");
    EXPECT_EQ(bad.exit_code, 1);
    EXPECT_NE(bad.out.find("Read macro file failed."), std::string::npos) << bad.out;
}

}  // namespace
}  // namespace quobel
