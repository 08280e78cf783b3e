#include "config/xml_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/utf16.h"

namespace quobel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Raw(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes Utf16(std::string_view utf8, bool big_endian, bool bom = true) {
    Bytes out;
    if (bom) out = big_endian ? Bytes{0xFE, 0xFF} : Bytes{0xFF, 0xFE};
    for (const char16_t u : Utf8ToUtf16(utf8)) {
        const auto lo = static_cast<std::uint8_t>(u & 0xFF);
        const auto hi = static_cast<std::uint8_t>(u >> 8);
        out.push_back(big_endian ? hi : lo);
        out.push_back(big_endian ? lo : hi);
    }
    return out;
}

// The data of root/child after loading and parsing the bytes.
std::string DataOf(const Bytes& bytes, std::string_view child, XmlReader* out = nullptr) {
    XmlReader local;
    XmlReader& xml = out ? *out : local;
    EXPECT_TRUE(xml.LoadBytes(bytes));
    xml.Parse();
    return xml.FindChildElem(child) ? xml.GetChildData() : "<missing>";
}

struct EncodingCase {
    const char* name;
    Bytes bytes;
    const char* encoding;
    const char* status_piece;
};

TEST(XmlReader, DecodesEveryEncodingToTheSameText) {
    const std::string doc = "<r><t>Grüße €</t></r>";
    const std::string doc_1252 = "<r><t>Gr\xFC\xDF" "e \x80</t></r>";
    const EncodingCase cases[] = {
        {"utf8_detected", Raw(doc), "UTF-8", "(used UTF-8 detection) "},
        {"utf8_bom", Raw("\xEF\xBB\xBF" + doc), "UTF-8", "UTF-8 BOM + "},
        {"utf16le_bom", Utf16(doc, false), "UTF-16LE", "UTF-16LE BOM + "},
        {"utf16be_bom", Utf16(doc, true), "UTF-16BE", "endian swap "},
        {"ansi_fallback", Raw(doc_1252), "windows-1252", "ANSI "},
        {"declared_1252", Raw("<?xml version='1.0' encoding='Windows-1252'?>" + doc_1252), "windows-1252",
         "windows-1252 "},
        {"meta_charset",
         Raw("<r><meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1252\"/>"
             "<t>Gr\xFC\xDF" "e \x80</t></r>"),
         "windows-1252", "windows-1252 "},
        // A declaration that lies about UTF-16 in an 8-bit file is not believed.
        {"declared_utf16_in_8bit", Raw("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + doc), "UTF-8",
         "(used UTF-8 detection) "},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.name);
        XmlReader xml;
        EXPECT_EQ(DataOf(c.bytes, "t", &xml), "Grüße €");
        EXPECT_EQ(xml.Encoding(), c.encoding);
        EXPECT_NE(xml.LoadStatus().find(c.status_piece), std::string::npos) << xml.LoadStatus();
        EXPECT_EQ(xml.ParseStatus(), "");
    }
}

TEST(XmlReader, Utf16OddLengthNullsAndBrokenSurrogates) {
    // "<r><t>a\0b\xD800c</t></r>" plus a dangling byte: nulls go, the lone surrogate
    // becomes U+FFFD, the last byte is not read.
    Bytes b = Utf16("<r><t>a", false);
    for (const int x : {0x00, 0x00, 0x62, 0x00, 0x00, 0xD8, 0x63, 0x00}) b.push_back(static_cast<std::uint8_t>(x));
    for (const std::uint8_t x : Utf16("</t></r>", false, false)) b.push_back(x);
    b.push_back('<');
    XmlReader xml;
    EXPECT_EQ(DataOf(b, "t", &xml), "ab\xEF\xBF\xBD" "c");
    EXPECT_NE(xml.LoadStatus().find("(1 nulls removed) "), std::string::npos) << xml.LoadStatus();
    EXPECT_NE(xml.LoadStatus().find("(odd last byte ignored) "), std::string::npos);

    // A surrogate pair is one character.
    EXPECT_EQ(DataOf(Utf16("<r><t>\xF0\x9F\x8E\xAE</t></r>", true), "t"), "\xF0\x9F\x8E\xAE");
}

TEST(XmlReader, CharacterDataReplacesReferencesAndLeavesBadOnesAsWritten) {
    struct Case {
        const char* xml;
        const char* data;
    };
    const Case cases[] = {
        {"&amp;", "&"},
        {"&#65;", "A"},
        {"&#x41;&#X42;", "AB"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"&auml;&Auml;&szlig;&euro;&hellip;&nbsp;", "äÄß€…\xC2\xA0"},
        {"&#x1F3AE;", "\xF0\x9F\x8E\xAE"},
        {"&#0;", "&#0;"},
        {"&#xD800;", "&#xD800;"},
        {"&#x110000;", "&#x110000;"},
        {"&#99999999999999999999999;", "&#99999999999999999999999;"},
        {"&#;&#x;&#12a;", "&#;&#x;&#12a;"},
        {"&amp &bogus; &AMP; &", "&amp &bogus; &AMP; &"},
        {"a<![CDATA[&amp;<b>]]>c", "a&amp;<b>c"},
        {"a<!-- &amp; -->b<?pi x?>c", "abc"},
        {"a<i>skipped</i>b<j/>c", "abc"},
        {"5 < 6", "5 < 6"},
        {"  keeps  spaces ", "  keeps  spaces "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        EXPECT_EQ(DataOf(Raw(std::string("<r><t>") + c.xml + "</t></r>"), "t"), c.data);
    }
}

TEST(XmlReader, ParseStatusNamesTheFirstProblem) {
    struct Case {
        const char* name;
        const char* xml;
        const char* status;
    };
    const Case cases[] = {
        {"well_formed", "<?xml version='1.0'?><!DOCTYPE r [<!ENTITY e '>'>]><r a='>' b=\"/\"><x/></r>", ""},
        {"empty", "", "Empty document"},
        {"blank", " \r\n\t ", "Empty document"},
        {"no_root", "just text <!-- and a comment -->", "No root element"},
        {"sibling", "<a/><b/>", "Root element has sibling"},
        {"stray_end", "</a>", "No start tag for end tag 'a' at offset 0"},
        {"not_ended", "<r><open>text", "Element 'open' at offset 3 not ended"},
        {"mismatch", "<r><a></b></r>", "End tag 'b' at offset 6 does not match start tag 'a' at offset 3"},
        {"bad_name_start", "<r>< a/></r>", "Incorrect tag name character at offset 4"},
        {"bad_name_char", "<r><a=b/></r>", "Incorrect tag name character at offset 5"},
        {"doctype", "<!DOCTYPE r [", "Doctype unterminated"},
        {"end_tag", "<r></r", "Element end tag unterminated"},
        {"tag", "<r a='x>", "Element tag unterminated"},
        {"cdata", "<r><![CDATA[x", "CDATA Section unterminated"},
        {"pi", "<?xml ", "Processing instruction unterminated"},
        {"comment", "<r><!-- x", "Comment unterminated"},
        {"bang", "<r><!ELEMENT x></r>", "Incorrect ! tag"},
        {"comment_tag", "<r><!- x -></r>", "Incorrect comment tag"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlReader xml;
        EXPECT_TRUE(xml.LoadBytes(Raw(c.xml)));
        xml.Parse();
        EXPECT_EQ(xml.ParseStatus(), c.status);
    }
}

TEST(XmlReader, MalformedDocumentsKeepWhatWasRecognised) {
    XmlReader xml;
    // <b> is never closed: </a> ends it too; the stray </c> is dropped.
    EXPECT_TRUE(xml.LoadBytes(Raw("<r><a><b>x</c>y</a><d>z</d><e>cut")));
    xml.Parse();
    ASSERT_TRUE(xml.FindChildElem("a"));
    EXPECT_EQ(xml.GetChildData(), "");
    ASSERT_TRUE(xml.IntoElem());
    ASSERT_TRUE(xml.FindChildElem("b"));
    EXPECT_EQ(xml.GetChildData(), "xy");
    ASSERT_TRUE(xml.OutOfElem());
    ASSERT_TRUE(xml.FindChildElem("d"));
    EXPECT_EQ(xml.GetChildData(), "z");
    ASSERT_TRUE(xml.FindChildElem("e"));
    EXPECT_EQ(xml.GetChildData(), "cut");
}

TEST(XmlReader, NavigationSearchesOnFromTheCurrentChild) {
    XmlReader xml;
    EXPECT_TRUE(xml.LoadBytes(Raw("<root><config><a>1</a></config><x/><config><a>2</a><a>3</a></config></root>")));
    xml.Parse();
    EXPECT_FALSE(xml.IntoElem());  // no current child yet
    ASSERT_TRUE(xml.FindChildElem("config"));
    EXPECT_EQ(xml.GetChildTagName(), "config");
    ASSERT_TRUE(xml.FindChildElem("config"));  // the next one after the current child
    ASSERT_TRUE(xml.IntoElem());
    ASSERT_TRUE(xml.FindChildElem("a"));
    EXPECT_EQ(xml.GetChildData(), "2");
    ASSERT_TRUE(xml.FindChildElem("a"));
    EXPECT_EQ(xml.GetChildData(), "3");
    EXPECT_FALSE(xml.FindChildElem("a"));
    EXPECT_EQ(xml.GetChildData(), "3");  // a failed search keeps the position

    xml.ResetPos();
    ASSERT_TRUE(xml.FindChildElem());  // any name
    EXPECT_EQ(xml.GetChildTagName(), "config");
    ASSERT_TRUE(xml.FindChildElem());
    EXPECT_EQ(xml.GetChildTagName(), "x");
    EXPECT_FALSE(xml.FindChildElem("root"));  // the root is not its own child
}

TEST(XmlReader, DeepNestingAndLongRunsAreHandledWithoutRecursion) {
    constexpr int kDepth = 200000;
    std::string doc;
    for (int i = 0; i < kDepth; ++i) doc += "<a>";
    doc += "<leaf>&amp;</leaf>";
    for (int i = 0; i < kDepth; ++i) doc += "</b>";  // none of them closes anything
    XmlReader xml;
    EXPECT_TRUE(xml.LoadBytes(Raw(doc)));
    xml.Parse();
    EXPECT_EQ(xml.ParseStatus(), "End tag 'b' at offset " + std::to_string(kDepth * 3 + 18) +
                                     " does not match start tag 'a' at offset " + std::to_string(kDepth * 3 - 3));
    int depth = 0;
    while (xml.FindChildElem("a")) {
        ASSERT_TRUE(xml.IntoElem());
        ++depth;
    }
    EXPECT_EQ(depth, kDepth - 1);
    ASSERT_TRUE(xml.FindChildElem("leaf"));
    EXPECT_EQ(xml.GetChildData(), "&");
}

TEST(XmlReader, LoadReadsFilesAndFailsOnMissingOnes) {
    // One folder per process: ctest runs the tests of this program in parallel processes.
    const auto dir =
        std::filesystem::path(::testing::TempDir()) / ("xml_reader_test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string empty = (dir / "empty.xml").string();
    const std::string doc = (dir / "doc.xml").string();
    std::ofstream(empty, std::ios::binary).close();
    std::ofstream(doc, std::ios::binary) << "<r><t>x</t></r>";

    XmlReader xml;
    EXPECT_TRUE(xml.Load(empty));
    EXPECT_EQ(xml.LoadStatus(), "0 length ");
    xml.Parse();
    EXPECT_EQ(xml.ParseStatus(), "Empty document");

    EXPECT_TRUE(xml.Load(doc));
    xml.Parse();
    ASSERT_TRUE(xml.FindChildElem("t"));
    EXPECT_EQ(xml.GetChildData(), "x");

    EXPECT_FALSE(xml.Load((dir / "missing.xml").string()));
    xml.Parse();
    EXPECT_FALSE(xml.FindChildElem("t"));  // the old document is gone
    EXPECT_FALSE(xml.Load(dir.string()));  // a folder is not a file
}

}  // namespace
}  // namespace quobel
