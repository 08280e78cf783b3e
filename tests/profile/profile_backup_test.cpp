#include "profile/profile_backup.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "base/utf16.h"
#include "macro/macro_folder.h"
#include "profile/profile_defaults.h"
#include "common/fake_ids.h"
#include "common/temp_dir.h"

namespace quobel {
namespace {

namespace fs = std::filesystem;
using test::FakeIds;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr std::uint32_t kMacroFun = MakeFunID(5, 0);

std::vector<std::uint8_t> BytesOf(const ProfileBackup& b) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&b);
    return {p, p + sizeof b};
}

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateProfile(profile, 0, "Travel", config, ids.ids);
        profile.Ms.dwRate[1] = 0x1000;
        profile.Ms.Dpi[0] = {1600, 800, 0x00FF00, 0};
        profile.Kb.clrKey[2][40] = 0x123456;
        SetField(profile.szSound, "/sounds/beep.wav");
    }
    MacroRecord* AddMacro(const char* name) {
        MacroRecord r = NewMacroRecord(name, ids.ids);
        r.events[0] = {0x41, 1, 300};
        r.events[1] = {0x41, 0, 0};
        MacroRecord* m = macros.Add(r);
        MacroRecord copy = *m;
        EXPECT_TRUE(save_macro(copy, mac));
        return m;
    }
    static void Use(KeyInfo& key, const MacroRecord& m) {
        key.FunID = kMacroFun;
        key.MacroID = m.MacroID;
    }
    BackupImport Import(const std::string& path) { return ImportBackupFile(path, macros, mac, ids.ids); }

    TempDir dir;
    std::string mac = dir / "Mac";
    FakeIds ids;
    Config config;
    MacroList macros;
    ProfileData profile;
};

TEST_F(BackupTest, GoldenBackupImportsAndExportsByteForByte) {
    const std::string golden = QUOBEL_TEST_DATA_DIR "/profile/sample.bk";
    const auto bytes = ReadBytes(golden);
    std::string error;
    const std::optional<ProfileBackup> parsed = ParseBackup(bytes, &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->profile.dwProfileID, 0xABCDEFu);
    EXPECT_EQ(parsed->profile.Ms.dwRate[2], 0x1000u);
    EXPECT_EQ(FieldToUtf8(parsed->macros[1].szName), "Combo A");

    macros.Add(parsed->macros[0]);
    EXPECT_EQ(BytesOf(BuildBackup(parsed->profile, macros)), bytes) << "one copy per key that uses it";
}

TEST_F(BackupTest, ExportThenImportWithoutTheMacroFilesGivesTheSameProfileWithNewMacros) {
    const MacroRecord m1 = *AddMacro("Reload");
    const MacroRecord m2 = *AddMacro("Burst");
    Use(profile.Ms.Keys[1][2], m1);
    Use(profile.Kb.Keys[3], m2);
    Use(profile.Kb.Keys[7], m2);  // shared
    const std::string file = dir / "Travel.bk";
    ASSERT_TRUE(ExportProfile(file, profile, macros));
    ASSERT_EQ(ReadBytes(file).size(), kBackupSize);

    fs::remove_all(mac);
    macros.Clear();
    const BackupImport r = Import(file);
    ASSERT_TRUE(r.profile) << r.error;
    const ProfileData& p = *r.profile;
    EXPECT_EQ(r.macros_saved, 2);
    EXPECT_NE(p.dwProfileID, profile.dwProfileID);
    EXPECT_EQ(FieldToUtf8(p.szName), "Travel");

    const std::uint32_t new1 = p.Ms.Keys[1][2].MacroID;
    const std::uint32_t new2 = p.Kb.Keys[3].MacroID;
    EXPECT_NE(new1, +m1.MacroID);
    EXPECT_NE(new2, +m2.MacroID);
    EXPECT_EQ(p.Kb.Keys[7].MacroID, new2) << "keys sharing a macro take the saved copy's id";
    ASSERT_TRUE(macros.Find(new1));
    ASSERT_TRUE(macros.Find(new2));
    EXPECT_EQ(macros.Count(), 2u);
    EXPECT_EQ(FieldToUtf8(macros.Find(new2)->szName), "Burst");
    const auto reread = DecodeMacroFile(ReadBytes(mac + "/Burst.mck"));
    ASSERT_TRUE(reread);
    EXPECT_EQ(+reread->MacroID, new2);
    EXPECT_EQ(std::memcmp(reread->events, m2.events, sizeof m2.events), 0);
    EXPECT_TRUE(fs::exists(mac + "/Reload.mck"));

    // Everything else is as exported.
    ProfileData expected = profile;
    expected.dwProfileID = p.dwProfileID;
    expected.Ms.Keys[1][2].MacroID = new1;
    expected.Kb.Keys[3].MacroID = new2;
    expected.Kb.Keys[7].MacroID = new2;
    EXPECT_EQ(std::memcmp(&expected, &p, kProfileSize), 0);
}

TEST_F(BackupTest, MacrosStillOnDiskAreNotWrittenAgainAndKeysKeepTheirIds) {
    const MacroRecord m = *AddMacro("Stays");
    Use(profile.Ms.Keys[0][0], m);
    const std::string file = dir / "b.bk";
    ASSERT_TRUE(ExportProfile(file, profile, macros));
    const auto before = ReadBytes(mac + "/Stays.mck");
    const BackupImport r = Import(file);
    ASSERT_TRUE(r.profile);
    EXPECT_EQ(r.profile->Ms.Keys[0][0].MacroID, m.MacroID);
    EXPECT_EQ(ReadBytes(mac + "/Stays.mck"), before);
    EXPECT_EQ(macros.Count(), 1u);
}

TEST_F(BackupTest, MacrosOnlyInAGroupAreWrittenToTheRoot) {
    MacroRecord m = NewMacroRecord("Grouped", ids.ids);
    macros.Add(m);
    const MacroFileBytes file = EncodeMacroFile(m);
    WriteBytes(mac + "/Group/Grouped.mck", std::vector<std::uint8_t>(file.begin(), file.end()));
    Use(profile.Kb.Keys[0], m);
    ASSERT_TRUE(ExportProfile(dir / "g.bk", profile, macros));
    const BackupImport r = Import(dir / "g.bk");
    ASSERT_TRUE(r.profile);
    EXPECT_TRUE(fs::exists(mac + "/Grouped.mck"));
    EXPECT_NE(r.profile->Kb.Keys[0].MacroID, m.MacroID);
}

TEST_F(BackupTest, ExportStoresTheFirstTenMacroUsesAndSkipsMissingMacros) {
    KeyInfo& missing = profile.Ms.Keys[0][0];
    missing.FunID = kMacroFun;
    missing.MacroID = 0x0BADu;
    for (int i = 0; i < 12; ++i) {
        MacroRecord r = NewMacroRecord("M" + std::to_string(i), ids.ids);
        Use(profile.Kb.Keys[i], *macros.Add(r));
    }
    const ProfileBackup b = BuildBackup(profile, macros);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(FieldToUtf8(b.macros[i].szName), "M" + std::to_string(i));

    ASSERT_TRUE(ExportProfile(dir / "many.bk", profile, macros));
    macros.Clear();
    const BackupImport r = Import(dir / "many.bk");
    ASSERT_TRUE(r.profile);
    EXPECT_EQ(r.macros_saved, 10);
    EXPECT_EQ(r.profile->Ms.Keys[0][0].MacroID, 0x0BADu) << "a key without a slot keeps its id";
    EXPECT_EQ(r.profile->Kb.Keys[11].MacroID, profile.Kb.Keys[11].MacroID);
    EXPECT_FALSE(macros.Find(r.profile->Kb.Keys[11].MacroID));
}

TEST_F(BackupTest, BadFilesAreRefusedWithTheirMessages) {
    const auto good = BytesOf(BuildBackup(profile, macros));
    auto no_magic = good;
    no_magic[4] ^= 0xFF;
    auto no_id = good;
    std::memset(no_id.data() + 8, 0, 4);
    const std::vector<std::uint8_t> shorter(good.begin(), good.end() - 1);
    WriteBytes(dir / "empty.bk", {});
    WriteBytes(dir / "short.bk", shorter);
    WriteBytes(dir / "magic.bk", no_magic);
    WriteBytes(dir / "noid.bk", no_id);
    struct Case {
        std::string path;
        const char* error;
    };
    const Case cases[] = {
        {dir / "missing.bk", kOpenBackupFailedText}, {dir.path(), kOpenBackupFailedText},
        {dir / "empty.bk", kEmptyBackupText},        {dir / "short.bk", kInvalidBackupText},
        {dir / "magic.bk", kInvalidBackupText},      {dir / "noid.bk", kInvalidBackupText},
    };
    for (const Case& c : cases) {
        const BackupImport r = Import(c.path);
        EXPECT_FALSE(r.profile) << c.path;
        EXPECT_EQ(r.error, c.error) << c.path;
    }
    EXPECT_FALSE(fs::exists(mac));
    EXPECT_FALSE(ExportProfile(dir / "no/folder/x.bk", profile, macros));
}

TEST_F(BackupTest, MacroNamesFromTheFileAreNeverUsedAsPaths) {
    MacroRecord evil = NewMacroRecord("x", ids.ids);
    SetField(evil.szName, u"../../outside");
    macros.Add(evil);
    Use(profile.Kb.Keys[0], evil);
    ASSERT_TRUE(ExportProfile(dir / "evil.bk", profile, macros));
    macros.Clear();
    const BackupImport r = Import(dir / "evil.bk");
    ASSERT_TRUE(r.profile);
    EXPECT_EQ(r.macros_saved, 0);
    EXPECT_FALSE(fs::exists(dir.path() + "/../outside.mck"));
    EXPECT_EQ(r.profile->Kb.Keys[0].MacroID, evil.MacroID);
}

TEST_F(BackupTest, ProposedFileNameFitsTwentyCharacters) {
    SetField(profile.szName, "abcdefghijklmnopqrs");  // 19
    EXPECT_EQ(ProposedBackupName(profile), "abcdefghijklmnop.bk");
    SetField(profile.szName, "abcdefghijklmnopq");  // 17: the extension is never cut
    EXPECT_EQ(ProposedBackupName(profile), "abcdefghijklmnop.bk");
    SetField(profile.szName, "abcdefghijklmno\xF0\x9F\x98\x80");  // a pair at the cut stays whole
    EXPECT_EQ(ProposedBackupName(profile), "abcdefghijklmno.bk");
    SetField(profile.szName, "short");
    EXPECT_EQ(ProposedBackupName(profile), "short.bk");
}

}  // namespace
}  // namespace quobel
