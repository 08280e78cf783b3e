#include "platform/ini.h"

#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace quobel {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }
std::string Text(const std::vector<std::uint8_t>& b) { return {b.begin(), b.end()}; }

// ---- Reading strings ----

struct ReadCase {
    const char* name;
    const char* file;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsTheValue) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniFile::FromText(c.file).Get(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniRead,
    ::testing::Values(
        ReadCase{"SectionAndKeyIgnoreCase", "[Opt]\r\nDeBug=2\r\n", "OPT", "debug", "2"},
        ReadCase{"FirstSectionWins", "[a]\nk=1\n[A]\nk=2\nj=3\n", "a", "k", "1"},
        ReadCase{"LaterSameSectionIsNotRead", "[a]\nk=1\n[A]\nj=3\n", "a", "j", std::nullopt},
        ReadCase{"FirstKeyWins", "[a]\nK=1\nk=2\n", "a", "k", "1"},
        ReadCase{"BlanksAroundNamesAndValue", "  [ a ]  \n\t k \t=  v w \t\n", "a", "k", "v w"},
        ReadCase{"DoubleQuotesRemoved", "[a]\nk=\" x \"\n", "a", "k", " x "},
        ReadCase{"SingleQuotesRemoved", "[a]\nk='x'\n", "a", "k", "x"},
        ReadCase{"OnlyOnePairOfQuotes", "[a]\nk=\"\"x\"\"\n", "a", "k", "\"x\""},
        ReadCase{"UnmatchedQuotesKept", "[a]\nk=\"x'\n", "a", "k", "\"x'"},
        ReadCase{"EmptyValueIsPresent", "[a]\nk=\n", "a", "k", ""},
        ReadCase{"ValueKeepsFurtherEquals", "[a]\nk=x=y\n", "a", "k", "x=y"},
        ReadCase{"SemicolonInValueKept", "[a]\nk=x ; y\n", "a", "k", "x ; y"},
        ReadCase{"CommentLineIgnored", "[a]\n;k=1\nk=2\n", "a", "k", "2"},
        ReadCase{"LineWithoutEqualsIgnored", "[a]\nk\nk=2\n", "a", "k", "2"},
        ReadCase{"KeyBeforeAnySection", "k=1\n[a]\n", "a", "k", std::nullopt},
        ReadCase{"KeyOfAnotherSection", "[a]\n[b]\nk=1\n", "a", "k", std::nullopt},
        ReadCase{"MissingSection", "[a]\nk=1\n", "b", "k", std::nullopt},
        ReadCase{"LastLineWithoutLineEnd", "[a]\nk=1", "a", "k", "1"},
        ReadCase{"CarriageReturnLineEnds", "[a]\r\nk=1\r\n", "a", "k", "1"}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Integers ----

struct IntCase {
    const char* name;
    const char* value;  // null: the key is missing
    std::int32_t expected;
};

class IniInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniInt, FollowsThePrivateProfileRules) {
    const IntCase& c = GetParam();
    const std::string file = c.value ? std::string("[s]\nk=") + c.value + "\n" : "[s]\n";
    EXPECT_EQ(IniFile::FromText(file).GetInt("s", "k", 77), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Ini, IniInt,
                         ::testing::Values(IntCase{"Missing", nullptr, 77},
                                           IntCase{"Decimal", "123", 123},
                                           IntCase{"Negative", "-12", -12},
                                           IntCase{"Hexadecimal", "0x1F", 31},
                                           IntCase{"HexadecimalUpperCase", "0XaB", 171},
                                           IntCase{"HexadecimalWithoutDigits", "0x", 0},
                                           IntCase{"LeadingNumberOnly", "12abc", 12},
                                           IntCase{"DecimalStopsAtPoint", "1.9", 1},
                                           IntCase{"NoDigits", "abc", 0},
                                           IntCase{"EmptyGivesTheDefault", "", 77},
                                           IntCase{"BlanksOnlyGiveTheDefault", "   ", 77},
                                           IntCase{"LeadingPlus", "+12", 12},
                                           IntCase{"PlusAlone", "+", 0},
                                           IntCase{"MinusAlone", "-", 0},
                                           IntCase{"BlanksTrimmed", "  42  ", 42},
                                           IntCase{"Quoted", "\"7\"", 7},
                                           IntCase{"WrapsAt32Bits", "4294967295", -1},
                                           IntCase{"HexWrapsAt32Bits", "0xFFFFFFFF", -1}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---- Strings cut to the buffer ----

TEST(Ini, StringsAreCutToTheBufferLessOneAndTakeTheDefaultWhenMissing) {
    const IniFile ini = IniFile::FromText("[s]\nascii=abcdef\nwide=\xC3\xA9\xC3\xA9\xC3\xA9\nemoji=a\xF0\x9F\x98\x80z\n");
    EXPECT_EQ(ini.GetString("s", "ascii", "", 5), "abcd");
    EXPECT_EQ(ini.GetString("s", "ascii", "", 100), "abcdef");
    EXPECT_EQ(ini.GetString("s", "wide", "", 3), "\xC3\xA9\xC3\xA9");
    // A character outside the basic plane takes two units and is never split.
    EXPECT_EQ(ini.GetString("s", "emoji", "", 3), "a");
    EXPECT_EQ(ini.GetString("s", "emoji", "", 4), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(ini.GetString("s", "missing", "default", 4), "def");
    EXPECT_EQ(ini.GetString("s", "ascii", "", 1), "");
}

// ---- Encodings ----

TEST(Ini, ReadsUtf8WithAndWithoutBomAndUtf16WithBom) {
    const std::string body = "[s]\r\nname=Caf\xC3\xA9\r\n";
    const IniFile plain = IniFile::FromBytes(Bytes(body));
    const IniFile bom = IniFile::FromBytes(Bytes("\xEF\xBB\xBF" + body));
    std::vector<std::uint8_t> utf16{0xFF, 0xFE};
    for (const char16_t c : u"[s]\r\nname=Caf\u00E9\r\n") {
        if (c == 0) break;
        utf16.push_back(static_cast<std::uint8_t>(c));
        utf16.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    const IniFile wide = IniFile::FromBytes(utf16);
    for (const IniFile* ini : {&plain, &bom, &wide}) EXPECT_EQ(ini->Get("S", "NAME"), "Caf\xC3\xA9");

    // Saving keeps the encoding the file was read in.
    EXPECT_EQ(plain.ToBytes(), Bytes(body));
    EXPECT_EQ(bom.ToBytes(), Bytes("\xEF\xBB\xBF" + body));
    EXPECT_EQ(wide.ToBytes(), utf16);
}

TEST(Ini, AFileThatIsNotUtf8IsWindows1252AndIsSavedSo) {
    // "Café" and "€ 5" as a Windows editor writes them.
    const std::string body = "[OPT]\r\nTitle=Caf\xE9\r\nPrice=\x80 5\r\n";
    IniFile ini = IniFile::FromBytes(Bytes(body));
    EXPECT_EQ(ini.Get("opt", "title"), "Caf\xC3\xA9");
    EXPECT_EQ(ini.Get("opt", "price"), "\xE2\x82\xAC 5");
    EXPECT_EQ(ini.ToBytes(), Bytes(body));
    ini.Set("OPT", "LangIndex", "1");
    EXPECT_EQ(ini.ToBytes(), Bytes(body + "LangIndex=1\r\n")) << "the other lines keep their bytes";
}

TEST(Ini, OnlyARegularFileOfSensibleSizeIsRead) {
    const test::TempDir dir;
    const std::string big = dir / "big.ini";
    test::WriteText(big, "[OPT]\nk=1\n" + std::string(IniFile::kMaxFileBytes, ';'));
    EXPECT_FALSE(IniFile::Load(big).opened());
    test::WriteText(big, "[OPT]\nk=1\n");
    EXPECT_EQ(IniFile::Load(big).GetInt("OPT", "k", 0), 1);
    // A pipe in place of lang.ini would block a plain read for ever.
    const std::string fifo = dir / "lang.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(IniFile::Load(fifo).opened());
    EXPECT_FALSE(IniFile::Load(dir.path()).opened()) << "a folder";
}

// ---- Writing ----

struct WriteCase {
    const char* name;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    IniFile ini = IniFile::FromText(c.before);
    ini.Set(c.section, c.key, c.value);
    EXPECT_EQ(Text(ini.ToBytes()), c.after);
    EXPECT_EQ(IniFile::FromBytes(ini.ToBytes()).Get(c.section, c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Ini, IniWrite,
    ::testing::Values(
        WriteCase{"ReplacesTheFirstKeyInPlace",
                  "; top\r\n[OPT]\r\n; lang\r\nLangIndex = 0\r\nPlaySound=1\r\n[X]\r\nLangIndex=9\r\n", "opt",
                  "langindex", "2",
                  "; top\r\n[OPT]\r\n; lang\r\nLangIndex=2\r\nPlaySound=1\r\n[X]\r\nLangIndex=9\r\n"},
        WriteCase{"AddsAKeyAfterTheSectionsLastKey", "[OPT]\r\na=1\r\n\r\n[X]\r\n", "OPT", "b", "2",
                  "[OPT]\r\na=1\r\nb=2\r\n\r\n[X]\r\n"},
        WriteCase{"AddsASectionAtTheEnd", "[X]\r\na=1\r\n", "OPT", "b", "2", "[X]\r\na=1\r\n[OPT]\r\nb=2\r\n"},
        WriteCase{"StartsAnEmptyFile", "", "OPT", "b", "2", "[OPT]\r\nb=2\r\n"},
        WriteCase{"KeepsLinefeedLineEnds", "[OPT]\na=1\n", "OPT", "b", "2", "[OPT]\na=1\nb=2\n"},
        WriteCase{"EndsAnUnfinishedLastLineFirst", "[OPT]\r\na=1", "OPT", "b", "2", "[OPT]\r\na=1\r\nb=2\r\n"},
        WriteCase{"KeepsAnUnfinishedLastLineWhenReplacing", "[OPT]\r\na=1", "OPT", "a", "3", "[OPT]\r\na=3"},
        WriteCase{"KeepsMixedLineEndsOfOtherLines", "[OPT]\na=1\r\nc=\r\n", "OPT", "a", "2",
                  "[OPT]\na=2\r\nc=\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Ini, SavingWhatWasReadGivesTheSameBytes) {
    // A line that ends in a carriage return without a line feed once lost a byte per save.
    for (const std::string& text : {std::string("\0\0\nTipl\r\r\r", 10), std::string("a\nb\r"),
                                   std::string("[s]\r\nk=1\n\n;c\r\r\n")}) {
        const auto once = IniFile::FromText(text).ToBytes();
        EXPECT_EQ(Text(once), text);
        EXPECT_EQ(IniFile::FromBytes(once).ToBytes(), once);
    }
}

TEST(Ini, LoadAndSaveGoThroughFiles) {
    test::TempDir dir;
    const IniFile missing = IniFile::Load(dir / "none.ini");
    EXPECT_FALSE(missing.opened());
    EXPECT_EQ(missing.GetInt("OPT", "Debug", 5), 5);

    test::WriteText(dir / "lang.ini", "[OPT]\r\nLangIndex=1\r\n");
    IniFile ini = IniFile::Load(dir / "lang.ini");
    EXPECT_TRUE(ini.opened());
    ini.Set("OPT", "SkinsIndex", "3");
    ASSERT_TRUE(ini.Save(dir / "lang.ini"));
    EXPECT_EQ(test::ReadText(dir / "lang.ini"), "[OPT]\r\nLangIndex=1\r\nSkinsIndex=3\r\n");
}

}  // namespace
}  // namespace quobel
