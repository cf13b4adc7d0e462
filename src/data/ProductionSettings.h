#pragma once
// The production settings of one building, kept free of widgets: what the production window
// loads from the data files into its current and original columns, the panels it shows, and
// how "Annehmen" writes the current column back.
//
// Loading, in this order: both asset lists, the building index, the product catalogue and the
// field table are loaded and the building's records found; then inputs, output, maintenance,
// modules, influence radius, incidents, electricity required and used are read from each
// record; the panel layout follows from the building's group, GUID, region and template; the
// buff table gives HasBuff. Missing optional elements read as "0" (or the defaults below).
//
// Applying (ApplyProductionSettings) looks everything up first (records, index entry, the
// groups every record must have), then changes the working record in this order: inputs,
// output, maintenance, workforce archetype, modules, influence radius, incidents, electricity;
// sets IsChanged in the index; and saves "Buildings.xml" and "BuildingsShort.xml" all or
// nothing. A record lacking a group ends the operation with a German message naming the
// building before anything is saved.
#include "data/EditorFiles.h"
#include "data/FileWriter.h"

#include <QString>
#include <array>
#include <vector>

namespace velmora::data {

// A product as a slot shows it.
struct ShownProduct {
    QString guid = QStringLiteral("0");
    QString name = QStringLiteral("keine Auswahl");
    QString icon = QStringLiteral("NoInput");
    bool operator==(const ShownProduct&) const = default;
};

inline const QString kNoModulesName = QStringLiteral("keine Module erforderlich");

// One column of the production window; every value a decimal text.
struct ProductionColumn {
    std::array<ShownProduct, 4> inputs;
    ShownProduct output;
    QString outputAmount = QStringLiteral("0");
    ShownProduct money;
    QString moneyAmount = QStringLiteral("0");
    ShownProduct workforce;
    QString workforceAmount = QStringLiteral("0");
    QString influenceRadius = QStringLiteral("0");
    QString moduleLimit = QStringLiteral("0");
    QString moduleName = kNoModulesName;
    QString moduleRadius = QStringLiteral("0");
    QString incidents = QStringLiteral("0");         // "1": incidents possible
    QString electricMandatory = QStringLiteral("0"); // "1": works only with electricity
    QString electricBoosted = QStringLiteral("0");   // "1": uses electricity
    bool operator==(const ProductionColumn&) const = default;
};

// The right-hand panel pairs of the window, each a current and an original panel.
enum class SidePanel {
    InfluenceRadius,
    ModuleLimit,
    ModuleRadius,
    Incidents,
    ElectricMandatory,
    ElectricBoosted
};

struct ProductionSettings {
    ProductionColumn current;  // the working asset list, editable
    ProductionColumn original; // the original asset list
    // False for a raw-material producer (Production "0"): its inputs are not editable and its
    // input list is never rebuilt.
    bool inputsEditable = true;
    QString hasBuff = QStringLiteral("0"); // "1": the building has additional products
    // Shown panel pairs, top to bottom: the layout, without a panel whose value the working
    // record does not hold (influence radius, module limit, module radius).
    std::vector<SidePanel> panels;
};

// The panel pairs shown for a building of the group, GUID, region number and template.
std::vector<SidePanel> PanelLayout(const QString& group, const QString& guid, const QString& region,
                                   const QString& templateName);

// Whether the production window shows the panel pair for the building (its panels); a value of a
// panel it does not show can not be edited.
bool ShowsPanel(const ProductionSettings& settings, SidePanel panel);

// Loads the settings of the building with the GUID. Raises DataError when a file can not be
// read, a list lacks the building or the buff table its entry.
ProductionSettings LoadProductionSettings(const QString& dataDir, const QString& guid);
ProductionSettings LoadProductionSettings(EditorFiles& files, const QString& guid);

// The changed flag: yes when any current value differs from its original one as text, or the
// building has additional products.
bool ProductionChanged(const ProductionSettings& settings);

// The module radius as the window allows it: 1 to 4 become 5.
int SnapModuleRadius(int radius);

// The workforce archetype of a workforce product, "" for one not in the table.
QString WorkforceArchetype(const QString& workforceGuid);

// Writes the current column into the building's working record and its IsChanged flag, and
// saves both files all or nothing. Returns the changed flag.
bool ApplyProductionSettings(const QString& dataDir, const QString& guid,
                             const ProductionSettings& settings, FileWriter& writer = diskWriter());
// The same on files already loaded: the working asset list and the index are changed in memory
// and marked; the caller saves them.
bool ApplyProductionSettings(EditorFiles& files, const QString& guid,
                             const ProductionSettings& settings);

} // namespace velmora::data
