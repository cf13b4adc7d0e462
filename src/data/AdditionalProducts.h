#pragma once
// The additional products of one building, kept free of widgets: the building's entry of the
// buff table ("BuffsShort.xml"), found through the Add attribute of the building index, read
// and written by attribute position. Slot k keeps its product GUID at position 1 + 3k, its
// amount at 2 + 3k and its cycle at 3 + 3k; position 28 is Set, position 29 Chain (the
// fertility the building brings along, "0" for none).
//
// Load, in this order: the building's Add from the index; the buff entry; the needed
// fertility from the working record (Values/Factory7/NeededFertility), unless the building is
// one of the five that never bring their fertility; the nine slots with their names and
// pictures from the product catalogue.
//
// Apply, in this order: the index entry and the buff entry are looked up again and every value
// checked; the nine slots and Chain are written; Set becomes "1" when a product or a fertility
// was written and is left as it was otherwise; "BuffsShort.xml" is saved. Nothing else is
// written: the production window decides about IsChanged.
#include "data/EditorFiles.h"
#include "data/FileWriter.h"

#include <QString>
#include <array>
#include <optional>

namespace velmora::data {

constexpr int kAddSlots = 9;
constexpr int kBuffSetPosition = 28;
constexpr int kBuffChainPosition = 29;
constexpr int buffProductPosition(int slot) {
    return 1 + 3 * slot;
}
constexpr int buffAmountPosition(int slot) {
    return 2 + 3 * slot;
}
constexpr int buffCyclePosition(int slot) {
    return 3 + 3 * slot;
}

// One additional-product slot as the editor shows it; the defaults are an empty slot.
struct AddSlot {
    QString guid = QStringLiteral("0");
    QString name = QStringLiteral("keine Auswahl");
    QString image = QStringLiteral("NoInput");
    QString amount = QStringLiteral("0");
    QString cycle = QStringLiteral("0");

    bool operator==(const AddSlot&) const = default;
};

using AddSlots = std::array<AddSlot, kAddSlots>;

// A fertility of the fixed table: its German name and the name of its picture.
struct Fertility {
    QString name;
    QString image;
};
// The table's entry for the GUID ("0" is "keine"), or nothing for a GUID it does not hold.
std::optional<Fertility> FertilityByGuid(const QString& guid);

// The five buildings whose fertility is never offered: "114705", "114703", "112674", "112666",
// "1010310".
bool FertilityExcluded(const QString& buildingGuid);

// The caption of the fertility switch: "erforderliche Fruchtbarkeit (" + name + ") hinzufügen"
// when on, "erforderliche Fruchtbarkeit nicht hinzufügen" when off.
QString FertilityCaption(bool on, const QString& fertilityGuid);

struct AdditionalProducts {
    AddSlots goods;
    // The fertility the building needs; "0" when it needs none or is one of the five.
    QString fertilityGuid = QStringLiteral("0");
    bool fertilityOffered = false;         // switch, label and image are shown
    bool fertilityOn = false;              // offered and Chain is not "0"
    QString hasBuff = QStringLiteral("0"); // "1" when Set is "1"
};

// Reads the building's entry of the buff table. Raises DataError when a file can not be loaded
// or lacks the building or its entry.
AdditionalProducts LoadAdditionalProducts(const QString& dataDir, const QString& buildingGuid);
AdditionalProducts LoadAdditionalProducts(EditorFiles& files, const QString& buildingGuid);

struct BuffApplyResult {
    QString hasBuff; // "1" when a product or a fertility was written, else "0"
};

// Writes the slots (GUID, amount and cycle as their texts) and fertilityActive ("0" or the GUID
// to add) into the building's buff entry (see the order above). A GUID, amount or cycle that is
// no whole number, or an entry without its thirty attributes, raises DataError before anything
// is written.
BuffApplyResult ApplyAdditionalProducts(const QString& dataDir, const QString& buildingGuid,
                                        const AddSlots& goods, const QString& fertilityActive,
                                        FileWriter& writer = diskWriter());
// The same on files already loaded; the buff table is marked changed, the caller saves it.
BuffApplyResult ApplyAdditionalProducts(EditorFiles& files, const QString& buildingGuid,
                                        const AddSlots& goods, const QString& fertilityActive);

} // namespace velmora::data
