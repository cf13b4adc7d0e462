#pragma once
// A registry hive kept as a registry export file ("Windows Registry Editor Version 5.00"):
// UTF-16LE with byte-order mark, CR LF line ends, one [HIVE\Key] section per key and one
// "Name"="value" line per string value, backslashes and quotes escaped with a backslash.
// Values of other types (dword:, hex:) are kept as they stand and read as empty strings.
// Key and value names compare without regard to letter case, as on Windows.
//
// Reading accepts what the registry editor and other programs write: UTF-16 in either byte
// order with or without byte-order mark, UTF-8, and the older "REGEDIT4" export, which is 8-bit
// text in the Windows code page 1252. Every key and value is kept (comments and [-Key] sections,
// which only delete, are not); a file written back is always of the first kind, with the 8-bit
// texts of a "REGEDIT4" file's expandable and multi-string values (hex(2):, hex(7):) turned into
// UTF-16 as that kind holds them. Bytes that are none of
// these are refused: load raises DataError, so a caller never replaces a file it could not read.
//
// Keys and values are indexed once per load; look-ups and changes do not scan the file (the
// values of a key are scanned while they are few).
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace velmora::app {

// The most of a registry export that is read: the program's own keys take a few KiB, a whole
// user hive exported by the registry editor some tens of MiB.
inline constexpr qint64 kRegistryFileSizeLimit = qint64(64) << 20;

class RegistryFile {
public:
    // The file's content; a missing or empty file is an empty hive. Raises DataError with a
    // German message naming the file when it can not be read, is no regular file, is larger
    // than kRegistryFileSizeLimit or is no registry export.
    static RegistryFile load(const QString& path);
    // The same for the bytes of the file at path.
    static RegistryFile fromBytes(const QByteArray& bytes, const QString& path);
    // The text of a registry export; nothing when the bytes are none this class can read.
    static std::optional<QString> decode(const QByteArray& bytes);
    static RegistryFile parse(const QString& text);
    QString serialize() const;
    QByteArray encode() const; // UTF-16LE with byte-order mark, as the registry editor writes

    // Keys are full paths including the hive: "HKEY_CURRENT_USER\SOFTWARE\...".
    QString stringValue(const QString& key, const QString& name) const;
    void setStringValue(const QString& key, const QString& name, const QString& value);
    // Removes the key, its values and every key below it.
    void deleteKey(const QString& key);
    bool hasKey(const QString& key) const;

private:
    struct Value {
        QString name; // "" for the default value, written as @
        QString data; // the text right of "=", as in the file
    };
    struct Section {
        QString key;
        QString foldedKey; // the key in the form the index compares
        QList<Value> values;
        QHash<QString, qsizetype> valueAt; // case-folded name -> position, once there are many
    };
    static constexpr qsizetype kIndexedValues = 16;
    static bool readValueLine(QStringView line, Value& value);
    static qsizetype valuePosition(const Section& section, const QString& name); // -1: none
    Section* findSection(const QString& key);
    const Section* findSection(const QString& key) const;
    Section& sectionFor(const QString& key); // found or appended
    static void putValue(Section& section, Value value);
    void reindex();

    QList<Section> sections_;
    QHash<QString, qsizetype> sectionAt_; // case-folded key -> position in sections_
};

} // namespace velmora::app
