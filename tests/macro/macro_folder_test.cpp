#include "macro/macro_folder.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "base/utf16.h"
#include "common/fake_ids.h"
#include "common/temp_dir.h"

namespace quobel {
namespace {

namespace fs = std::filesystem;
using test::FakeIds;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

MacroRecord Macro(std::uint32_t id, const char* name, std::uint16_t key = 0x41) {
    MacroRecord r;
    r.dwMagic = kMacroMagic;
    r.MacroID = id;
    SetField(r.szName, name);
    r.nLoopCount = 1;
    r.events[0] = {key, 1, 10};
    r.events[1] = {key, 0, 0};
    return r;
}

std::vector<std::uint8_t> McK(const MacroRecord& r) {
    const MacroFileBytes b = EncodeMacroFile(r);
    return {b.begin(), b.end()};
}

class MacroFolderTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string mac = dir / "Mac";
    FakeIds ids;
};

TEST_F(MacroFolderTest, ScanSkipsShortForeignAndDisallowedFilesAndTakesLongerOnes) {
    auto longer = McK(Macro(3, "long"));
    longer.resize(900, 0xEE);
    WriteBytes(mac + "/good.mck", McK(Macro(1, "good")));
    WriteBytes(mac + "/short.mck", std::vector<std::uint8_t>(833, 0));
    WriteBytes(mac + "/long.mck", longer);
    WriteBytes(mac + "/foreign.txt", std::vector<std::uint8_t>(834, 0x11));
    WriteBytes(mac + "/middle.mck", McK(Macro(4, "middle", 242)));
    WriteBytes(mac + "/half.mck" + kTempSuffix, McK(Macro(5, "half")));

    for (const std::uint32_t mask : {0x00u, 0x04u}) {
        MacroList list;
        SimpleMacroTree tree;
        ASSERT_TRUE(ScanMacroFolder(mac, {.tree = &tree, .add_to = &list, .mouse_key_mask = mask}));
        EXPECT_TRUE(list.Find(1));
        EXPECT_TRUE(list.Find(3));
        EXPECT_EQ(list.Find(4) != nullptr, mask == 0x04) << mask;
        EXPECT_FALSE(list.Find(5));
        EXPECT_EQ(list.Count(), mask == 0x04 ? 3u : 2u);
        EXPECT_EQ(tree.Rows().size(), list.Count());
    }
}

TEST_F(MacroFolderTest, GroupsAreReadOnlyWithMacroDirAndGiveTreeRowsWithPictures) {
    WriteBytes(mac + "/root.mck", McK(Macro(1, "root")));
    WriteBytes(mac + "/Shooters/aim.mck", McK(Macro(2, "aim")));
    WriteBytes(mac + "/Shooters/Deep/fire.mck", McK(Macro(3, "fire")));
    WriteBytes(mac + "/.hidden/x.mck", McK(Macro(4, "x")));
    WriteBytes(mac + "/$sys/y.mck", McK(Macro(5, "y")));

    MacroList flat;
    ASSERT_TRUE(ScanMacroFolder(mac, {.add_to = &flat, .nMacroDir = 0}));
    EXPECT_EQ(flat.Count(), 1u);

    MacroList all;
    SimpleMacroTree tree;
    ASSERT_TRUE(ScanMacroFolder(mac, {.tree = &tree, .add_to = &all, .nMacroDir = 1}));
    EXPECT_EQ(all.Count(), 3u);
    // Every macro row gives back the path of its file.
    for (std::size_t i = 0; i < tree.Rows().size(); ++i) {
        const SimpleMacroTree::Row& row = tree.Rows()[i];
        const auto path = TreeItem_To_FilePath(tree, SimpleMacroTree::ItemOf(i), mac);
        ASSERT_TRUE(path);
        EXPECT_TRUE(fs::exists(*path)) << *path;
        if (row.kind == MacroTreeKind::kGroup) {
            EXPECT_EQ(row.picture, *path + "/" + row.caption + ".png");
        }
    }
    EXPECT_FALSE(TreeItem_To_FilePath(tree, kMacroTreeRoot, mac));
}

TEST_F(MacroFolderTest, ScanWithNewIdsMarksEveryMacroChanged) {
    WriteBytes(mac + "/a.mck", McK(Macro(1, "a")));
    MacroList list;
    ASSERT_TRUE(ScanMacroFolder(mac, {.new_ids = &ids.ids, .add_to = &list}));
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_NE(+(list.begin()->MacroID), 1u);
    EXPECT_TRUE(list.begin()->dwFlags & kMacroFlagSettingsChanged);
    EXPECT_FALSE(ScanMacroFolder(dir / "missing", {}));
}

TEST_F(MacroFolderTest, TreePathRefusesDeepTreesAndUnsafeCaptions) {
    SimpleMacroTree tree;
    MacroTreeItem parent = kMacroTreeRoot;
    for (int i = 0; i < 19; ++i) parent = tree.AddGroup(parent, "g" + std::to_string(i), "");
    const MacroTreeItem at20 = tree.AddMacro(parent, "m", 1);
    const MacroTreeItem at21 = tree.AddMacro(tree.AddGroup(parent, "g19", ""), "m", 2);
    ASSERT_TRUE(TreeItem_To_FilePath(tree, at20, mac));
    EXPECT_TRUE(TreeItem_To_FilePath(tree, at20, mac)->ends_with("/g18/m.mck"));
    EXPECT_FALSE(TreeItem_To_FilePath(tree, at21, mac));
    for (const char* caption : {"..", "a/b", ""}) {
        EXPECT_FALSE(TreeItem_To_FilePath(tree, tree.AddMacro(kMacroTreeRoot, caption, 3), mac)) << caption;
    }
}

TEST_F(MacroFolderTest, FlushWritesOnlyChangedMacrosAndKeepsTheChangeWhenTheWriteFails) {
    SimpleMacroTree tree;
    const MacroTreeItem group = tree.AddGroup(kMacroTreeRoot, "New group", "");
    const MacroTreeItem item = tree.AddMacro(group, "fresh", 7);
    MacroList list;
    MacroRecord* rec = list.Add(Macro(7, "fresh"));
    const std::string file = mac + "/New group/fresh.mck";

    ASSERT_TRUE(Flush_Dirty_Macro(&tree, item, list, mac));
    EXPECT_FALSE(fs::exists(file)) << "unchanged macros are not written";

    rec->dwFlags |= kMacroFlagEventsChanged;
    ASSERT_TRUE(Flush_Dirty_Macro(&tree, item, list, mac));  // also makes the group's folder
    EXPECT_EQ(ReadBytes(file), McK(*rec));
    EXPECT_EQ(+rec->dwFlags, 0u);

    const auto before = ReadBytes(file);
    rec->nLoopCount = 9;
    rec->dwFlags |= kMacroFlagSettingsChanged;
    const auto fail_before_rename = [](const std::string&) { return false; };
    EXPECT_FALSE(Flush_Dirty_Macro(&tree, item, list, mac, fail_before_rename));
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_TRUE(rec->dwFlags & kMacroFlagSettingsChanged);
    for (const auto& e : fs::directory_iterator(mac)) EXPECT_FALSE(IsTempFileName(e.path().filename().string()));

    EXPECT_FALSE(Flush_Dirty_Macro(nullptr, item, list, mac));
    EXPECT_FALSE(Flush_Dirty_Macro(&tree, 99, list, mac));
}

TEST_F(MacroFolderTest, SaveMacroWritesNewFilesInTheRootOnly) {
    WriteBytes(mac + "/Group/Aim.mck", McK(Macro(1, "Aim")));
    WriteBytes(mac + "/Taken.mck", McK(Macro(2, "Taken")));

    MacroRecord aim = Macro(10, "Aim");
    aim.dwFlags = kMacroFlagEventsChanged;
    ASSERT_TRUE(save_macro(aim, mac)) << "a macro of that name in a group does not count";
    EXPECT_EQ(+aim.dwFlags, 0u);
    EXPECT_EQ(ReadBytes(mac + "/Aim.mck"), McK(aim));

    const auto taken_before = ReadBytes(mac + "/Taken.mck");
    MacroRecord taken = Macro(11, "TAKEN");
    EXPECT_FALSE(save_macro(taken, mac));
    EXPECT_EQ(ReadBytes(mac + "/Taken.mck"), taken_before);
    EXPECT_FALSE(fs::exists(mac + "/TAKEN.mck"));

    for (const char* bad : {"../escape", "a/b", "..", ""}) {
        MacroRecord r = Macro(12, bad);
        EXPECT_FALSE(save_macro(r, mac)) << bad;
    }
    EXPECT_FALSE(fs::exists(dir / "escape.mck"));
    MacroRecord no_magic = Macro(13, "nomagic");
    no_magic.dwMagic = 0;
    EXPECT_FALSE(save_macro(no_magic, mac));

    // The macro folder itself is made when missing.
    MacroRecord first = Macro(14, "first");
    EXPECT_TRUE(save_macro(first, dir / "NewMac"));
    EXPECT_TRUE(fs::exists(dir / "NewMac/first.mck"));
}

TEST_F(MacroFolderTest, FolderHelpers) {
    const std::string deep = dir / "a/b/c/file.bin";
    EXPECT_TRUE(MakeSureFolderExist(deep));
    EXPECT_TRUE(fs::is_directory(dir / "a/b/c"));
    EXPECT_FALSE(fs::exists(deep));

    const std::vector<std::uint8_t> one{1, 2, 3};
    EXPECT_TRUE(MyCreateFile(dir / "x/y/z.bin", one).ok());
    EXPECT_EQ(ReadBytes(dir / "x/y/z.bin"), one);
    EXPECT_TRUE(MyCreateFile(dir / "x/y/z.bin", std::vector<std::uint8_t>{9}).ok());  // replaces
    EXPECT_EQ(ReadBytes(dir / "x/y/z.bin").size(), 1u);

    EXPECT_TRUE(MyCopyFile(dir / "x/y/z.bin", dir / "copy/here/z.bin"));
    WriteBytes(dir / "other.bin", one);
    EXPECT_FALSE(MyCopyFile(dir / "other.bin", dir / "copy/here/z.bin")) << "never overwrites";
    EXPECT_EQ(ReadBytes(dir / "copy/here/z.bin").size(), 1u);

    // CopyFolderInto keeps the folder's own name and leaves existing files alone.
    WriteBytes(dir / "src/Group/m1.mck", one);
    WriteBytes(dir / "src/Group/Sub/m2.mck", one);
    WriteBytes(dir / "dst/Group/m1.mck", std::vector<std::uint8_t>{7});
    EXPECT_TRUE(CopyFolderInto(dir / "src/Group", dir / "dst"));
    EXPECT_EQ(ReadBytes(dir / "dst/Group/m1.mck"), std::vector<std::uint8_t>{7});
    EXPECT_EQ(ReadBytes(dir / "dst/Group/Sub/m2.mck"), one);

    fs::permissions(dir / "dst/Group/m1.mck", fs::perms::owner_read);
    EXPECT_TRUE(DeleteFolderTree(dir / "dst"));
    EXPECT_FALSE(fs::exists(dir / "dst"));
}

TEST_F(MacroFolderTest, CopyAndDeleteKeepToTheFolderAndNeverReachThroughLinks) {
    const std::vector<std::uint8_t> one{1, 2, 3};
    WriteBytes(dir / "src/Group/m1.mck", one);
    EXPECT_TRUE(CopyFolderInto(dir / "src/Group/", dir / "dst"));
    EXPECT_EQ(ReadBytes(dir / "dst/Group/m1.mck"), one) << "the trailing separator keeps the name";

    // Links inside the tree and the tree itself as a link: the targets stay as they are.
    WriteBytes(dir / "outside/keep.mck", one);
    fs::permissions(dir / "outside/keep.mck", fs::perms::owner_read);
    fs::create_symlink(dir / "outside/keep.mck", dir / "dst/Group/link.mck");
    fs::create_symlink(dir / "outside", dir / "dst/Group/linked");
    EXPECT_TRUE(DeleteFolderTree(dir / "dst"));
    EXPECT_FALSE(fs::exists(dir / "dst"));
    EXPECT_EQ(fs::status(dir / "outside/keep.mck").permissions(), fs::perms::owner_read);
    fs::create_symlink(dir / "outside", dir / "alias");
    EXPECT_TRUE(DeleteFolderTree(dir / "alias/"));
    EXPECT_FALSE(fs::is_symlink(dir / "alias"));
    EXPECT_EQ(ReadBytes(dir / "outside/keep.mck"), one);
}

TEST_F(MacroFolderTest, AFolderThatCannotBeReadIsSkippedAndTheRestIsRead) {
    WriteBytes(mac + "/A/a.mck", McK(Macro(1, "a")));
    WriteBytes(mac + "/Z/z.mck", McK(Macro(2, "z")));
    fs::create_symlink(mac, mac + "/A/loop");  // a link back to the macro folder
    fs::create_directories(mac + "/" + std::string(250, 'd'));  // its path is too long
    WriteBytes(mac + "/" + std::string(250, 'd') + "/deep.mck", McK(Macro(3, "deep")));
    const test::LogCapture log;
    MacroList list;
    EXPECT_TRUE(ScanMacroFolder(mac, {.add_to = &list, .nMacroDir = 1}));
    EXPECT_TRUE(list.Find(1));
    EXPECT_TRUE(list.Find(2));
    EXPECT_FALSE(list.Find(3));
    EXPECT_EQ(list.Count(), 2u) << "the loop adds no second copies";
    EXPECT_NE(log.Text().find("ScanMacroFolder: skipped the folder " + mac + "/A/loop"), std::string::npos)
        << log.Text();
}

TEST_F(MacroFolderTest, LeftoverTempFilesAreRemoved) {
    WriteBytes(mac + "/a.mck" + kTempSuffix, {1});
    WriteBytes(mac + "/G/b.mck" + kTempSuffix, {1});
    WriteBytes(mac + "/G/b.mck", {1});  // not a macro, but not left over either
    // A save of a process that still runs: neither removed nor read as a macro.
    const std::string running = mac + "/c.mck" + kTempSuffix + "." + std::to_string(::getppid()) + ".0";
    WriteBytes(running, McK(Macro(5, "c")));
    MacroList list;
    LoadMacroFolder(mac, list, 1, 0);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(fs::exists(running));
    EXPECT_FALSE(fs::exists(mac + "/a.mck" + kTempSuffix));
    EXPECT_FALSE(fs::exists(mac + "/G/b.mck" + kTempSuffix));
    EXPECT_TRUE(fs::exists(mac + "/G/b.mck"));
}

TEST_F(MacroFolderTest, ImportChecksTheFileAndNamesTheMacroAfterIt) {
    const std::string src = QUOBEL_TEST_DATA_DIR "/macro/sample.mck";
    const MacroImport ok = ReadMacroForImport(src, 0x01, ids.ids);
    ASSERT_TRUE(ok.record) << ok.error;
    EXPECT_EQ(FieldToUtf8(ok.record->szName), "sample");
    EXPECT_NE(+ok.record->MacroID, 0x123456u);

    auto bytes = ReadBytes(src);
    WriteBytes(dir / "short.mck", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 833));
    WriteBytes(dir / "foreign.mck", std::vector<std::uint8_t>(834, 0));
    struct Case {
        std::string path;
        std::uint32_t mask;
        const char* starts;
    };
    const Case cases[] = {
        {dir / "missing.mck", 0x7F, "Open macro file failed. error=0x"},
        {dir.path(), 0x7F, "Open macro file failed. error=0x"},
        {dir / "short.mck", 0x7F, "Read macro file failed. error=0x"},
        {dir / "foreign.mck", 0x7F, "This is not a valid macro file."},
        {src, 0x00, "This macro contains unsupported key."},
    };
    for (const Case& c : cases) {
        const MacroImport r = ReadMacroForImport(c.path, c.mask, ids.ids);
        EXPECT_FALSE(r.record) << c.path;
        EXPECT_TRUE(r.error.starts_with(c.starts)) << c.path << ": " << r.error;
    }
}

}  // namespace
}  // namespace quobel
