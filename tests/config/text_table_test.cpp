#include "config/text_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "base/utf16.h"
#include "config/xml_reader.h"

namespace quobel {
namespace {

namespace fs = std::filesystem;

class TextTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One folder per process: ctest runs the tests of this program in parallel processes.
        dir_ = fs::path(::testing::TempDir()) / ("text_table_test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string Utf16LeWithBom(const std::string& utf8) {
        std::string out = "\xFF\xFE";
        for (const char16_t u : Utf8ToUtf16(utf8)) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        }
        return out;
    }

    fs::path dir_;
};

TEST_F(TextTableTest, Utf16WithBomAndUtf8WithoutBomLoadTheSameTable) {
    std::string doc = "<?xml version=\"1.0\"?>\r\n<text>\r\n<config>\r\n";
    int n = 0;
    for (const std::string_view id : TextTable::Ids()) {
        const std::string name(id);
        doc += "<" + name + ">" + name + " Grüße &amp; € " + std::to_string(n++) + "</" + name + ">\r\n";
    }
    doc += "</config>\r\n</text>\r\n";

    TextTable utf8;
    TextTable utf16;
    utf8.Load(Write("utf8.xml", doc));
    utf16.Load(Write("utf16.xml", Utf16LeWithBom(doc)));
    for (std::size_t i = 0; i < kTextCount; ++i) {
        const std::string id(TextTable::Ids()[i]);
        EXPECT_EQ(utf8.At(i), id + " Grüße & € " + std::to_string(i));
        EXPECT_EQ(utf16.At(i), utf8.At(i));
    }
    EXPECT_EQ(utf16.Get("tc_title"), "tc_title Grüße & € 0");
}

TEST_F(TextTableTest, LookupRules) {
    struct Case {
        const char* name;
        const char* doc;
        const char* id;
        const char* text;
    };
    const Case cases[] = {
        {"root_of_any_name", "<strings><config><tc_ok>OK</tc_ok></config></strings>", "tc_ok", "OK"},
        {"any_order", "<t><config><tc_exit>Exit</tc_exit><tc_ok>OK</tc_ok></config></t>", "tc_ok", "OK"},
        {"first_config_only", "<t><config/><config><tc_ok>OK</tc_ok></config></t>", "tc_ok", ""},
        {"first_element_wins", "<t><config><tc_ok>1</tc_ok><tc_ok>2</tc_ok></config></t>", "tc_ok", "1"},
        {"direct_children_only", "<t><config><g><tc_ok>OK</tc_ok></g></config></t>", "tc_ok", ""},
        {"config_must_be_a_child", "<config><tc_ok>OK</tc_ok></config>", "tc_ok", ""},
        {"no_sixteenth_effect", "<t><config><tc_ms_led16>x</tc_ms_led16></config></t>", "tc_ms_led16", ""},
        {"last_effect", "<t><config><tc_ms_led15>Wave</tc_ms_led15></config></t>", "tc_ms_led15", "Wave"},
        {"names_match_case", "<t><config><TC_OK>OK</TC_OK><tc_pl>x</tc_pl></config></t>", "tc_ok", ""},
        {"not_an_identifier", "<t><config><tc_ok>OK</tc_ok></config></t>", "tc_nonsense", ""},
        {"hz_default", "<t><config/></t>", "tc_hz", "Hz"},
        {"hz_empty_element", "<t><config><tc_hz></tc_hz></config></t>", "tc_hz", "Hz"},
        {"hz_from_file", "<t><config><tc_hz>Hertz</tc_hz></config></t>", "tc_hz", "Hertz"},
        {"malformed_keeps_what_was_read", "<t><config><tc_ok>OK</tc_ok><tc_exit>Ex", "tc_ok", "OK"},
        {"trailing_space_kept", "<t><config><tc_proname>Profile </tc_proname></config></t>", "tc_proname",
         "Profile "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextTable texts;
        texts.Load(Write("lookup.xml", c.doc));
        EXPECT_EQ(texts.Get(c.id), c.text);
    }
}

TEST_F(TextTableTest, EachLoadReplacesTheWholeTable) {
    TextTable texts;
    texts.Load(Write("a.xml", "<t><config><tc_ok>OK</tc_ok><tc_exit>Exit</tc_exit></config></t>"));
    texts.Load(Write("b.xml", "<t><config><tc_exit>Beenden</tc_exit></config></t>"));
    EXPECT_EQ(texts.Get("tc_ok"), "");
    EXPECT_EQ(texts.Get("tc_exit"), "Beenden");

    texts.Load((dir_ / "missing.xml").string());
    for (std::size_t i = 0; i < kTextCount; ++i) {
        if (TextTable::Ids()[i] != "tc_hz") {
            EXPECT_EQ(texts.At(i), "") << TextTable::Ids()[i];
        }
    }
    EXPECT_EQ(texts.Get("tc_hz"), "Hz");
}

TEST(TextTableIds, TableOrderAndIndex) {
    const auto ids = TextTable::Ids();
    EXPECT_EQ(ids.front(), "tc_title");
    EXPECT_EQ(ids.back(), "tc_link");
    for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(TextTable::IndexOf(ids[i]), static_cast<int>(i));
    EXPECT_EQ(TextTable::IndexOf("tc_ms_led16"), -1);
    EXPECT_EQ(TextTable::IndexOf("tc_macro_msg24"), -1);
    EXPECT_LT(TextTable::IndexOf("tc_chiji20"), TextTable::IndexOf("tc_fire"));
}

// The shipped languages: every identifier present once and non-empty, nothing else in
// config (a misspelt identifier would silently show as empty).
class ShippedTexts : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedTexts, HoldEveryIdentifierWithAText) {
    const std::string folder = GetParam();
    const std::string path =
        std::string(QUOBEL_SOURCE_DIR) + "/data/" + (folder.empty() ? "" : "Text/" + folder + "/") + "text.xml";
    XmlReader xml;
    ASSERT_TRUE(xml.Load(path)) << path;
    xml.Parse();
    EXPECT_EQ(xml.ParseStatus(), "");
    EXPECT_EQ(xml.Encoding(), "UTF-8");

    std::set<std::string> names;
    xml.ResetPos();
    ASSERT_TRUE(xml.FindChildElem("config"));
    ASSERT_TRUE(xml.IntoElem());
    while (xml.FindChildElem()) {
        const std::string name = xml.GetChildTagName();
        EXPECT_GE(TextTable::IndexOf(name), 0) << "unknown identifier " << name;
        EXPECT_TRUE(names.insert(name).second) << "duplicate identifier " << name;
    }

    TextTable texts;
    texts.Load(path);
    for (std::size_t i = 0; i < kTextCount; ++i) {
        const std::string id(TextTable::Ids()[i]);
        EXPECT_TRUE(names.contains(id)) << "missing " << id;
        EXPECT_FALSE(texts.At(i).empty()) << "empty " << id;
    }
    EXPECT_EQ(texts.Get("tc_title"), "Quobel");
    // Default profiles are named tc_proname followed by their number.
    EXPECT_TRUE(texts.Get("tc_proname").ends_with(' '));
    EXPECT_EQ(texts.Get("tc_hz"), "Hz");
}

// "" is text.xml in the program folder, used when no languages are configured.
INSTANTIATE_TEST_SUITE_P(Languages, ShippedTexts, ::testing::Values("en", "de", ""),
                         [](const auto& row) { return *row.param ? std::string(row.param) : "default"; });

TEST(ShippedTextsDefault, IsTheEnglishFile) {
    auto read = [](const std::string& rel) {
        std::ifstream in(std::string(QUOBEL_SOURCE_DIR) + rel, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(read("/data/text.xml"), read("/data/Text/en/text.xml"));
}

}  // namespace
}  // namespace quobel
