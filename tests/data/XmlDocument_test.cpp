#include "data/DataError.h"
#include "data/FileAccess.h"
#include "data/XmlDocument.h"
#include "support/ScriptedWriter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sstream>

using namespace velmora::data;
using namespace velmora::test;

namespace {

// A shipped-style file: tab indents, CR LF, comments, attributes in a fixed order, umlauts.
const QByteArray kShippedLayout = "<AssetList>\r\n"
                                  "\t<Asset>\r\n"
                                  "\t\t<Template>FarmBuilding</Template>\r\n"
                                  "\t\t<Values>\r\n"
                                  "\t\t\t<Standard>\r\n"
                                  "\t\t\t\t<GUID>1010278</GUID>\r\n"
                                  "\t\t\t\t<Local>Fischerei &amp; K\xC3\xBC"
                                  "che &lt;1&gt;</Local>\r\n"
                                  "\t\t\t</Standard>\r\n"
                                  "\t\t\t<Cost>\r\n"
                                  "\t\t\t\t<Item>\r\n"
                                  "\t\t\t\t\t<!--M\xC3\xBCnzen-->\r\n"
                                  "\t\t\t\t\t<Ingredient>1010017</Ingredient>\r\n"
                                  "\t\t\t\t</Item>\r\n"
                                  "\t\t\t\t<Item/>\r\n"
                                  "\t\t\t</Cost>\r\n"
                                  "\t\t</Values>\r\n"
                                  "\t</Asset>\r\n"
                                  "\t<Product Z=\"1\" A=\"a &quot;b&quot;\" M=\"\"/>\r\n"
                                  "</AssetList>\r\n";

TEST(XmlDocument, RoundTripKeepsBytesAttributeOrderAndComments) {
    TempDir dir;
    writeBytes(dir.file("Buildings.xml"), kShippedLayout);
    XmlDocument doc = XmlDocument::load(dir.file("Buildings.xml"));
    doc.save();
    EXPECT_EQ(readBytes(dir.file("Buildings.xml")), kShippedLayout);

    const pugi::xml_node product = doc.root().child("Product");
    EXPECT_EQ(attributeTextAt(product, 0), "1");
    EXPECT_EQ(attributeTextAt(product, 1), "a \"b\"");
    EXPECT_STREQ(attributeAt(product, 2).name(), "M");
    EXPECT_FALSE(attributeAt(product, 3));
}

TEST(XmlDocument, WhiteSpaceIsDroppedSoChildrenAreElementsByPosition) {
    const XmlDocument doc = XmlDocument::parse(kShippedLayout, QStringLiteral("mem"));
    const pugi::xml_node item =
        selectNode(doc.root(), "//Asset[Values/Standard/GUID=\"1010278\"]/Values/Cost/Item");
    ASSERT_TRUE(item);
    EXPECT_EQ(item.first_child().type(), pugi::node_comment); // the name comment stays a node
    EXPECT_STREQ(elementChildAt(item, 0).name(), "Ingredient");
    EXPECT_EQ(childText(doc.root(), "Asset/Values/Standard/Local"), "Fischerei & K\xC3\xBC"
                                                                    "che <1>");
}

TEST(XmlDocument, QueriesWithoutMatchYieldNothingAndBadExpressionsRaise) {
    const XmlDocument doc = XmlDocument::parse(kShippedLayout, QStringLiteral("mem"));
    EXPECT_FALSE(selectNode(doc.root(), "//Asset[Values/Standard/GUID=\"1\"]"));
    EXPECT_TRUE(selectNodes(doc.root(), "Building[@GUID='1']").empty());
    EXPECT_THROW(selectNode(doc.root(), "//Asset[["), DataError);
}

TEST(XmlDocument, EmptyElementIsWrittenWithoutBlankAndNoDeclaration) {
    XmlDocument doc = XmlDocument::parse("<?xml version=\"1.0\"?><A><B></B><C x='1'>t</C></A>",
                                         QStringLiteral("m"));
    EXPECT_EQ(doc.serialize(), QByteArray("<A>\r\n\t<B/>\r\n\t<C x=\"1\">t</C>\r\n</A>\r\n"));
}

TEST(XmlDocument, MissingOrBrokenFilesRaiseGermanMessagesNamingTheFile) {
    TempDir dir;
    try {
        XmlDocument::load(dir.file("Fehlt.xml"));
        FAIL() << "no error raised";
    } catch (const DataError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Fehlt.xml"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("fehlt"))) << e.what();
    }
    const QString truncated = fixture(QStringLiteral("data/TruncatedIndex.xml"));
    try {
        XmlDocument::load(truncated);
        FAIL() << "no error raised";
    } catch (const DataError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("TruncatedIndex.xml"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("beschädigt"))) << e.what();
    }
}

TEST(XmlDocument, FileNamesMatchRegardlessOfCase) {
    TempDir dir;
    writeBytes(dir.file("FarmField.xml"), "<Fields><Field GUID=\"1\"/></Fields>");
    const XmlDocument doc = XmlDocument::load(dir.file("Farmfield.xml"));
    EXPECT_TRUE(doc.root().child("Field"));
}

TEST(XmlDocument, InterruptedSaveLeavesTheOldFile) {
    TempDir dir;
    writeBytes(dir.file("Buildings.xml"), kShippedLayout);
    XmlDocument doc = XmlDocument::load(dir.file("Buildings.xml"));
    doc.root().remove_child(doc.root().child("Asset"));
    ScriptedWriter crashBeforeRename;
    crashBeforeRename.failReplaceOf = QStringLiteral("Buildings.xml");
    EXPECT_THROW(doc.save(crashBeforeRename), DataError);
    EXPECT_EQ(readBytes(dir.file("Buildings.xml")), kShippedLayout);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary file left
}

TEST(XmlDocument, ReformatPutsEveryElementOnANewLineWithTwoBlanksPerLevel) {
    TempDir dir;
    writeBytes(dir.file("r.xml"), "<A><B><C>x</C><D/></B><!--n--></A>");
    EXPECT_TRUE(ReformatXmlFile(dir.file("r.xml")));
    EXPECT_EQ(
        readBytes(dir.file("r.xml")),
        QByteArray("<A>\r\n  <B>\r\n    <C>x</C>\r\n    <D/>\r\n  </B>\r\n  <!--n-->\r\n</A>"));
}

// The two choices of the in-memory re-format. The parser leaves LF inside a comment; a comment
// made in memory may already hold CR LF, which stays as it is.
TEST(XmlDocument, ReformatChoosesCommentBreaksAndFinalBreak) {
    XmlDocument doc =
        XmlDocument::parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?><A><!--a\r\nb--><B>x</B></A>",
                           QStringLiteral("assets.xml"));
    doc.root().append_child(pugi::node_comment).set_value("c\r\nd");
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<A>\r\n";
    const struct {
        CommentBreaks comments; // line breaks inside comments
        FinalBreak end;         // a line break after the last line
        QByteArray expected;    // what follows the declaration and the root's start tag
    } cases[] = {
        {CommentBreaks::AsParsed, FinalBreak::None,
         "  <!--a\nb-->\r\n  <B>x</B>\r\n  <!--c\r\nd-->\r\n</A>"},
        {CommentBreaks::CrLf, FinalBreak::None,
         "  <!--a\r\nb-->\r\n  <B>x</B>\r\n  <!--c\r\nd-->\r\n</A>"},
        {CommentBreaks::AsParsed, FinalBreak::CrLf,
         "  <!--a\nb-->\r\n  <B>x</B>\r\n  <!--c\r\nd-->\r\n</A>\r\n"},
        {CommentBreaks::CrLf, FinalBreak::CrLf,
         "  <!--a\r\nb-->\r\n  <B>x</B>\r\n  <!--c\r\nd-->\r\n</A>\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReformatXml(doc, {c.comments, c.end}), head + c.expected)
            << int(c.comments) << " " << int(c.end);
}

} // namespace

TEST(XmlDocument, LoneBlankIsKeptOnRequestButLayoutNever) {
    const QByteArray bytes = "<T>\r\n\t<A> </A>\r\n\t<B>\r\n\t</B>\r\n</T>";
    const XmlDocument kept = XmlDocument::parse(bytes, QStringLiteral("m"), LoneBlanks::Keep);
    EXPECT_EQ(childText(kept.root(), "A"), " ");
    EXPECT_FALSE(kept.root().child("B").first_child());
    const XmlDocument dropped = XmlDocument::parse(bytes, QStringLiteral("m"));
    EXPECT_FALSE(dropped.root().child("A").first_child());
    EXPECT_FALSE(dropped.root().child("B").first_child());
}

// Three files saved together, the n-th write or the replace of one file failing in turn: every
// file keeps exactly its old bytes and no new file is left beside them.
TEST(XmlDocument, SaveOfSeveralFilesIsAllOrNothing) {
    const QStringList names = {QStringLiteral("Buildings.xml"), QStringLiteral("BuffsShort.xml"),
                               QStringLiteral("BuildingsShort.xml")};
    struct Failure {
        int writeNumber;   // the n-th new file fails to be written (0: none)
        QString replaceOf; // the file whose replace fails ("": none)
    };
    const std::vector<Failure> failures = {{1, {}},       {2, {}},       {3, {}},
                                           {0, names[0]}, {0, names[1]}, {0, names[2]}};
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.writeNumber ? QStringLiteral("write %1").arg(f.writeNumber).toStdString()
                                   : f.replaceOf.toStdString());
        TempDir dir;
        std::vector<XmlDocument> docs;
        for (const QString& name : names) {
            writeBytes(dir.file(name), "<Old/>\r\n");
            docs.push_back(XmlDocument::load(dir.file(name)));
            docs.back().root().set_name("New");
        }
        ScriptedWriter writer;
        writer.failWriteNumber = f.writeNumber;
        writer.failReplaceOf = f.replaceOf;
        EXPECT_THROW(saveAllOrNothing({&docs[0], &docs[1], &docs[2]}, writer), DataError);
        for (const QString& name : names)
            EXPECT_EQ(readBytes(dir.file(name)), QByteArray("<Old/>\r\n")) << name.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    }
    TempDir dir;
    std::vector<XmlDocument> docs;
    for (const QString& name : names) {
        writeBytes(dir.file(name), "<Old/>\r\n");
        docs.push_back(XmlDocument::load(dir.file(name)));
        docs.back().root().set_name("New");
    }
    saveAllOrNothing({&docs[0], &docs[1], &docs[2]});
    for (const QString& name : names)
        EXPECT_EQ(readBytes(dir.file(name)), QByteArray("<New/>\r\n"));
}

// Values with quotes stay values: the literal selects the element holding exactly that text.
TEST(XmlDocument, XPathLiteralKeepsQuotesInsideTheValue) {
    const XmlDocument doc = XmlDocument::parse(
        "<R><G N='plain'/><G N='a&quot;b'/><G N=\"it's\"/><G N='x&quot;y&apos;z&quot;'/></R>",
        QStringLiteral("r.xml"));
    for (const char* value : {"plain", "a\"b", "it's", "x\"y'z\""}) {
        const pugi::xml_node g =
            selectNode(doc.root(), "G[@N=" + xpathLiteral(std::string(value)) + "]");
        ASSERT_TRUE(g) << value;
        EXPECT_STREQ(g.attribute("N").value(), value);
    }
}

namespace {

// An element nested depth levels deep: "<a><a>...</a></a>".
QByteArray nestedElements(int depth) {
    QByteArray bytes;
    bytes.reserve(depth * 7);
    for (int i = 0; i < depth; ++i)
        bytes += "<a>";
    for (int i = 0; i < depth; ++i)
        bytes += "</a>";
    return bytes;
}

// The same nesting built in memory, past what any file may hold.
pugi::xml_node appendNested(pugi::xml_node parent, int depth) {
    pugi::xml_node top = parent.append_child("a");
    pugi::xml_node n = top;
    for (int i = 1; i < depth; ++i)
        n = n.append_child("a");
    n.append_child(pugi::node_pcdata).set_value("x");
    return top;
}

constexpr int kFarTooDeep = 200000;

} // namespace

// A file nested far deeper than any real one ends in a German message naming it, never in a
// crash: loaded with lone blanks kept (the help table) or dropped, or parsed from memory.
TEST(XmlDocument, DeepNestingIsRefusedWithAMessageNamingTheFile) {
    const struct {
        const char* name;
        int depth;
        LoneBlanks blanks;
        bool fromMemory;
    } cases[] = {
        {"Help.xml", kFarTooDeep, LoneBlanks::Keep, false},
        {"Buildings.xml", kFarTooDeep, LoneBlanks::Drop, false},
        {"Assets.xml", kFarTooDeep, LoneBlanks::Drop, true},
        {"JustTooDeep.xml", kMaxNesting + 1, LoneBlanks::Keep, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const QString path = dir.file(QString::fromUtf8(c.name));
        writeBytes(path, nestedElements(c.depth));
        try {
            if (c.fromMemory)
                XmlDocument::parse(nestedElements(c.depth), path, c.blanks);
            else
                XmlDocument::load(path, c.blanks);
            ADD_FAILURE() << "no error raised";
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(quotedPath(path))) << e.what();
            EXPECT_TRUE(e.message().contains(QStringLiteral("verschachtelt"))) << e.what();
        }
    }
    // At the limit a file is still read, saved and re-formatted.
    TempDir dir;
    const QString deepest = dir.file(QStringLiteral("Deepest.xml"));
    writeBytes(deepest, nestedElements(kMaxNesting));
    XmlDocument doc = XmlDocument::load(deepest, LoneBlanks::Keep);
    doc.save();
    EXPECT_TRUE(ReformatXmlFile(deepest));
    EXPECT_NO_THROW(XmlDocument::load(deepest));
    // In memory too: the deepest element stands in the middle, indented by two blanks per level.
    const QList<QByteArray> lines =
        ReformatXml(XmlDocument::load(deepest), {CommentBreaks::CrLf, FinalBreak::CrLf})
            .split('\n');
    // 2 * kMaxNesting - 1 lines, and after the final break an empty rest.
    ASSERT_EQ(lines.size(), 2 * kMaxNesting);
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ(lines[kMaxNesting - 1], QByteArray(2 * (kMaxNesting - 1), ' ') + "<a/>\r");
    EXPECT_EQ(lines[2 * kMaxNesting - 2], "</a>\r");
}

// Every walk of the layer follows the tree's own links: a tree built in memory far deeper than
// any file is copied, replaced and removed, and its save and re-format are refused with a
// message.
TEST(XmlDocument, WalksOfTheTreeTakeAnyDepth) {
    XmlDocument deep = XmlDocument::withRoot("R", QStringLiteral("Tief.xml"));
    const pugi::xml_node nested = appendNested(deep.root(), kFarTooDeep);
    for (const bool reformat : {false, true}) {
        try {
            (void)(reformat ? ReformatXml(deep) : deep.serialize());
            ADD_FAILURE() << "no error raised, re-format " << reformat;
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("Tief.xml"))) << e.what();
        }
    }

    XmlDocument target = XmlDocument::parse("<T><old/></T>", QStringLiteral("t.xml"));
    const pugi::xml_node copy = target.root().append_copy(nested);
    EXPECT_EQ(childText(copy, "a/a/a/a"), "");
    pugi::xml_node replaced = replaceChild(target.root(), copy, target.root().child("old"));
    EXPECT_STREQ(replaced.name(), "old");
    replaced = replaceChild(target.root(), target.root().first_child(), nested);
    removeNode(replaced);
    removeNode(nested);
    EXPECT_EQ(target.serialize(), QByteArray("<T>\r\n\t<old/>\r\n</T>\r\n"));
    EXPECT_EQ(deep.serialize(), QByteArray("<R/>\r\n"));
}

// Every status of the XML reader reads in German, with the line of the fault kept.
TEST(XmlDocument, ParseFaultsReadInGermanWithTheirLine) {
    for (int s = pugi::status_file_not_found; s <= pugi::status_no_document_element; ++s) {
        pugi::xml_parse_result english;
        english.status = static_cast<pugi::xml_parse_status>(s);
        const QString german = parseStatusText(english.status);
        EXPECT_FALSE(german.isEmpty()) << s;
        EXPECT_NE(german, QString::fromUtf8(english.description())) << s;
    }
    const struct {
        const char* bytes;
        const char* line;   // "Zeile N"
        const char* reason; // part of the German reason
    } cases[] = {
        {"<A>\r\n<B>\r\n</A>", "Zeile 3", "Endtags passen nicht zusammen"},
        {"<A>\n<!-- offen", "Zeile 2", "Kommentar"},
        {"<A>\n\n<B x=1/></A>", "Zeile 3", "Attribut"},
        {"<A><![CDATA[x</A>", "Zeile 1", "CDATA"},
        {"<A></A >\n</B>", "Zeile 2", "Endtag"},
        {"<A>\n<\x01/></A>", "Zeile 2", "kein gültiges Tag"},
        {"", "", "kein XML-Element"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        try {
            XmlDocument::parse(QByteArray(c.bytes), QStringLiteral("Hilfe.xml"));
            ADD_FAILURE() << "no error raised";
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.line))) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason))) << e.what();
            EXPECT_TRUE(e.message().contains(QStringLiteral("Hilfe.xml"))) << e.what();
        }
    }
}

namespace {

// A file that must be Unicode: UTF-8 in every length of character and UTF-16 load; bytes that
// are no UTF-8 are refused naming the file and the line of the first one. A file of any kind
// keeps loading its bytes as they are.
TEST(XmlDocument, UnicodeFilesRefuseBytesThatAreNoUtf8) {
    const struct {
        const char* what;
        QByteArray bytes;
        const char* line; // "" = loads
    } cases[] = {
        {"umlaut, euro sign, clef", "<A>\xC3\xA4\xE2\x82\xAC\xF0\x9D\x84\x9E</A>", ""},
        {"byte-order mark", "\xEF\xBB\xBF<A>\xC3\xBC</A>", ""},
        {"UTF-16 with byte-order mark", QByteArray("\xFF\xFE<\0A\0/\0>\0", 10), ""},
        {"code page 1252 umlaut", "<A>\n<B>M\xFCnzen</B></A>", "Zeile 2"},
        {"lead byte at the end", "<A/>\n\n\xC3", "Zeile 3"},
        {"overlong slash", "<A>\xC0\xAF</A>", "Zeile 1"},
        {"surrogate", "<A>\xED\xA0\x80</A>", "Zeile 1"},
        {"beyond U+10FFFF", "<A>\xF4\x90\x80\x80</A>", "Zeile 1"},
        {"lone continuation byte", "<A>\x80</A>", "Zeile 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const QString path = dir.file(QStringLiteral("Daten.xml"));
        writeBytes(path, c.bytes);
        if (!*c.line) {
            EXPECT_NO_THROW(XmlDocument::load(path, LoneBlanks::Drop, Encoding::Unicode));
            continue;
        }
        try {
            XmlDocument::load(path, LoneBlanks::Drop, Encoding::Unicode);
            ADD_FAILURE() << "loaded";
        } catch (const DataError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("Daten.xml"))) << e.what();
            EXPECT_TRUE(e.message().contains(QStringLiteral("nicht in UTF-8"))) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.line))) << e.what();
        }
        if (c.bytes.startsWith("<A>\n<B>")) {
            EXPECT_NO_THROW(XmlDocument::load(path)); // Encoding::Any reads it
        }
    }
}

} // namespace

// Name comments stay well-formed for any product name and read back as the name: a comment may
// not hold "--" nor end with "-".
TEST(NameComments, AnyNameStaysWellFormedAndReadsBack) {
    const struct {
        QString name, text; // text: the comment as written ("" = the name itself)
    } cases[] = {
        {QStringLiteral("Bretter"), QString()},
        {QStringLiteral("Öl-Lampen"), QString()},
        {QStringLiteral("-Anfang"), QString()},
        {QStringLiteral("a--b"), QStringLiteral("a-\\-b")},
        {QStringLiteral("Ende-"), QStringLiteral("Ende-\\")},
        {QStringLiteral("-->"), QStringLiteral("-\\->")},
        {QStringLiteral("---"), QStringLiteral("-\\-\\-\\")},
        {QStringLiteral("a\\b"), QStringLiteral("a\\\\b")},
        {QStringLiteral("a-\\"), QStringLiteral("a-\\\\")},
        {QStringLiteral("\\-"), QStringLiteral("\\\\-\\")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const std::string text = nameCommentText(c.name);
        EXPECT_EQ(fromUtf8(text), c.text.isEmpty() ? c.name : c.text);
        EXPECT_EQ(nameFromComment(text), c.name);

        pugi::xml_document doc;
        pugi::xml_node item = doc.append_child("Item");
        insertNameComment(item, c.name, item.append_child("Product"));
        std::ostringstream out;
        doc.save(out, "", pugi::format_raw);
        const QByteArray saved = QByteArray::fromStdString(out.str());
        // What a strict reader checks: between "<!--" and "-->" no "--" and no "-" at the end.
        const qsizetype open = saved.indexOf("<!--") + 4;
        const QByteArray inside = saved.mid(open, saved.indexOf("-->", open) - open);
        EXPECT_FALSE(inside.contains("--") || inside.endsWith('-')) << out.str();
        EXPECT_EQ(
            nameFromComment(
                XmlDocument::parse(saved, QStringLiteral("x.xml")).root().first_child().value()),
            c.name);
    }
}
