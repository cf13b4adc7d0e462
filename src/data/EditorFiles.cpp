#include "data/EditorFiles.h"

#include "data/BuildingIndex.h"
#include "data/DataFiles.h"

#include <vector>

namespace velmora::data {

XmlDocument& EditorFiles::loaded(std::optional<XmlDocument>& slot, const QString& fileName) {
    if (!slot)
        slot = loadDataFile(dataDir_, fileName);
    return *slot;
}

XmlDocument& EditorFiles::working() {
    return loaded(working_, kWorkingAssetsFile);
}
const XmlDocument& EditorFiles::original() {
    return loaded(original_, kOriginalAssetsFile);
}
XmlDocument& EditorFiles::index() {
    return loaded(index_, kBuildingIndexFile);
}
XmlDocument& EditorFiles::buffs() {
    return loaded(buffs_, kBuffTableFile);
}
const XmlDocument& EditorFiles::fields() {
    return loaded(fields_, kFieldTableFile);
}
const ProductCatalogue& EditorFiles::catalogue() {
    if (!catalogue_)
        catalogue_ = ProductCatalogue::load(dataDir_);
    return *catalogue_;
}

void EditorFiles::changed(const XmlDocument& document) {
    if (working_ && &document == &*working_)
        workingChanged_ = true;
    else if (index_ && &document == &*index_)
        indexChanged_ = true;
    else if (buffs_ && &document == &*buffs_)
        buffsChanged_ = true;
    else
        throw DataError(QStringLiteral("Eine nicht geladene Datei sollte gespeichert werden."));
}

void EditorFiles::save(FileWriter& writer) {
    std::vector<const XmlDocument*> documents;
    if (workingChanged_)
        documents.push_back(&*working_);
    if (indexChanged_)
        documents.push_back(&*index_);
    if (buffsChanged_)
        documents.push_back(&*buffs_);
    if (!documents.empty())
        saveAllOrNothing(documents, writer);
    workingChanged_ = indexChanged_ = buffsChanged_ = false;
}

} // namespace velmora::data
