#include "profile/CharsetTable.h"
#include "profile/MarkupDocument.h"
#include "profile/TextCodec.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <iconv.h>

namespace {

std::string utf16le(const std::u16string &text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

std::string utf16be(const std::u16string &text)
{
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += char(unit >> 8);
        bytes += char(unit & 0xFF);
    }
    return bytes;
}

std::u16string loadedText(const std::string &bytes)
{
    MarkupDocument doc;
    doc.loadBytes(bytes);
    return doc.doc();
}

} // namespace

TEST(MarkupEncoding, MarksDeclarationsAndDetectionAllGiveTheSameText)
{
    const std::u16string text = u"<r t=\"\u00e9\u4e2d\U0001F600\"/>";
    const std::string utf8 = TextCodec::toUtf8(text);

    EXPECT_EQ(loadedText("\xEF\xBB\xBF" + utf8), text);
    EXPECT_EQ(loadedText("\xFF\xFE" + utf16le(text)), text);
    EXPECT_EQ(loadedText("\xFE\xFF" + utf16be(text)), text);
    EXPECT_EQ(loadedText(utf8), text);

    MarkupDocument doc;
    doc.loadBytes("\xFE\xFF" + utf16be(text));
    EXPECT_TRUE(doc.resultHas("bom"));
    EXPECT_TRUE(doc.resultHas("endian_swap"));
    EXPECT_TRUE(doc.isWellFormed());

    // Without a declaration or a leading '<', the bytes decide.
    doc.loadBytes(" " + utf8);
    EXPECT_TRUE(doc.resultHas("utf8_detection"));
    EXPECT_EQ(doc.doc(), u" " + text);

    // UTF-16 without a mark loses its zero bytes and reads as the ASCII it holds.
    doc.loadBytes(utf16le(u"<r a=\"1\"/>"));
    EXPECT_TRUE(doc.resultHas("nulls_removed"));
    EXPECT_EQ(doc.doc(), u"<r a=\"1\"/>");
}

TEST(MarkupEncoding, DeclaredEncodingsAndAliasesAreConverted)
{
    // 0xE9 is é in Latin-1 and Windows-1252, 0x80 is € in Windows-1252, 0xA4 is € in Latin-9.
    EXPECT_EQ(loadedText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a='\xE9'/>"),
              u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a='\u00e9'/>");
    EXPECT_EQ(loadedText("<?xml version='1.0' encoding='windows-1252'?><r a='\x80'/>"),
              u"<?xml version='1.0' encoding='windows-1252'?><r a='\u20ac'/>");
    EXPECT_EQ(loadedText("<?xml version='1.0' encoding = \"L9\" ?><r a='\xA4'/>"),
              u"<?xml version='1.0' encoding = \"L9\" ?><r a='\u20ac'/>");
    // Code page 869 (Greek): 0xA4 is capital alpha.
    EXPECT_EQ(loadedText("<?xml version='1.0' encoding='ibm869'?><r a='\xA4'/>"),
              u"<?xml version='1.0' encoding='ibm869'?><r a='\u0391'/>");

    // Invalid UTF-8 under a UTF-8 declaration becomes U+FFFD, nothing is dropped silently.
    EXPECT_EQ(loadedText("<r a='\xC3'/>"), u"<r a='\uFFFD'/>");

    // Every name in the charset table opens a real converter.
    for (int i = 0; i < CharsetTable::size(); ++i) {
        const std::string iconvName(CharsetTable::iconvName(CharsetTable::nameAt(i)));
        const iconv_t cd = iconv_open("UTF-16LE", iconvName.c_str());
        EXPECT_NE(cd, iconv_t(-1)) << CharsetTable::nameAt(i) << " -> " << iconvName;
        if (cd != iconv_t(-1))
            iconv_close(cd);
    }
    for (const char *alias :
         {"csisolatinhebrew", "ksc_5601", "uhc", "x-mac-thai", "ucs-2be", "UTF-8", "l1", "l5"}) {
        EXPECT_FALSE(CharsetTable::iconvName(alias).empty()) << alias;
    }
    EXPECT_TRUE(CharsetTable::iconvName("no-such-charset").empty());
}

TEST(MarkupEncoding, SavingFollowsTheDeclaration)
{
    TempFolder folder;
    MarkupDocument doc;
    doc.setDoc(u"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n");
    doc.addElem(u"r");
    doc.setAttrib(u"a", u"\u00e9\u4e2d");
    ASSERT_TRUE(doc.save(folder / "latin1.xml"));
    EXPECT_TRUE(doc.resultHas("conversion_loss"));
    const std::string latin1 = readBytes(folder / "latin1.xml");
    EXPECT_NE(latin1.find("a=\"\xE9?\""), std::string::npos);

    // No declaration: UTF-8 without a mark, unless the flags ask for one.
    doc.setDoc(u"<r a=\"\u00e9\"/>");
    ASSERT_TRUE(doc.save(folder / "plain.xml"));
    EXPECT_EQ(readBytes(folder / "plain.xml"), "<r a=\"\xC3\xA9\"/>");
    doc.setFlags(MarkupDocument::WriteUtf8Bom);
    ASSERT_TRUE(doc.save(folder / "bom.xml"));
    EXPECT_EQ(readBytes(folder / "bom.xml"), "\xEF\xBB\xBF<r a=\"\xC3\xA9\"/>");
    doc.setFlags(MarkupDocument::WriteUtf16);
    ASSERT_TRUE(doc.save(folder / "wide.xml"));
    MarkupDocument wide;
    ASSERT_TRUE(wide.load(folder / "wide.xml"));
    EXPECT_EQ(wide.doc(), u"<r a=\"\u00e9\"/>");

    MarkupDocument missing;
    EXPECT_FALSE(missing.load(folder / "nothing-here.xml"));
    EXPECT_TRUE(missing.resultHas("file_error"));
    EXPECT_TRUE(missing.doc().empty());
    EXPECT_FALSE(missing.load(folder.path())); // a folder is no file
}
