#pragma once
// The files of the data directory that the building editors read and change, each loaded on
// its first use and then kept, so that several operations on several buildings parse every file
// once. An operation marks what it changed; save() writes the marked documents together, all
// or nothing, in the order working asset list, building index, buff table.
//
// The editors' load and apply functions take an EditorFiles; their forms taking a data
// directory load a fresh one and, for an apply, save it at once.
#include "data/FileWriter.h"
#include "data/ProductCatalogue.h"
#include "data/XmlDocument.h"

#include <QString>
#include <optional>

namespace velmora::data {

class EditorFiles {
public:
    explicit EditorFiles(QString dataDir) : dataDir_(std::move(dataDir)) {}
    EditorFiles(const EditorFiles&) = delete;
    EditorFiles& operator=(const EditorFiles&) = delete;

    const QString& dataDir() const { return dataDir_; }

    // Each raises DataError naming the file when it can not be loaded.
    XmlDocument& working();        // "Buildings.xml"
    const XmlDocument& original(); // "BuildingsOrg.xml"
    XmlDocument& index();          // "BuildingsShort.xml"
    XmlDocument& buffs();          // "BuffsShort.xml"
    const XmlDocument& fields();   // "FarmField.xml"
    const ProductCatalogue& catalogue();

    // Marks one of working(), index() or buffs() as changed.
    void changed(const XmlDocument& document);
    bool anyChanged() const { return workingChanged_ || indexChanged_ || buffsChanged_; }
    // Saves the changed documents all or nothing; the marks are then cleared. A failure raises
    // DataError and leaves every file as it was.
    void save(FileWriter& writer = diskWriter());

private:
    XmlDocument& loaded(std::optional<XmlDocument>& slot, const QString& fileName);

    QString dataDir_;
    std::optional<XmlDocument> working_, original_, index_, buffs_, fields_;
    std::optional<ProductCatalogue> catalogue_;
    bool workingChanged_ = false, indexChanged_ = false, buffsChanged_ = false;
};

} // namespace velmora::data
