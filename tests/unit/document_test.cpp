// The document readers: inflate, the zip reader's bounds, the code pages, the XML tokenizer and
// the text of .docx, .odt and .rtf parts.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/code_pages.h"
#include "document/counted_files.h"
#include "document/document_text.h"
#include "document/inflate.h"
#include "document/office_text.h"
#include "document/rtf_reader.h"
#include "document/xml_tokenizer.h"
#include "document/zip_reader.h"

namespace {

const SingleByteEncoder& Western() {
    static const SingleByteEncoder encoder(*FindCodePage(1252));
    return encoder;
}

std::string Bytes(const char* data, std::size_t size) { return std::string(data, size); }

TEST(Inflate, DecodesEachBlockTypeAndRefusesDamage) {
    const std::string hello = "Hello, Hello, Hello, Hello!";
    const std::string fixed = Bytes("\xf3\x48\xcd\xc9\xc9\xd7\x51\xf0\xc0\xa4\x14\x01", 12);
    const std::string stored = std::string("\x01\x1b\x00\xe4\xff", 5) + hello;
    const std::string dynamic = Bytes(
        "\x05\xc1\x81\x09\x00\x20\x0c\x03\xc1\x55\x1c\xce\x87\x0a\x92\x40\x1b\xf7\xf7\x8e\x11"
        "\x29\xf7\x50\x18\xc1\xb5\xe4\x34\x34\x27\x8f\xbd\x60\x0d\xf9",
        36);
    const std::string dynamicText = "esnethorseheoeneelonnotreereitued ee set";
    struct Row {
        const char* what;
        std::string stream;
        std::size_t outSize;
        InflateResult result;
        std::string text;
    } rows[] = {
        {"fixed codes with matches", fixed, hello.size(), InflateResult::Done, hello},
        {"stored block", stored, hello.size(), InflateResult::Done, hello},
        {"dynamic codes", dynamic, dynamicText.size(), InflateResult::Done, dynamicText},
        {"cut short", fixed.substr(0, 8), hello.size(), InflateResult::Damaged, ""},
        {"output smaller than the data", fixed, hello.size() - 1, InflateResult::Damaged, ""},
        {"output larger than the data", stored, hello.size() + 1, InflateResult::Damaged, ""},
        {"stored length not matched by its complement", "\x01\x1b\x00\xe4\xfe" + hello,
         hello.size(), InflateResult::Damaged, ""},
        {"block type 3", "\x07", 1, InflateResult::Damaged, ""},
        {"match before the start", Bytes("\x03\x02\x00", 3), 3, InflateResult::Damaged, ""},
        {"empty input", "", 0, InflateResult::Damaged, ""},
    };
    for (const Row& row : rows) {
        std::vector<unsigned char> out(row.outSize + 1, 0);
        const auto* in = reinterpret_cast<const unsigned char*>(row.stream.data());
        EXPECT_EQ(Inflate(in, row.stream.size(), out.data(), row.outSize), row.result) << row.what;
        if (row.result == InflateResult::Done) {
            EXPECT_EQ(std::string(out.begin(), out.begin() + row.outSize), row.text) << row.what;
        }
    }
}

// A zip file built by hand, stored entries unless told otherwise.
struct TestEntry {
    std::string name;
    std::string data;  // as stored in the file
    std::uint16_t method = 0;
    std::uint32_t size = 0;  // 0: the data's size
    std::uint16_t flags = 0;
    std::int64_t offsetShift = 0;  // added to the local header offset in the directory
    bool wrongCrc = false;
    std::string plain = {};  // the decompressed data of a compressed entry, for its checksum
};

void Put16(std::string* out, unsigned value) {
    out->push_back(static_cast<char>(value & 0xFF));
    out->push_back(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::string* out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string MakeZip(const std::vector<TestEntry>& entries, const std::string& comment = "") {
    std::string file;
    std::string directory;
    for (const TestEntry& entry : entries) {
        const auto offset = static_cast<std::uint32_t>(file.size());
        const std::uint32_t size =
            entry.size != 0 ? entry.size : static_cast<std::uint32_t>(entry.data.size());
        const std::string& plain = entry.method == 0 ? entry.data : entry.plain;
        std::uint32_t crc =
            Crc32(0, reinterpret_cast<const unsigned char*>(plain.data()), plain.size());
        if (entry.wrongCrc) crc ^= 1;
        Put32(&file, 0x04034B50);
        Put16(&file, 20), Put16(&file, entry.flags), Put16(&file, entry.method);
        Put32(&file, 0), Put32(&file, crc),
            Put32(&file, static_cast<std::uint32_t>(entry.data.size()));
        Put32(&file, size), Put16(&file, static_cast<unsigned>(entry.name.size())), Put16(&file, 0);
        file += entry.name + entry.data;
        Put32(&directory, 0x02014B50);
        Put16(&directory, 20), Put16(&directory, 20), Put16(&directory, entry.flags);
        Put16(&directory, entry.method), Put32(&directory, 0), Put32(&directory, crc);
        Put32(&directory, static_cast<std::uint32_t>(entry.data.size())), Put32(&directory, size);
        Put16(&directory, static_cast<unsigned>(entry.name.size()));
        Put16(&directory, 0), Put16(&directory, 0), Put16(&directory, 0), Put16(&directory, 0);
        Put32(&directory, 0),
            Put32(&directory, static_cast<std::uint32_t>(offset + entry.offsetShift));
        directory += entry.name;
    }
    const auto directoryOffset = static_cast<std::uint32_t>(file.size());
    file += directory;
    Put32(&file, 0x06054B50);
    Put16(&file, 0), Put16(&file, 0);
    Put16(&file, static_cast<unsigned>(entries.size())),
        Put16(&file, static_cast<unsigned>(entries.size()));
    Put32(&file, static_cast<std::uint32_t>(directory.size())), Put32(&file, directoryOffset);
    Put16(&file, static_cast<unsigned>(comment.size()));
    return file + comment;
}

ZipResult ExtractFrom(const std::string& zip, const char* name, std::size_t limit,
                      std::string* out) {
    ZipArchive archive;
    const ZipResult opened =
        archive.Open(reinterpret_cast<const unsigned char*>(zip.data()), zip.size());
    if (opened != ZipResult::Ok) return opened;
    const ZipEntry* entry = archive.Find(name);
    if (entry == nullptr) return ZipResult::Missing;
    return archive.Extract(*entry, limit, out);
}

TEST(ZipReader, ReadsEntriesAndRefusesWhatLiesOutsideOrOverTheBounds) {
    const std::string hello = "Hello, Hello, Hello, Hello!";
    const std::string fixed = Bytes("\xf3\x48\xcd\xc9\xc9\xd7\x51\xf0\xc0\xa4\x14\x01", 12);
    TestEntry deflated{"d.xml", fixed, 8, static_cast<std::uint32_t>(hello.size())};
    deflated.plain = hello;
    TestEntry bomb{"d.xml", fixed, 8, 12001};  // 12 bytes claiming 12001: over 1000:1
    TestEntry outside{"d.xml", hello};
    outside.offsetShift = 1000;
    TestEntry wrongCrc{"d.xml", hello};
    wrongCrc.wrongCrc = true;
    TestEntry encrypted{"d.xml", hello};
    encrypted.flags = 1;
    TestEntry unknownMethod{"d.xml", hello, 12};
    TestEntry lyingStored{"d.xml", hello, 0, 5};
    const std::string good = MakeZip({{"a.txt", "first"}, {"d.xml", hello}});
    std::string cutDirectory = good;
    cutDirectory.erase(good.size() - 22 - 10, 10);  // the end record now points past the data
    struct Row {
        const char* what;
        std::string zip;
        std::size_t limit;
        ZipResult result;
    } rows[] = {
        {"stored", good, 1000, ZipResult::Ok},
        {"deflated", MakeZip({deflated}), 1000, ZipResult::Ok},
        {"with a comment", MakeZip({{"d.xml", hello}}, "a comment PK\x05\x06 in it"), 1000,
         ZipResult::Ok},
        {"no entry of the name", MakeZip({{"other.xml", hello}}), 1000, ZipResult::Missing},
        {"not a zip", "just some text that is long enough to have an end record", 1000,
         ZipResult::NotZip},
        {"directory cut", cutDirectory, 1000, ZipResult::NotZip},
        {"cut before the end record", good.substr(0, good.size() - 5), 1000, ZipResult::NotZip},
        {"ratio over 1000:1", MakeZip({bomb}), 100000, ZipResult::Damaged},
        {"entry outside the file", MakeZip({outside}), 1000, ZipResult::Damaged},
        {"checksum wrong", MakeZip({wrongCrc}), 1000, ZipResult::Damaged},
        {"encrypted", MakeZip({encrypted}), 1000, ZipResult::Damaged},
        {"unknown method", MakeZip({unknownMethod}), 1000, ZipResult::Damaged},
        {"stored sizes differ", MakeZip({lyingStored}), 1000, ZipResult::Damaged},
        {"over the limit", good, hello.size() - 1, ZipResult::TooLarge},
    };
    for (const Row& row : rows) {
        std::string out;
        EXPECT_EQ(ExtractFrom(row.zip, "d.xml", row.limit, &out), row.result) << row.what;
        if (row.result == ZipResult::Ok) EXPECT_EQ(out, hello) << row.what;
    }
}

std::string Encoded(const std::string& utf8, int codePage = 1252, std::size_t limit = 1000) {
    const SingleByteEncoder encoder(*FindCodePage(codePage));
    AnsiText text(encoder, limit);
    text.Utf8(utf8.data(), utf8.size());
    return text.overLimit() ? "<over>" : text.text();
}

TEST(CodePages, CharactersTheCodePageLacksBecomeQuestionMarks) {
    const struct {
        std::string utf8;
        int codePage;
        std::string ansi;
    } rows[] = {
        {"caf\xc3\xa9 \xe2\x82\xac \xe2\x80\x94", 1252, "caf\xe9 \x80 \x97"},
        {"\xc4\x80 is A with macron", 1252, "? is A with macron"},  // no look-alike "A"
        {"emoji \xf0\x9f\x98\x80.", 1252, "emoji ?."},
        {"\xd0\x96", 1251, "\xc6"},
        {"\xd0\x96", 1252, "?"},
        {"bad \xff \xc3 \xe2\x82", 1252, "bad ? ? ??"},
        {"overlong \xc0\xaf surrogate \xed\xa0\x80", 1252, "overlong ?? surrogate ???"},
    };
    for (const auto& row : rows) EXPECT_EQ(Encoded(row.utf8, row.codePage), row.ansi) << row.utf8;
    EXPECT_EQ(Encoded("12345", 1252, 5), "12345");
    EXPECT_EQ(Encoded("123456", 1252, 5), "<over>");
    EXPECT_EQ(FindCodePage(932), nullptr);
}

TEST(XmlTokenizer, ReadsTagsAndRefusesMalformedXml) {
    XmlTokenizer tokenizer(
        "<?xml version=\"1.0\"?><!-- c --><a x='1' y=\"a>b\"><b/>t&amp;<![CDATA[<c>]]></a>");
    std::string seen;
    for (XmlToken token = tokenizer.Next(); token.kind != XmlTokenKind::End;
         token = tokenizer.Next()) {
        ASSERT_NE(token.kind, XmlTokenKind::Error) << seen;
        seen += std::to_string(static_cast<int>(token.kind)) + std::string(token.name) +
                std::string(token.text) + std::to_string(token.depth) + ";";
    }
    EXPECT_EQ(seen, "0a0;2b1;3t&amp;1;4<c>1;1a0;");
    std::string_view value;
    EXPECT_TRUE(FindXmlAttribute(" x='1' y=\"a>b\"", "y", &value));
    EXPECT_EQ(value, "a>b");
    EXPECT_FALSE(FindXmlAttribute(" x='1'", "z", &value));

    for (const char* bad : {"<a>", "<a></b>", "</a>", "<a><!-- open", "<a", "<a x='1></a>",
                            "<a><?pi</a>", "<a><![CDATA[x</a>", "< a/>"}) {
        XmlTokenizer broken(bad);
        XmlToken token;
        do token = broken.Next();
        while (token.kind != XmlTokenKind::End && token.kind != XmlTokenKind::Error);
        EXPECT_EQ(token.kind, XmlTokenKind::Error) << bad;
    }
}

std::string WordText(const std::string& body, bool* wellFormed = nullptr) {
    const std::string xml =
        "<?xml version=\"1.0\"?><w:document><w:body>" + body + "</w:body></w:document>";
    AnsiText text(Western(), 1000);
    const bool ok = WordDocumentText(xml, &text);
    if (wellFormed != nullptr) *wellFormed = ok;
    return text.text();
}

TEST(WordDocumentText, ParagraphsRunsBreaksFieldsAndRevisions) {
    const struct {
        const char* body;
        const char* text;
    } rows[] = {
        {"<w:p><w:r><w:t>One</w:t></w:r></w:p><w:p><w:r><w:t xml:space=\"preserve\">Two "
         "</w:t><w:t>parts</w:t></w:r></w:p>",
         "One\r\nTwo parts"},
        {"<w:p><w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr>"
         "<w:r><w:t>a</w:t><w:tab/><w:t>b</w:t><w:br/><w:t>c</w:t><w:cr/></w:r></w:p>",
         "a\tb\r\nc\r\n"},
        {"<w:p/><w:p></w:p><w:p><w:r><w:t>after two empty</w:t></w:r></w:p>",
         "\r\n\r\nafter two empty"},
        {"<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> PAGE "
         "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>7"
         "</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:fldSimple w:instr=\"X\">"
         "<w:r><w:t>+8</w:t></w:r></w:fldSimple></w:p>",
         "7+8"},
        {"<w:p><w:ins><w:r><w:t>kept</w:t></w:r></w:ins><w:del><w:r><w:delText>gone"
         "</w:delText><w:t>gone too</w:t><w:tab/></w:r></w:del></w:p>",
         "kept"},
        {"<w:p><w:r><mc:AlternateContent><mc:Choice><w:t>once</w:t></mc:Choice><mc:Fallback>"
         "<w:t>twice</w:t></mc:Fallback></mc:AlternateContent></w:r></w:p>",
         "once"},
        {"<w:p><w:r><w:t>caf&#233; &lt;&amp;&gt; caf\xc3\xa9 \xce\xb1</w:t></w:r></w:p>",
         "caf\xe9 <&> caf\xe9 ?"},
        {"<w:p><w:r><w:t>  spaces kept  </w:t></w:r></w:p>", "  spaces kept  "},
        {"<w:p><w:r><w:t>x</w:t></w:r><w:r><w:footnoteReference w:id=\"2\"/></w:r><w:r>"
         "<w:footnoteReference w:customMarkFollows=\"1\" w:id=\"3\"/><w:t>*</w:t></w:r><w:r>"
         "<w:footnoteReference w:id=\"4\"/></w:r></w:p>",
         "x1*3"},
    };
    for (const auto& row : rows) EXPECT_EQ(WordText(row.body), row.text) << row.body;
    bool wellFormed = true;
    WordText("<w:p><w:r><w:t>a &bogus; b</w:t></w:r></w:p>", &wellFormed);
    EXPECT_FALSE(wellFormed);
    WordText("<w:p><w:r><w:t>a</w:r></w:p>", &wellFormed);
    EXPECT_FALSE(wellFormed);
}

std::string OpenText(const std::string& body) {
    const std::string xml = "<office:document-content><office:body><office:text>" + body +
                            "</office:text></office:body></office:document-content>";
    AnsiText text(Western(), 1000);
    EXPECT_TRUE(OpenDocumentText(xml, &text)) << body;
    return text.text();
}

TEST(OpenDocumentText, ParagraphsSpacesTabsBreaksAndSkippedParts) {
    const struct {
        const char* body;
        const char* text;
    } rows[] = {
        {"<text:h>Title</text:h><text:p>One <text:span>two</text:span></text:p>",
         "Title\r\nOne two"},
        {"<text:p>a<text:s/>b<text:s text:c=\"3\"/>c<text:tab/>d<text:line-break/>e</text:p>",
         "a b   c\td\r\ne"},
        {"<text:p>\n   folded \n  white   space\t</text:p><text:p/>", "folded white space \r\n"},
        {"<text:tracked-changes><text:changed-region><text:deletion><text:p>deleted</text:p>"
         "</text:deletion></text:changed-region></text:tracked-changes><text:p>kept"
         "<office:annotation><text:p>note</text:p></office:annotation></text:p>",
         "kept"},
        {"<text:list><text:list-item><text:p>item</text:p></text:list-item></text:list>"
         "<text:p>&#8364;5</text:p>",
         "item\r\n\x80"
         "5"},
    };
    for (const auto& row : rows) EXPECT_EQ(OpenText(row.body), row.text) << row.body;
    // A count far beyond the limit stops at it instead of looping.
    const std::string huge =
        "<office:text><text:p><text:s text:c=\"99999999999\"/></text:p>"
        "</office:text>";
    AnsiText text(Western(), 1000);
    OpenDocumentText(huge, &text);
    EXPECT_TRUE(text.overLimit());
}

TEST(RtfReader, ParagraphsCodePagesUnicodeAndSkippedGroups) {
    const struct {
        const char* rtf;
        RtfResult result;
        const char* text;
    } rows[] = {
        {"{\\rtf1\\ansi One\\par Two\\par}", RtfResult::Ok, "One\r\nTwo"},
        {"{\\rtf1 One\\par\\par Three}", RtfResult::Ok, "One\r\n\r\nThree"},
        {"{\\rtf1 a\\tab b\\line c\\~d}", RtfResult::Ok,
         "a\tb\r\nc\xa0"
         "d"},
        {"{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80}", RtfResult::Ok, "caf\xe9 \x80"},
        {"{\\rtf1\\ansi\\ansicpg1251 \\'c6}", RtfResult::Ok, "?"},  // Zhe: not in 1252
        {"{\\rtf1 \\u233\\'e9 {\\uc2\\u8364 ab}\\u-10179?\\u-8704?x}", RtfResult::Ok,
         "\xe9 \x80?x"},
        {"{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0;}{\\stylesheet{x}}{\\info{\\title t}}"
         "{\\*\\generator g;}{\\pict 0a0b}{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}} body}",
         RtfResult::Ok, "3 body"},
        {"{\\rtf1 a\\{b\\}\\\\c{\\b bold} \\bin3 x{}d}", RtfResult::Ok, "a{b}\\cbold d"},
        {"{\\rtf1 {a\\cell b\\cell\\row}x{\\super\\chftn}{\\*\\footnote\\chftn n}{\\listtext "
         "1.\\tab}y"
         "{\\chftn{\\footnote\\chftn m}}}",
         RtfResult::Ok, "a\r\nb\r\nx1y2"},
        {"{\\rtf1 {\\b unclosed\\par}", RtfResult::Unreadable, nullptr},
        {"{\\rtf1 closed twice}}", RtfResult::Ok, "closed twice"},
        {"not rtf", RtfResult::Unreadable, nullptr},
    };
    for (const auto& row : rows) {
        AnsiText text(Western(), 1000);
        EXPECT_EQ(RtfDocumentText(row.rtf, &text), row.result) << row.rtf;
        if (row.text != nullptr) EXPECT_EQ(text.text(), row.text) << row.rtf;
    }
    std::string deep = "{\\rtf1 ";
    deep.append(5000, '{');
    AnsiText text(Western(), 1000);
    EXPECT_EQ(RtfDocumentText(deep, &text), RtfResult::Unreadable);
}

TEST(DocumentText, FormatByContentAndNameMismatchesRefused) {
    const std::string docx = MakeZip({{"word/document.xml",
                                       "<w:document><w:body><w:p><w:r><w:t>Hi</w:t></w:r></w:p>"
                                       "</w:body></w:document>"}});
    const std::string odt =
        MakeZip({{"mimetype", "application/vnd.oasis.opendocument.text"},
                 {"content.xml", "<office:text><text:p>Ho</text:p></office:text>"}});
    const struct {
        std::string content;
        const char* name;
        DocumentError error;
        const char* text;
    } rows[] = {
        {docx, "any.name", DocumentError::None, "Hi"},
        {odt, "report.docx", DocumentError::None, "Ho"},
        {"{\\rtf1 R}", "x.txt", DocumentError::None, "R"},
        {"plain\r\nbytes \xe9", "notes.TXT", DocumentError::None, "plain\r\nbytes \xe9"},
        {"plain", "report.DOCX", DocumentError::NotZip, nullptr},
        {"plain", "report.odt", DocumentError::NotZip, nullptr},
        {"plain", "letter.rtf", DocumentError::UnreadableRtf, nullptr},
        {MakeZip({{"other.xml", "x"}}), "a.docx", DocumentError::NoDocumentPart, nullptr},
        {MakeZip({{"word/document.xml", "<w:document><w:p>"}}), "a.docx",
         DocumentError::DamagedText, nullptr},
    };
    for (const auto& row : rows) {
        const DocumentText read = ReadDocumentText(row.content, row.name, Western());
        EXPECT_EQ(read.error, row.error) << row.name;
        if (row.text != nullptr) EXPECT_EQ(read.text, row.text) << row.name;
    }
}

TEST(CountedFiles, JoinedInOrderWithinTheLimitAndNamedInTheStatusBar) {
    std::string joined;
    EXPECT_TRUE(JoinCountedText("first", true, &joined));
    EXPECT_TRUE(JoinCountedText("", false, &joined));
    EXPECT_TRUE(JoinCountedText("third", false, &joined));
    EXPECT_EQ(joined, "first\r\n\r\nthird");
    std::string full(kMaxDocumentBytes - 2, 'x');
    EXPECT_FALSE(JoinCountedText("y", false, &full));
    EXPECT_EQ(full.size(), kMaxDocumentBytes - 2);  // left as it was
    EXPECT_TRUE(JoinCountedText("", false, &full));

    EXPECT_EQ(CountedFilesStatus({"C:\\Jobs\\report.docx"}), "Counted: report.docx");
    EXPECT_EQ(CountedFilesStatus({"Z:/a.odt", "b.rtf"}), "Counted: a.odt and 1 more file");
    EXPECT_EQ(CountedFilesStatus({"a", "b", "c"}), "Counted: a and 2 more files");
    EXPECT_EQ(CountedFilesStatus({}), "");
    EXPECT_EQ(CannotCountMessage("C:\\x.docx", "it is not a zip file")
                  .find("Quillmet cannot count the file \"C:\\x.docx\": it is not a zip file."),
              0u);
}

}  // namespace
