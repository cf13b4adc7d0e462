#pragma once
// The name comments of a saved asset list as a strict reader sees them, and product names that
// put them to the test.
#include "data/XmlDocument.h"
#include "support/TestSupport.h"

#include <QMap>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace velmora::test {

// Product names a name comment must carry: first the awkward ones (two hyphens, a hyphen at the
// end, the end of a comment, three hyphens, the backslash the comments escape with before a
// final hyphen), then ordinary names, which stand in the file as they are.
inline const QStringList kCommentedNames = {
    QStringLiteral("Holz--Bretter"), QStringLiteral("Ende-"),    QStringLiteral("-->"),
    QStringLiteral("---"),           QStringLiteral("Kiste\\-"), QStringLiteral("Öl-Lampen"),
    QStringLiteral("Bretter"),
};

// Gives every entry of a GUID in the product catalogue file the name names holds for it.
inline void renameProducts(const QString& catalogueFile, const QMap<QString, QString>& names) {
    data::XmlDocument doc = data::XmlDocument::load(catalogueFile);
    for (pugi::xml_node product : doc.root().children("Product"))
        if (const auto it = names.find(QString::fromUtf8(product.attribute("GUID").value()));
            it != names.end())
            product.attribute("Name").set_value(data::utf8(*it).c_str());
    doc.save();
}

// Fails the test unless the saved text is well-formed as a strict reader demands: the library
// parses it, and no comment holds "--" or ends with "-", both of which the library lets pass.
inline void expectStrictlyWellFormed(const QByteArray& saved) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(
        saved.constData(), size_t(saved.size()), pugi::parse_default | pugi::parse_comments);
    EXPECT_TRUE(parsed) << parsed.description() << " at byte " << parsed.offset;
    // A comment ends at the first "-->" after its "<!--".
    for (qsizetype open = saved.indexOf("<!--"); open >= 0; open = saved.indexOf("<!--", open)) {
        open += 4;
        const qsizetype close = saved.indexOf("-->", open);
        ASSERT_GE(close, 0) << "a comment without end at byte " << open;
        const QByteArray inside = saved.mid(open, close - open);
        EXPECT_FALSE(inside.contains("--") || inside.endsWith('-'))
            << "<!--" << inside.toStdString() << "-->";
        open = close + 3;
    }
}

// Expects every name comment below the contexts that stands before a product of names to read
// back as that product's name, and every product of names to have one.
inline void expectCommentedNames(const std::vector<pugi::xml_node>& contexts,
                                 const QMap<QString, QString>& names) {
    QSet<QString> commented;
    for (const pugi::xml_node& context : contexts) {
        ASSERT_TRUE(context);
        for (const pugi::xml_node& comment : data::selectNodes(context, ".//comment()")) {
            const QString guid = QString::fromUtf8(comment.next_sibling().text().get());
            if (!names.contains(guid))
                continue;
            EXPECT_EQ(data::nameFromComment(comment.value()), names[guid])
                << "the comment before " << guid.toStdString();
            commented.insert(guid);
        }
    }
    for (auto it = names.begin(); it != names.end(); ++it)
        EXPECT_TRUE(commented.contains(it.key())) << "no comment names " << it.key().toStdString();
}

} // namespace velmora::test
