#include "profile/MarkupDocument.h"
#include "profile/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::u16string Decl = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Names of the current parent's children, in order, from a fresh walk.
std::u16string childNames(MarkupDocument &doc)
{
    std::u16string names;
    while (doc.findElem()) {
        names += doc.tagName();
        names += u' ';
    }
    return names;
}

// The whole tree as nested names: the index after edits must equal a fresh parse.
std::u16string tree(MarkupDocument &doc)
{
    std::u16string out;
    while (doc.findElem()) {
        out += doc.tagName();
        out += u'(';
        doc.intoElem();
        out += tree(doc);
        doc.outOfElem();
        out += u')';
    }
    return out;
}

std::u16string reparsedTree(const std::u16string &text)
{
    MarkupDocument fresh;
    fresh.setDoc(text);
    return tree(fresh);
}

} // namespace

TEST(MarkupDocument, AddedElementsAreLaidOutOnePerLine)
{
    MarkupDocument doc;
    doc.setDoc(Decl);
    ASSERT_TRUE(doc.addElem(u"root"));
    ASSERT_TRUE(doc.intoElem());
    ASSERT_TRUE(doc.addElem(u"child"));
    EXPECT_EQ(doc.doc(), Decl + u"<root>\r\n<child/>\r\n</root>\r\n");

    ASSERT_TRUE(doc.setAttrib(u"a", 0));
    ASSERT_TRUE(doc.setAttrib(u"a", 1)); // replaced, not repeated
    ASSERT_TRUE(doc.addElem(u"second"));
    ASSERT_TRUE(doc.setAttrib(u"b", u"x"));
    ASSERT_TRUE(doc.intoElem());
    ASSERT_TRUE(doc.addElem(u"inner"));
    ASSERT_TRUE(doc.outOfElem());
    ASSERT_TRUE(doc.setAttrib(u"c", -7)); // on "second", which now has a child
    EXPECT_EQ(doc.doc(), Decl
                             + u"<root>\r\n<child a=\"1\"/>\r\n<second b=\"x\" c=\"-7\">\r\n"
                               u"<inner/>\r\n</second>\r\n</root>\r\n");
    // Replacing a value keeps the attribute's place.
    ASSERT_TRUE(doc.setAttrib(u"b", u"longer value"));
    EXPECT_EQ(doc.getAttrib(u"b"), u"longer value");
    EXPECT_EQ(doc.getAttrib(u"c"), u"-7");
    EXPECT_NE(doc.doc().find(u"<second b=\"longer value\" c=\"-7\">"), std::u16string::npos);
    EXPECT_TRUE(doc.isWellFormed());

    doc.resetPos();
    EXPECT_EQ(tree(doc), u"root(child()second(inner()))");
    EXPECT_EQ(reparsedTree(doc.doc()), u"root(child()second(inner()))");
}

TEST(MarkupDocument, EditsInsideAParsedDocumentKeepTheIndexRight)
{
    MarkupDocument doc;
    ASSERT_TRUE(doc.setDoc(u"<r><a><a1/></a><b>text</b><c></c><d x='1'/></r>"));
    ASSERT_TRUE(doc.findElem(u"r"));
    doc.intoElem();
    ASSERT_TRUE(doc.findElem(u"a"));
    doc.addElem(u"afterA"); // between a and b
    doc.setAttrib(u"v", u"1");
    ASSERT_TRUE(doc.findElem(u"b"));
    doc.intoElem();
    doc.addElem(u"inB"); // into an element holding only text
    doc.outOfElem();
    ASSERT_TRUE(doc.findElem(u"c"));
    doc.intoElem();
    doc.addElem(u"inC"); // into "<c></c>"
    doc.outOfElem();
    ASSERT_TRUE(doc.findElem(u"d"));
    doc.setAttrib(u"x", u"22");
    doc.intoElem();
    doc.addElem(u"inD"); // expands a short element with attributes
    doc.outOfElem();
    doc.outOfElem();
    doc.addElem(u"top2"); // a second top-level element

    const std::u16string expected = u"r(a(a1())afterA()b(inB())c(inC())d(inD()))top2()";
    doc.resetPos();
    EXPECT_EQ(tree(doc), expected);
    EXPECT_EQ(reparsedTree(doc.doc()), expected);
    doc.resetPos();
    doc.findElem(u"r");
    doc.intoElem();
    doc.findElem(u"d");
    EXPECT_EQ(doc.getAttrib(u"x"), u"22");
    doc.findElem(u"afterA"); // searching goes forward only
    EXPECT_EQ(doc.tagName(), u"d");
}

TEST(MarkupDocument, OddTagsReadTheSameBeforeAndAfterEdits)
{
    // Quotes inside unquoted values, empty values and stray characters: an edited tag must
    // still be read the way the parser reads the edited text.
    const std::u16string odd[]
        = {u"<x ID=0\" Vie\n<y\"/>", u"<a b= c=\"1\"/>", u"<a \"x\" b=1/>", u"<a b=x/>",
           u"<a b=\"1\"=>",          u"<a b=>"};
    for (const std::u16string &text : odd) {
        MarkupDocument doc;
        doc.setDoc(text);
        ASSERT_TRUE(doc.findElem());
        const bool empty = doc.doc().find(u"/>") != std::u16string::npos;
        doc.setAttrib(u"ID", u"q\"&");
        doc.setAttrib(u"b", u"2");
        doc.setAttrib(u"new", 3);
        doc.intoElem();
        doc.addElem(u"child");
        MarkupDocument fresh;
        fresh.setDoc(doc.doc());
        ASSERT_TRUE(fresh.findElem()) << fresh.result();
        for (const char16_t *name : {u"ID", u"b", u"c", u"new"}) {
            doc.outOfElem();
            EXPECT_EQ(fresh.getAttrib(name), doc.getAttrib(name));
            doc.intoElem();
        }
        EXPECT_EQ(fresh.getAttrib(u"ID"), u"q\"&");
        EXPECT_EQ(fresh.getAttrib(u"new"), u"3");
        fresh.intoElem();
        EXPECT_TRUE(fresh.findElem(u"child")) << (empty ? "short form" : "with end tag");
    }
    MarkupDocument doc;
    doc.setDoc(u"<a b= c=\"1\" d=x/>");
    doc.findElem();
    EXPECT_EQ(doc.getAttrib(u"b"), u"");
    EXPECT_EQ(doc.getAttrib(u"c"), u"1");
    EXPECT_EQ(doc.getAttrib(u"d"), u"x");
}

TEST(MarkupDocument, FindElemSearchesForwardAndKeepsPositionOnFailure)
{
    MarkupDocument doc;
    ASSERT_TRUE(doc.setDoc(u"<r><a/><b/><c/></r>"));
    EXPECT_FALSE(doc.intoElem()); // no current element yet
    EXPECT_FALSE(doc.outOfElem());
    ASSERT_TRUE(doc.findElem(u"r"));
    ASSERT_TRUE(doc.intoElem());
    EXPECT_TRUE(doc.findElem(u"b"));
    EXPECT_TRUE(doc.findElem(u"c"));
    EXPECT_FALSE(doc.findElem(u"d"));
    EXPECT_EQ(doc.tagName(), u"c");
    EXPECT_FALSE(doc.findElem(u"a")); // behind the position
    EXPECT_FALSE(doc.findElem(u"B")); // case matters by default
    EXPECT_TRUE(doc.outOfElem());
    EXPECT_EQ(doc.tagName(), u"r");

    // Names are taken whole: "List" does not find "ListX", parentheses are fine.
    ASSERT_TRUE(doc.setDoc(u"<Quillo(S)><ListX/><List n='1'/></Quillo(S)>"));
    ASSERT_TRUE(doc.findElem(u"Quillo(S)"));
    doc.intoElem();
    ASSERT_TRUE(doc.findElem(u"List"));
    EXPECT_EQ(doc.getAttrib(u"n"), u"1");

    MarkupDocument folded(MarkupDocument::IgnoreCase);
    folded.setDoc(u"<R><A Key='v'/></r>");
    EXPECT_TRUE(folded.isWellFormed());
    ASSERT_TRUE(folded.findElem(u"r"));
    folded.intoElem();
    ASSERT_TRUE(folded.findElem(u"a"));
    EXPECT_EQ(folded.getAttrib(u"key"), u"v");
}

TEST(MarkupDocument, AttributeValuesSurviveEscapingAndReferencesAreDecoded)
{
    MarkupDocument doc;
    doc.setDoc(Decl);
    doc.addElem(u"e");
    const std::u16string tricky = u"say \"hi\" & 'bye' <5 ms> &amp; \u00e9\U0001F600";
    doc.setAttrib(u"v", tricky);
    EXPECT_NE(doc.doc().find(u"&quot;hi&quot; &amp; &apos;bye&apos; &lt;5 ms&gt; &amp;amp;"),
              std::u16string::npos);
    MarkupDocument reread;
    reread.setDoc(doc.doc());
    reread.findElem(u"e");
    EXPECT_EQ(reread.getAttrib(u"v"), tricky);

    reread.setDoc(u"<e a='&#65;&#x42;&#X43;&oslash;&ugrave;&delta;&weierp;&Omega;&nbsp;'"
                  u" b='&bogus; &#xZZ; &#0; &#xD800; &#1114112; &amp' c=\"it's\" d=noquote />");
    reread.findElem(u"e");
    EXPECT_EQ(reread.getAttrib(u"a"), u"ABC\u00f8\u00f9\u03b4\u2118\u03a9\u00a0");
    EXPECT_EQ(reread.getAttrib(u"b"), u"&bogus; &#xZZ; &#0; &#xD800; &#1114112; &amp");
    EXPECT_EQ(reread.getAttrib(u"c"), u"it's");
    EXPECT_EQ(reread.getAttrib(u"d"), u"noquote");
    EXPECT_EQ(reread.getAttrib(u"missing"), u"");
}

TEST(MarkupDocument, ParserNotesEveryKindOfError)
{
    struct Case {
        std::u16string text;
        std::string event;
    };
    const Case cases[] = {
        {u"", "no_root_element"},
        {u"<!-- only a comment -->", "no_root_element"},
        {u"<a/><b/>", "root_has_sibling"},
        {u"<a></b></a>", "lone_end_tag"},
        {u"<a><b></a>", "unended_start_tag"},
        {u"<a><b>", "unended_start_tag"},
        {u"<a x='1'", "unterminated_tag_syntax"},
        {u"<a></a", "unterminated_tag_syntax"},
        {u"<?xml version='1.0'", "unterminated_tag_syntax"},
        {u"<a>1 < 2</a>", "first_tag_syntax"},
        {u"<!DOCTYPE a [<!ELEMENT a ANY>", "doctype_tag_syntax"},
        {u"<a><!oops></a>", "exclamation_tag_syntax"},
        {u"<a><!-- never closed</a>", "comment_tag_syntax"},
        {u"<a><![CDATA[ never closed</a>", "cdata_section_syntax"},
    };
    for (const Case &c : cases) {
        MarkupDocument doc;
        EXPECT_FALSE(doc.setDoc(c.text)) << c.event;
        EXPECT_TRUE(doc.resultHas(c.event)) << c.event << ": " << doc.result();
    }

    MarkupDocument doc;
    EXPECT_TRUE(doc.setDoc(u"<?xml version='1.0'?><!DOCTYPE r [<!ENTITY e \"a>b\">]>"
                           u"<!-- c --><r><![CDATA[<x>]]><?pi data?><a/></r>"));
    EXPECT_EQ(doc.result(), "");
    doc.findElem();
    doc.intoElem();
    EXPECT_EQ(childNames(doc), u"a "); // nothing inside CDATA or comments is an element
}

TEST(MarkupDocument, UnendedElementsLendTheirChildrenToTheirParent)
{
    MarkupDocument doc;
    EXPECT_FALSE(doc.setDoc(u"<r><a><b/><c><d/></r>"));
    ASSERT_TRUE(doc.findElem(u"r"));
    doc.intoElem();
    EXPECT_EQ(childNames(doc), u"a b c d ");

    // A start tag broken by the next '<' is skipped; the rest is still indexed.
    EXPECT_FALSE(doc.setDoc(u"<r><a <b/></r>"));
    doc.findElem(u"r");
    doc.intoElem();
    EXPECT_EQ(childNames(doc), u"b ");

    // Every top-level element is indexed, so siblings of the root can be found.
    EXPECT_FALSE(doc.setDoc(u"<a/><b/>"));
    EXPECT_TRUE(doc.findElem(u"b"));
}

TEST(MarkupDocument, AttributesReadAlikeHoweverTheyAreWritten)
{
    // As the program writes them, and in forms that only the general scan reads.
    const std::u16string tags[] = {
        u"<KEY ID=\"7\" Level=\"1\" Mode=\"2\" HWCode=\"41\"/>",
        u"<KEY Level=\"1\" ID=\"7\" HWCode=\"41\" Mode=\"2\"/>",
        u"<KEY  ID = '7' Level=1\tMode=\"2\" HWCode=\"41\" ID=\"9\" />",
        u"<KEY ID=\"7\" Level=\"1\" Mode=\"2\" Extra=\"x\" HWCode=\"41\"/>",
    };
    const std::u16string_view names[] = {u"ID", u"Level", u"Mode", u"HWCode"};
    for (const std::u16string &tag : tags) {
        MarkupDocument doc;
        EXPECT_TRUE(doc.setDoc(tag)) << TextCodec::toUtf8(tag);
        ASSERT_TRUE(doc.findElem(u"KEY"));
        std::u16string_view values[4];
        doc.rawAttribs(names, values);
        EXPECT_EQ(values[0], u"7");
        EXPECT_EQ(values[1], u"1");
        EXPECT_EQ(values[2], u"2");
        EXPECT_EQ(values[3], u"41");
    }
    // A missing attribute is a null view, an empty one an empty view; an open quote runs on.
    MarkupDocument doc;
    doc.setDoc(u"<KEY ID=\"\" Level=\"1\" HWCode=\"41/>");
    ASSERT_TRUE(doc.findElem(u"KEY"));
    std::u16string_view values[4];
    doc.rawAttribs(names, values);
    EXPECT_TRUE(values[0].empty() && values[0].data() != nullptr);
    EXPECT_EQ(values[1], u"1");
    EXPECT_EQ(values[2].data(), nullptr);
    EXPECT_EQ(values[3], u"41/");
}

TEST(MarkupDocument, FirstProblemIsKeptWithItsLine)
{
    struct Case {
        std::u16string text;
        MarkupProblem problem;
        int line;
        std::u16string tagName;
    };
    const Case cases[] = {
        {u"<r>\r\n<a/>\r\n</b>\r\n</c>\r\n</r>", MarkupProblem::LoneEndTag, 3, u"b"},
        {u"<r>\n<a>\n<b/>\n</r>", MarkupProblem::UnendedElement, 2, u"a"},
        {u"<r>\n<a>\n<b/>\n", MarkupProblem::EndsInsideElement, 3, u"a"},
        {u"<r/>\n<s/>\n<t/>", MarkupProblem::SecondRoot, 2, u"s"},
        {u"<r>\n\n<!-- open", MarkupProblem::UnclosedComment, 3, u""},
        {u"<r>\n<a x='1\n", MarkupProblem::UnfinishedTag, 2, u"a"},
        {u"", MarkupProblem::NoRootElement, 1, u""},
    };
    for (const Case &c : cases) {
        MarkupDocument doc;
        doc.setDoc(c.text);
        SCOPED_TRACE(doc.result());
        EXPECT_EQ(doc.firstError().problem, c.problem);
        EXPECT_EQ(doc.firstError().line, c.line);
        EXPECT_EQ(doc.firstError().tagName, c.tagName);
    }
    MarkupDocument doc;
    EXPECT_TRUE(doc.setDoc(u"<r><a/></r>"));
    EXPECT_FALSE(doc.firstError());

    // A text cut short keeps what it has where it was: open elements end with the text.
    EXPECT_FALSE(doc.setDoc(u"<r><s><a/><b/><c"));
    EXPECT_TRUE(doc.resultHas("unended_start_tag"));
    ASSERT_TRUE(doc.findElem(u"r"));
    EXPECT_FALSE(doc.findElem());
    doc.intoElem();
    ASSERT_TRUE(doc.findElem(u"s"));
    doc.intoElem();
    EXPECT_EQ(childNames(doc), u"a b ");
}

TEST(MarkupDocument, HostileStructureNeitherCrashesNorHangs)
{
    // Deep nesting: the parser, index updates and edits work without recursion.
    const int depth = 200000;
    std::u16string deep;
    for (int i = 0; i < depth; ++i)
        deep += u"<a>";
    for (int i = 0; i < depth; ++i)
        deep += u"</b>"; // every one a lone end tag under a deep stack
    MarkupDocument doc;
    EXPECT_FALSE(doc.setDoc(deep));
    EXPECT_TRUE(doc.resultHas("lone_end_tag"));
    EXPECT_LT(doc.result().size(), 20000u); // the log is capped
    // The text ended with all of them open: each holds the next.
    int count = 0;
    while (doc.findElem(u"a") && doc.intoElem())
        ++count;
    EXPECT_EQ(count, depth);

    std::u16string nested;
    for (int i = 0; i < depth; ++i)
        nested += u"<a>";
    for (int i = 0; i < depth; ++i)
        nested += u"</a>";
    EXPECT_TRUE(doc.setDoc(nested));
    for (int i = 0; i < depth; ++i) {
        ASSERT_TRUE(doc.findElem(u"a"));
        doc.intoElem();
    }
    doc.addElem(u"leaf");
    doc.resetPos();
    doc.findElem();
    doc.setAttrib(u"on", u"root"); // shifts the whole deep subtree
    doc.resetPos();
    for (int i = 0; i < depth; ++i) {
        ASSERT_TRUE(doc.findElem(u"a"));
        doc.intoElem();
    }
    EXPECT_TRUE(doc.findElem(u"leaf"));
}

TEST(MarkupDocument, FlagsRefuseEditsAndSearches)
{
    MarkupDocument readOnly(MarkupDocument::ReadOnly);
    readOnly.setDoc(u"<r a='1'/>");
    readOnly.findElem();
    EXPECT_FALSE(readOnly.addElem(u"x"));
    EXPECT_FALSE(readOnly.setAttrib(u"a", 2));
    EXPECT_EQ(readOnly.doc(), u"<r a='1'/>");

    MarkupDocument writeOnly(MarkupDocument::WriteOnly);
    writeOnly.setDoc(u"<r/>");
    EXPECT_FALSE(writeOnly.findElem(u"r"));
    EXPECT_TRUE(writeOnly.addElem(u"s"));

    MarkupDocument doc;
    doc.setDoc(u"<r/>");
    EXPECT_FALSE(doc.setAttrib(u"a", 1)); // no current element
    EXPECT_FALSE(doc.addElem(u""));
    EXPECT_EQ(doc.getAttrib(u"a"), u"");
}
