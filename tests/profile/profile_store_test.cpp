#include "profile/profile_store.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "base/utf16.h"
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

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    ProfileData Make(const std::string& name) {
        ProfileData p;
        CreateProfile(p, 0, name, config, ids.ids);
        return p;
    }
    std::string Path(const char* name) const { return dir.slash() + name; }

    TempDir dir;
    FakeIds ids;
    Config config;
};

TEST_F(ProfileStoreTest, SavedFileHasTwentySlotsWithMagicAndIdAndLoadsBack) {
    CProList list;
    const std::uint32_t a = list.AddProfile(Make("First"))->dwProfileID;
    const std::uint32_t b = list.AddProfile(Make("Second"))->dwProfileID;
    list.Select(b);
    ASSERT_TRUE(SaveProfiles(list, dir.slash()));
    ASSERT_TRUE(WriteCurrentId(list, dir.slash()));

    const auto file = ReadBytes(Path(kProDctName));
    ASSERT_EQ(file.size(), 635200u);
    EXPECT_EQ(U32At(file, 4), kProfileMagic);
    EXPECT_EQ(U32At(file, 8), a);
    EXPECT_EQ(U32At(file, kProfileSize + 4), kProfileMagic);
    EXPECT_EQ(U32At(file, kProfileSize + 8), b);
    EXPECT_TRUE(std::all_of(file.begin() + 2 * kProfileSize, file.end(), [](auto x) { return x == 0; }));
    EXPECT_EQ(ReadBytes(Path(kCurIdName)), (std::vector<std::uint8_t>{
        static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(b >> 8), static_cast<std::uint8_t>(b >> 16),
        static_cast<std::uint8_t>(b >> 24)}));

    CProList back;
    EXPECT_EQ(LoadProfiles(back, dir.slash()), 2);
    EXPECT_EQ(ReadCurrentId(dir.slash()), b);
    ASSERT_TRUE(back.Find(a));
    EXPECT_EQ(std::memcmp(back.Find(a), list.Find(a), kProfileSize), 0);
    EXPECT_EQ(FieldToUtf8(back.FirstProfile()->szName), "First");
}

TEST_F(ProfileStoreTest, SlotsWithoutMagicOrIdAreSkippedAndWrongSizesLoadNothing) {
    std::vector<std::uint8_t> image(kProDctSize, 0);
    auto put = [&image](std::size_t slot, std::uint32_t magic, std::uint32_t id) {
        std::memcpy(image.data() + slot * kProfileSize + 4, &magic, 4);
        std::memcpy(image.data() + slot * kProfileSize + 8, &id, 4);
    };
    put(0, kProfileMagic, 0);          // no id
    put(1, kProfileMagic ^ 1, 0x111);  // wrong magic
    put(5, kProfileMagic, 0x222);
    put(19, kProfileMagic, 0x333);
    WriteBytes(Path(kProDctName), image);
    CProList list;
    EXPECT_EQ(LoadProfiles(list, dir.slash()), 2);
    EXPECT_EQ(list.FirstProfile()->dwProfileID, 0x222u);

    for (const std::size_t size : {kProDctSize - 1, kProDctSize + 1}) {
        const test::LogCapture log;
        image.resize(size, 0);
        WriteBytes(Path(kProDctName), image);
        CProList none;
        EXPECT_EQ(LoadProfiles(none, dir.slash()), 0) << size;
        EXPECT_EQ(none.Count(), 0u);
        EXPECT_NE(log.Text().find("Profile has wrong size"), std::string::npos);
    }
    CProList missing;
    EXPECT_EQ(LoadProfiles(missing, dir.slash() + "nowhere/"), 0);
    EXPECT_EQ(ReadCurrentId(dir.slash() + "nowhere/"), 0u);
    WriteBytes(Path(kCurIdName), {1, 2, 3});
    EXPECT_EQ(ReadCurrentId(dir.slash()), 0u) << "a short curid.dct names no profile";
}

TEST_F(ProfileStoreTest, TextFieldsFromTheFileEndWithinTheirArrays) {
    CProList list;
    ProfileData* p = list.AddProfile(Make("x"));
    for (char16_t& c : p->szName) c = u'N';
    for (char16_t& c : p->szSound) c = u'S';
    ASSERT_TRUE(SaveProfiles(list, dir.slash()));
    CProList back;
    ASSERT_EQ(LoadProfiles(back, dir.slash()), 1);
    EXPECT_EQ(FieldView(back.FirstProfile()->szName).size(), 19u);
    EXPECT_EQ(FieldView(back.FirstProfile()->szSound).size(), 259u);
}

TEST_F(ProfileStoreTest, OnlyTheFirstTwentyProfilesAreSaved) {
    CProList list;
    for (int i = 0; i < 21; ++i) list.AddProfile(Make("P" + std::to_string(i)));
    EXPECT_TRUE(list.Full());
    ASSERT_TRUE(SaveProfiles(list, dir.slash()));
    CProList back;
    ASSERT_EQ(LoadProfiles(back, dir.slash()), 20);
    EXPECT_EQ(FieldToUtf8(std::prev(back.end())->szName), "P19");
}

TEST_F(ProfileStoreTest, AFailedSaveKeepsThePreviousFiles) {
    CProList list;
    list.Select(list.AddProfile(Make("Kept"))->dwProfileID);
    ASSERT_TRUE(SaveProfiles(list, dir.slash()));
    ASSERT_TRUE(WriteCurrentId(list, dir.slash()));
    const auto pro_before = ReadBytes(Path(kProDctName));
    const auto id_before = ReadBytes(Path(kCurIdName));

    list.Select(list.AddProfile(Make("Lost"))->dwProfileID);
    bool temp_was_complete = false;
    const auto crash = [&](const std::string& temp) {
        temp_was_complete = fs::file_size(temp) == kProDctSize || fs::file_size(temp) == 4;
        return false;
    };
    EXPECT_FALSE(SaveProfiles(list, dir.slash(), crash));
    EXPECT_FALSE(WriteCurrentId(list, dir.slash(), crash));
    EXPECT_TRUE(temp_was_complete);
    EXPECT_EQ(ReadBytes(Path(kProDctName)), pro_before);
    EXPECT_EQ(ReadBytes(Path(kCurIdName)), id_before);
    for (const auto& e : fs::directory_iterator(dir.path())) {
        EXPECT_FALSE(IsTempFileName(e.path().filename().string())) << e.path();
    }
    EXPECT_EQ(list.Count(), 2u) << "the profiles in memory stay";

    // A folder that cannot be written is a failure, not a success, and is logged.
    const test::LogCapture log;
    EXPECT_FALSE(SaveProfiles(list, dir.slash() + "no/such/folder/"));
    EXPECT_NE(log.Text().find("Save pro: CreateFile err=2"), std::string::npos) << log.Text();
}

TEST_F(ProfileStoreTest, AProDctOfTheWrongSizeIsKeptAsideBeforeItIsReplaced) {
    const std::vector<std::uint8_t> odd(1000, 0xAB);
    WriteBytes(Path(kProDctName), odd);
    config.szDataPath = dir.slash();
    config.gVar.nProfileNum = 2;
    CProList list;
    StartupProfiles(list, config, "Profile", ids.ids);
    EXPECT_EQ(list.Count(), 2u);
    ASSERT_TRUE(SaveProfiles(list, dir.slash()));
    EXPECT_EQ(ReadBytes(Path(kProDctBadName)), odd);
    EXPECT_EQ(ReadBytes(Path(kProDctName)).size(), kProDctSize);
    ASSERT_TRUE(SaveProfiles(list, dir.slash()));
    EXPECT_EQ(ReadBytes(Path(kProDctBadName)), odd) << "a good pro.dct does not replace the kept one";
}

TEST_F(ProfileStoreTest, StartupCreatesNamedDefaultsWithTheSoundAndSelectsTheStoredId) {
    const TempDir program;
    WriteBytes(program / kDrvSoundName, {0});
    config.szDataPath = dir.slash();
    config.szAppPath = program.slash();
    config.gVar.nProfileNum = 3;
    WriteBytes(Path(kProDctName) + kTempSuffix, {1, 2});

    CProList list;
    ProfileData* cur = StartupProfiles(list, config, "Profile ", ids.ids);
    EXPECT_FALSE(fs::exists(Path(kProDctName) + kTempSuffix));
    ASSERT_EQ(list.Count(), 3u);
    ASSERT_EQ(cur, list.FirstProfile());
    std::vector<std::string> names;
    for (const ProfileData& p : list) {
        names.push_back(FieldToUtf8(p.szName));
        EXPECT_EQ(FieldToUtf8(p.szSound), program.slash() + kDrvSoundName);
        EXPECT_TRUE(p.IsValid());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Profile 1", "Profile 2", "Profile 3"}));

    // Saved with the second current, the next start keeps the list and selects it.
    list.Select(std::next(list.begin())->dwProfileID);
    ASSERT_TRUE(SaveProfiles(list, dir.slash()));
    ASSERT_TRUE(WriteCurrentId(list, dir.slash()));
    CProList again;
    ASSERT_EQ(StartupProfiles(again, config, "ignored", ids.ids)->dwProfileID, list.Current()->dwProfileID);
    EXPECT_EQ(again.Count(), 3u);

    // A stored id that names no profile selects the first; a count above 20 is capped.
    WriteBytes(Path(kCurIdName), {1, 0, 0, 0});
    CProList first;
    const ProfileData* selected = StartupProfiles(first, config, "x", ids.ids);
    EXPECT_EQ(selected, first.FirstProfile());
    fs::remove(Path(kProDctName));
    config.gVar.nProfileNum = 25;
    fs::remove(program / kDrvSoundName);
    CProList capped;
    StartupProfiles(capped, config, "x", ids.ids);
    EXPECT_EQ(capped.Count(), kMaxProfiles);
    EXPECT_EQ(FieldToUtf8(capped.FirstProfile()->szSound), "");
}

TEST_F(ProfileStoreTest, AMissingOrZeroCurrentIdKeepsTheLoadedListAndSelectsItsFirst) {
    config.szDataPath = dir.slash();
    config.gVar.nProfileNum = 3;
    CProList stored;
    stored.AddProfile(Make("A"));
    stored.Select(stored.AddProfile(Make("B"))->dwProfileID);
    ASSERT_TRUE(SaveProfiles(stored, dir.slash()));
    for (const bool zero : {false, true}) {
        if (zero) WriteBytes(Path(kCurIdName), {0, 0, 0, 0});
        CProList list;
        ProfileStartup startup;
        const ProfileData* current = StartupProfiles(list, config, "Profile", ids.ids, startup);
        EXPECT_EQ(current, list.FirstProfile());
        EXPECT_EQ(list.Count(), 2u) << "zero curid: " << zero;
        EXPECT_FALSE(startup.defaults_created);
        EXPECT_EQ(FieldToUtf8(list.FirstProfile()->szName), "A");
    }
}

TEST_F(ProfileStoreTest, AReaderLeavesAnUnloadableStoreAndTheTemporariesAlone) {
    config.szDataPath = dir.slash();
    config.gVar.nProfileNum = 1;
    const std::vector<std::uint8_t> odd(10, 7);
    WriteBytes(Path(kProDctName), odd);
    WriteBytes(Path(kProDctName) + kTempSuffix, {1});
    CProList list;
    ProfileStartup startup;
    startup.writable = false;
    StartupProfiles(list, config, "Profile", ids.ids, startup);
    EXPECT_TRUE(startup.defaults_created);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_NE(startup.message.find("left as it is"), std::string::npos) << startup.message;
    EXPECT_EQ(ReadBytes(Path(kProDctName)), odd);
    EXPECT_TRUE(fs::exists(Path(kProDctName) + kTempSuffix));
    EXPECT_FALSE(fs::exists(Path(kProDctBadName)));
}

TEST_F(ProfileStoreTest, ListKeepsOrderAndTheCurrentRecord) {
    CProList list;
    const std::uint32_t a = list.AddProfile(Make("a"))->dwProfileID;
    const std::uint32_t b = list.AddProfile(Make("b"))->dwProfileID;
    ProfileData* cur = list.Select(b);
    list.AddProfile(Make("c"));
    EXPECT_EQ(list.Current(), cur) << "adding does not move records";
    EXPECT_EQ(list.Select(0xDEAD), nullptr);
    EXPECT_EQ(list.Current(), cur);
    EXPECT_TRUE(list.RemoveProfile(a));
    EXPECT_EQ(list.Current(), cur);
    EXPECT_TRUE(list.RemoveProfile(b));
    EXPECT_EQ(list.Current(), nullptr);
    EXPECT_FALSE(list.RemoveProfile(b));
    EXPECT_EQ(FieldToUtf8(list.FirstProfile()->szName), "c");
}

TEST_F(ProfileStoreTest, CreateProfileCutsTheNameAndGivesDistinctIds) {
    const ProfileData a = Make("abcdefghijklmnopqrstuvwxy");  // 25 characters
    const ProfileData b = Make("b");
    EXPECT_EQ(FieldToUtf8(a.szName), "abcdefghijklmnopqrs");
    EXPECT_NE(a.dwProfileID, b.dwProfileID);
    EXPECT_TRUE(a.IsValid());
}

TEST_F(ProfileStoreTest, SoundOnSelect) {
    ProfileData p = Make("s");
    EXPECT_EQ(SoundOnSelect(p, true).action, ProfileSound::kNone);
    SetField(p.szSound, dir / "missing.wav");
    EXPECT_EQ(SoundOnSelect(p, false).action, ProfileSound::kNone);
    const ProfileSound missing = SoundOnSelect(p, true);
    EXPECT_EQ(missing.action, ProfileSound::kMissing);
    EXPECT_EQ(missing.message, "Open file failed, " + dir / "missing.wav");
    WriteBytes(dir / "missing.wav", {0});
    EXPECT_EQ(SoundOnSelect(p, true).action, ProfileSound::kPlay);
}

}  // namespace
}  // namespace quobel
