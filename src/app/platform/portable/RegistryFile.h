#pragma once
// A registry hive kept as a registry export file ("Windows Registry Editor Version 5.00"):
// UTF-16LE with byte-order mark, CR LF line ends, one [HIVE\Key] section per key and one
// "Name"="value" line per string value, backslashes and quotes escaped with a backslash.
// Values of other types (dword:, hex:) are kept as they stand and read as empty strings.
// Key and value names compare without regard to letter case, as on Windows.
#include <QList>
#include <QString>

namespace velmora::app {

class RegistryFile {
public:
    // The file's content; a missing file is an empty hive.
    static RegistryFile load(const QString& path);
    static RegistryFile parse(const QString& text);
    QString serialize() const;
    QByteArray encode() const; // UTF-16LE with byte-order mark, as the registry editor writes
    void save(const QString& path) const;

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
        QList<Value> values;
    };
    Section* findSection(const QString& key);
    const Section* findSection(const QString& key) const;

    QList<Section> sections_;
};

} // namespace velmora::app
