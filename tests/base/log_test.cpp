#include "base/log.h"

#include <array>
#include <filesystem>
#include <numeric>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/temp_dir.h"

namespace quobel {
namespace {

using test::ReadText;
using test::WriteText;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// 10:05:07.042 on 4 March 2026.
LogTime FixedTime() { return {2026, 3, 4, 10, 5, 7, 42}; }

class LogTest : public ::testing::Test {
protected:
    LogTest() : log_(FixedTime, [this](std::string_view m) { debug_.emplace_back(m); }) {}

    [[nodiscard]] std::string LogFile() const { return desktop_ / "Log.txt"; }

    test::TempDir desktop_;
    std::vector<std::string> debug_;
    Log log_;
};

TEST_F(LogTest, FileEntriesStartOnANewLineWithMinutesSecondsAndMilliseconds) {
    WriteText(LogFile(), "kept");
    log_.Start(2, desktop_.path());
    log_.Print("Launch %04d, Ver=%s", 2026, "1.0");
    log_.Print("%s", "");
    log_.Print("100%% done");
    EXPECT_EQ(ReadText(LogFile()),
              "kept"
              "\r\n05:07.042   Launch 2026, Ver=1.0"
              "\r\n05:07.042   "
              "\r\n05:07.042   100% done");
    EXPECT_THAT(debug_, IsEmpty());
}

TEST_F(LogTest, LevelZeroWritesNothingAnywhereAndCreatesNoFile) {
    log_.Start(0, desktop_.path());
    log_.Print("dropped");
    const std::array<std::uint8_t, 3> bytes{1, 2, 3};
    log_.HexDump(bytes, 2, "HdData:");
    log_.HexDumpGrouped("HdData:", bytes, 2, 1);
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
    EXPECT_THAT(debug_, IsEmpty());
}

TEST_F(LogTest, EntriesBeforeTheStartAreDropped) {
    log_.Print("too early");
    EXPECT_THAT(debug_, IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
}

TEST_F(LogTest, LevelOneAndAnyOtherNonZeroLevelGoToTheDebuggerWithPrefix) {
    for (const int level : {1, 3, -1}) {
        debug_.clear();
        log_.Start(level, desktop_.path());
        log_.Print("level %d", level);
        EXPECT_THAT(debug_, ElementsAre("QX  level " + std::to_string(level))) << level;
    }
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
}

TEST_F(LogTest, DebuggerMessagesAreCutToTheirBuffer) {
    log_.Start(1, desktop_.path());
    log_.Print("%s", std::string(600, 'x').c_str());
    ASSERT_EQ(debug_.size(), 1u);
    EXPECT_EQ(debug_[0], "QX  " + std::string(507, 'x'));
}

struct SizeCase {
    const char* name;
    std::size_t size;
    bool emptied;
};

class LogSizeRule : public LogTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(LogSizeRule, AFileOverTheLimitIsEmptiedAtStart) {
    const std::string before(GetParam().size, 'a');
    WriteText(LogFile(), before);
    log_.Start(2, desktop_.path());
    EXPECT_EQ(ReadText(LogFile()), GetParam().emptied ? "" : before);
    log_.Print("x");
    EXPECT_EQ(ReadText(LogFile()), (GetParam().emptied ? "" : before) + "\r\n05:07.042   x");
}

INSTANTIATE_TEST_SUITE_P(Log, LogSizeRule,
                         ::testing::Values(SizeCase{"AtTheLimitKept", kLogFileLimit, false},
                                           SizeCase{"OneByteOverEmptied", kLogFileLimit + 1, true},
                                           SizeCase{"NewFileCreated", 0, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(LogTest, GrowingPastTheLimitWhileRunningIsAllowed) {
    WriteText(LogFile(), std::string(kLogFileLimit, 'a'));
    log_.Start(2, desktop_.path());
    log_.Print("over");
    EXPECT_EQ(std::filesystem::file_size(LogFile()), kLogFileLimit + 2 + 12 + 4);
}

TEST_F(LogTest, NoDesktopFolderFallsBackToTheDebuggerOutput) {
    for (const std::string& desktop : {desktop_ / "missing", std::string()}) {
        debug_.clear();
        log_.Start(2, desktop);
        log_.Print("still seen");
        EXPECT_THAT(debug_, ElementsAre("QX  Open Log failed", "QX  still seen")) << desktop;
    }
}

TEST_F(LogTest, AnEntryWhoseFileCannotBeOpenedIsLost) {
    log_.Start(2, desktop_.path());
    std::filesystem::remove(LogFile());
    std::filesystem::create_directory(LogFile());  // in the way of the file
    log_.Print("lost");
    EXPECT_THAT(debug_, ElementsAre("Open Log failed"));
}

TEST_F(LogTest, EntriesFromSeveralThreadsStayWhole) {
    log_.Start(2, desktop_.path());
    constexpr int kThreads = 4;
    constexpr int kEntries = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < kEntries; ++i) log_.Print("thread %d entry %d %s", t, i, std::string(40, 'z').c_str());
        });
    }
    for (auto& th : threads) th.join();
    const std::string text = *ReadText(LogFile());
    const std::regex entry("\r\n05:07\\.042   thread [0-9] entry [0-9]+ z{40}");
    const auto count = std::distance(std::sregex_iterator(text.begin(), text.end(), entry), std::sregex_iterator());
    EXPECT_EQ(count, kThreads * kEntries);
    EXPECT_EQ(std::regex_replace(text, entry, ""), "");
}

// Dumps are compared as whole files: each line is one entry.
class LogDumpTest : public LogTest {
protected:
    void SetUp() override { log_.Start(2, desktop_.path()); }

    static std::vector<std::uint8_t> Bytes(std::size_t n) {
        std::vector<std::uint8_t> v(n);
        std::iota(v.begin(), v.end(), std::uint8_t{0});
        return v;
    }
    static std::string Entries(std::initializer_list<std::string> lines) {
        std::string out;
        for (const auto& l : lines) out += "\r\n05:07.042   " + l;
        return out;
    }
    static std::string Hex(std::size_t from, std::size_t to) {
        std::string out;
        char piece[4];
        for (std::size_t i = from; i < to; ++i) {
            std::snprintf(piece, sizeof piece, "%02x ", static_cast<unsigned>(i & 0xFF));
            out += piece;
        }
        return out;
    }
};

TEST_F(LogDumpTest, PlainDumpBreaksLinesAndRepeatsThePrefixOnlyWhenBytesFollow) {
    log_.HexDump(Bytes(5), 2, "HdData:");
    log_.HexDump(Bytes(4), 2, "P");
    log_.HexDump(Bytes(3), 2, nullptr);
    EXPECT_EQ(ReadText(LogFile()), Entries({"HdData: 00 01 ", "HdData: 02 03 ", "HdData: 04 ",
                                            "P 00 01 ", "P 02 03 ", "",
                                            "00 01 ", "02 "}));
}

TEST_F(LogDumpTest, PlainDumpWithoutLineLengthBreaksAt1021CharactersWithoutPrefix) {
    // "P " and 340 bytes make 1022 characters: the first line to reach 1021.
    log_.HexDump(Bytes(400), 0, "P");
    EXPECT_EQ(ReadText(LogFile()), Entries({"P " + Hex(0, 340), Hex(340, 400)}));
}

TEST_F(LogDumpTest, PlainDumpIgnoresEmptyInput) {
    log_.HexDump({}, 16, "P");
    log_.HexDumpGrouped("P", {}, 16, 4);
    EXPECT_EQ(ReadText(LogFile()), "");
}

TEST_F(LogDumpTest, GroupedDumpPutsTwoBlanksAfterEveryGroup) {
    log_.HexDumpGrouped("G", Bytes(10), 8, 4);
    log_.HexDumpGrouped(nullptr, Bytes(6), 0, 3);
    log_.HexDumpGrouped("Z", Bytes(2), 0, 0);  // no groups
    EXPECT_EQ(ReadText(LogFile()),
              Entries({"G 00 01 02 03  04 05 06 07  ", "G 08 09 ", "00 01 02  03 04 05  ", "Z 00 01 "}));
}

TEST_F(LogDumpTest, GroupedDumpStopsAddingBytesAtTheEndOfItsLineBuffer) {
    // 39 groups of four take 507 characters; one more byte fits (510), then none does.
    log_.HexDumpGrouped(nullptr, Bytes(200), 0, 4);
    std::string line;
    for (std::size_t g = 0; g < 39; ++g) line += Hex(4 * g, 4 * g + 3) + Hex(4 * g + 3, 4 * g + 4) + " ";
    line += Hex(156, 157);
    EXPECT_EQ(ReadText(LogFile()), Entries({line}));
}

TEST(ProcessLog, FreeFunctionsWriteThroughTheProcessLog) {
    test::TempDir desktop;
    LogStart(2, desktop.path());
    LogPrint("hello %s", "there");
    const std::array<std::uint8_t, 2> bytes{0xAB, 0xCD};
    LogHexDump(bytes, 0, "D:");
    LogHexDumpGrouped("G:", bytes, 0, 2);
    const std::regex expected("\r\n[0-9]{2}:[0-9]{2}\\.[0-9]{3}   hello there"
                              "\r\n[0-9]{2}:[0-9]{2}\\.[0-9]{3}   D: ab cd "
                              "\r\n[0-9]{2}:[0-9]{2}\\.[0-9]{3}   G: ab cd  ");
    EXPECT_TRUE(std::regex_match(*ReadText(desktop / "Log.txt"), expected));
    LogStart(0, desktop.path());
}

}  // namespace
}  // namespace quobel
