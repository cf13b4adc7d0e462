#pragma once
// The build costs of one building, kept free of widgets: seven cost slots read from the cost
// list of the working record ("current") and of the original record ("original"), and the
// apply that rebuilds the working record's cost list.
//
// A cost list is Values/Cost/Costs with Item elements; a filled item holds a name comment,
// Ingredient (product GUID) and Amount, a free item is empty. Slot k shows the k-th item; slot 0
// holds the coins.
//
// Apply, in this order: every file is loaded and every look-up done (the working and the
// original record, the chosen products in the catalogue, the building's index entry); the
// changed flag is decided; Values/Cost of the working record is replaced by a new Cost group
// appended as the last child of Values, holding seven items; IsChanged is set to "true" when
// the costs differ from the original ones; "Buildings.xml" and, when its flag changed,
// "BuildingsShort.xml" are saved all or nothing. A failure before the save leaves every file
// untouched.
#include "data/EditorFiles.h"
#include "data/FileWriter.h"

#include <QString>
#include <array>

namespace velmora::data {

constexpr int kCostSlots = 7;

// The coins, the good of every building's first cost item.
inline const QString kCoinsGuid = QStringLiteral("1010017");

// One cost slot as the editor shows it.
struct CostSlot {
    QString amount = QStringLiteral("0"); // the amount as text; "" shows an empty box
    QString name = QStringLiteral("keine Auswahl");
    QString guid = QStringLiteral("0"); // "0" for none
    QString image = QStringLiteral("Empty");

    bool operator==(const CostSlot&) const = default;
};

using CostSlots = std::array<CostSlot, kCostSlots>;

struct BuildCosts {
    CostSlots current;  // from "Buildings.xml"
    CostSlots original; // from "BuildingsOrg.xml"
};

// Reads both sides of the building's costs. Current side: slot 0 always takes the first item
// (an empty amount stays empty); slots 1 to 6 take their item when its amount is not empty,
// otherwise they are empty. Original side: the same, but an amount "0" also counts as none, and
// slot 0 of a record without any cost item shows an empty amount and an empty name. A product
// missing from the catalogue shows "keine Auswahl" and "Empty"; so does GUID "0". Raises
// DataError when a file can not be loaded or lacks the building.
BuildCosts LoadCosts(const QString& dataDir, const QString& buildingGuid);
BuildCosts LoadCosts(EditorFiles& files, const QString& buildingGuid);

// The slot as the apply writes it: no product leaves the item empty, whatever its amount; a
// product with amount "0" is written with "1"; empty or "0" coins in slot 0 become "10".
CostSlot WrittenCostSlot(int slot, const CostSlot& current);

// True when slot k as written from current differs from the original slot: its product, or its
// amount as written. Slots without a product on both sides are equal whatever their amounts.
bool CostSlotDiffers(int slot, const CostSlot& current, const CostSlot& original);
// True when any slot differs.
bool CostsDiffer(const CostSlots& current, const CostSlots& original);

struct CostApplyResult {
    bool changed = false; // the costs differ from the original ones; IsChanged was set
};

// Rebuilds the building's cost list in "Buildings.xml" from the current slots and sets
// IsChanged in "BuildingsShort.xml" when they differ from the original costs (see the order
// above). A chosen product missing from the catalogue, an amount that is no whole number or a
// building missing from a file raises DataError before anything is written.
CostApplyResult ApplyCosts(const QString& dataDir, const QString& buildingGuid,
                           const CostSlots& current, FileWriter& writer = diskWriter());
// The same on files already loaded; the changed documents are marked, the caller saves them.
CostApplyResult ApplyCosts(EditorFiles& files, const QString& buildingGuid,
                           const CostSlots& current);

} // namespace velmora::data
