#pragma once
// The bad-input catalogue's tools, shared by every layer's table: one input file damaged in one
// way, and the checks each case makes afterwards (a German message naming the file, no file of
// the workspace changed).
#include "data/DataFiles.h"
#include "data/XmlDocument.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora::test {

// The building the data and mod tables work on: the Fischerei of "Alte Welt", group "Farmen",
// and its entry in the buff table.
inline const QString kCatalogueGuid = QStringLiteral("1010278");
inline const QString kCatalogueBuffGuid = QStringLiteral("2000502800");

enum class Damage {
    Missing,       // the file is deleted
    Empty,         // zero bytes
    Truncated,     // the first half of its bytes
    Binary,        // 4 KiB of random bytes, NULs among them
    Utf16,         // re-encoded as UTF-16LE with byte-order mark: still valid XML
    Utf16Cut,      // the same cut after an odd number of bytes (found by fuzzing)
    Windows1252,   // re-encoded in code page 1252, its umlauts now single bytes
    WrongRoot,     // the root element renamed
    MissingRecord, // the record the operation looks up removed
    DeepNesting,   // 100,000 nested elements
    NulAfterRoot,  // a NUL and one more element after the intact text (found by fuzzing)
};

inline const char* damageName(Damage d) {
    static const char* const names[] = {"Missing",       "Empty",       "Truncated",   "Binary",
                                        "Utf16",         "Utf16Cut",    "Windows1252", "WrongRoot",
                                        "MissingRecord", "DeepNesting", "NulAfterRoot"};
    return names[static_cast<int>(d)];
}

// Text of `levels` nested elements, as deep as no real file is.
inline QByteArray deeplyNested(int levels) {
    QByteArray text;
    text.reserve(levels * 7 + 16);
    for (int i = 0; i < levels; ++i)
        text += "<a>";
    for (int i = 0; i < levels; ++i)
        text += "</a>";
    return text;
}

// The XPath of a building's record in a data file, the record "MissingRecord" removes: its asset
// in the asset lists, its entry in the index, its buff entry (buffGuid) in the buff table; ""
// for the other files, whose entries a building's look-up does not require.
inline std::string recordXPath(const QString& file, const QString& guid, const QString& buffGuid) {
    if (file == data::kWorkingAssetsFile || file == data::kOriginalAssetsFile)
        return "/AssetList/Asset[Values/Standard/GUID=" + data::xpathLiteral(guid) + "]";
    if (file == data::kBuildingIndexFile)
        return "/Buildings/Building[@GUID=" + data::xpathLiteral(guid) + "]";
    if (file == data::kBuffTableFile)
        return "/Buffs/Buff[@GUID=" + data::xpathLiteral(buffGuid) + "]";
    return {};
}

// Damages the file at path. recordXPath names the record MissingRecord removes (it must match).
inline void damageFile(const QString& path, Damage damage, const std::string& recordXPath = {}) {
    const QByteArray bytes = damage == Damage::Missing ? QByteArray() : readBytes(path);
    switch (damage) {
    case Damage::Missing:
        ASSERT_TRUE(QFile::remove(path)) << path.toStdString();
        return;
    case Damage::Empty:
        writeBytes(path, {});
        return;
    case Damage::Truncated:
        writeBytes(path, bytes.left(bytes.size() / 2));
        return;
    case Damage::Binary: {
        QRandomGenerator random(20261210);
        QByteArray junk(4096, '\0');
        for (char& c : junk)
            c = char(random.bounded(256));
        junk[7] = '\0';
        writeBytes(path, junk);
        return;
    }
    case Damage::Utf16:
    case Damage::Utf16Cut: {
        QString text = QString::fromUtf8(bytes);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        const QByteArray utf16 =
            QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        const QByteArray whole = "\xFF\xFE" + utf16;
        writeBytes(path, damage == Damage::Utf16 ? whole : whole.left(whole.size() / 2 | 1));
        return;
    }
    case Damage::Windows1252: {
        QString text = QString::fromUtf8(bytes);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        const QByteArray latin = text.toLatin1(); // umlauts and ß are the same in 1252
        ASSERT_NE(latin, bytes) << path.toStdString() << " holds no umlaut to re-encode";
        writeBytes(path, latin);
        return;
    }
    case Damage::WrongRoot: {
        data::XmlDocument doc = data::XmlDocument::load(path);
        doc.root().set_name("Unbekannt");
        doc.save();
        return;
    }
    case Damage::MissingRecord: {
        data::XmlDocument doc = data::XmlDocument::load(path);
        const pugi::xml_node record = data::selectNode(doc.root(), recordXPath);
        ASSERT_TRUE(record) << recordXPath << " matches nothing in " << path.toStdString();
        data::removeNode(record);
        doc.save();
        return;
    }
    case Damage::DeepNesting:
        writeBytes(path, deeplyNested(100000));
        return;
    case Damage::NulAfterRoot:
        // The parser took the NUL for the end of the text: the rest was dropped without a word.
        writeBytes(path, bytes + QByteArray(1, '\0') + "<Asset/>\r\n");
        return;
    }
}

// One case of a catalogue table: a row (an operation, the file it reads and the damage kinds
// that can not apply to that file) with one damage kind.
template <typename Row> struct DamageCase {
    const Row* row;
    Damage damage;
};

// Every row with every kind of `kinds` that the row does not skip.
template <typename Row, std::size_t N>
std::vector<DamageCase<Row>> damageCases(const Row (&rows)[N], const std::vector<Damage>& kinds) {
    std::vector<DamageCase<Row>> cases;
    for (const Row& row : rows)
        for (Damage d : kinds)
            if (std::find(row.skip.begin(), row.skip.end(), d) == row.skip.end())
                cases.push_back({&row, d});
    return cases;
}

// "<operation>_<file without .xml>_<damage>", the name of the case in the test list.
template <typename Row> std::string damageCaseName(const DamageCase<Row>& c) {
    QString file = c.row->file;
    file.remove(QStringLiteral(".xml"));
    return std::string(c.row->operation->name) + "_" + file.toStdString() + "_" +
           damageName(c.damage);
}

template <typename Row> void PrintTo(const DamageCase<Row>& c, std::ostream* os) {
    *os << damageCaseName(c);
}

// Whether a message reads as German text: a few of the words every German sentence of the
// program's messages is made of, and no English stock phrase.
inline bool looksGerman(const QString& message) {
    static const QRegularExpression german(
        QStringLiteral("\\b(nicht|kein|keine|keinen|ist|sind|fehlt|der|die|das|den|dem|des|"
                       "Datei|Ordner|kann|wurde|enthält)\\b"));
    static const QRegularExpression english(
        QStringLiteral("\\b(the|file|not found|error|cannot|failed|denied)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return german.match(message).hasMatch() && !english.match(message).hasMatch();
}

// The check of the message every damaged input must end in.
inline void expectGermanMessageNaming(const QString& message, const QString& fileName) {
    EXPECT_FALSE(message.isEmpty()) << "no message for " << fileName.toStdString();
    EXPECT_TRUE(looksGerman(message)) << "not German: " << message.toStdString();
    EXPECT_TRUE(message.contains(fileName, Qt::CaseInsensitive))
        << "does not name " << fileName.toStdString() << ": " << message.toStdString();
}

// Every file and folder is still there with the same bytes, and nothing was added; the
// failure lists the paths that differ.
inline void expectSameFiles(const QMap<QString, QByteArray>& before,
                            const QMap<QString, QByteArray>& after) {
    QStringList differ;
    for (auto it = before.begin(); it != before.end(); ++it)
        if (!after.contains(it.key()) || after.value(it.key()) != it.value())
            differ << it.key();
    for (auto it = after.begin(); it != after.end(); ++it)
        if (!before.contains(it.key()))
            differ << QStringLiteral("+") + it.key();
    EXPECT_TRUE(differ.isEmpty()) << "changed: " << differ.join(QStringLiteral(", ")).toStdString();
}

// Marks a file or folder immutable with chattr, which stops even the root user the tests run
// as; undone when the object goes. `held()` is false where the file system or the user can
// not mark files so.
class Immutable {
public:
    explicit Immutable(QString path);
    ~Immutable();
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool held() const { return held_; }

private:
    QString path_;
    bool held_ = false;
};

} // namespace velmora::test
