#pragma once
// A building's edit: the fields whose current value differs from the game's value, as the three
// editors see them (production window, build costs, additional products).
//
// Every field has an English key (kept in the edits file) and the German label the editors use.
// Values are texts: a good by its GUID ("0" for none), a number as decimal text, a switch "1" or
// "0". The game value of a production or cost field is the original column; the game gives no
// building additional products, so their game value is an empty slot and the fertility switch
// off. A cost slot is compared as the build-cost apply writes it: a slot without a good has no
// amount, an amount "0" is written as the smallest amount.
#include "data/AdditionalProducts.h"
#include "data/BuildCosts.h"
#include "data/EditorFiles.h"
#include "data/ProductionSettings.h"

#include <QString>
#include <optional>
#include <vector>

namespace velmora::data {

enum class FieldKind { Good, Number, Switch };
enum class FieldEditor { Production, Costs, AdditionalProducts };

// A field and what the editors allow in it.
struct EditField {
    QString key;   // "outputAmount", "cost2", "extra3Cycle", ...
    QString label; // "Ausgabemenge", "Baukosten Ware 2", "Zusatzware 3 pro Zyklus", ...
    FieldKind kind = FieldKind::Number;
    FieldEditor editor = FieldEditor::Production;
    int minimum = 0, maximum = 0; // numbers
    int slot = -1;                // input, cost or additional-product slot; -1 for none
};

// Every field, in the editors' order: production, build costs, additional products.
const std::vector<EditField>& EditFields();
// The field with the key, or nullptr.
const EditField* FindEditField(const QString& key);

// A building as the editors load it.
struct BuildingState {
    ProductionSettings production;
    BuildCosts costs;
    AdditionalProducts additional;
};
// Raises DataError when a file can not be read or lacks the building.
BuildingState LoadBuildingState(EditorFiles& files, const QString& guid);

struct FieldValues {
    QString game;
    QString current;
};
// The field's game and current value, or nothing when the building's editor does not offer the
// field: the inputs of a raw-material producer, a side panel the production window does not
// show for the building (ShowsPanel), the fertility switch of a building that is offered none.
std::optional<FieldValues> FieldValue(const BuildingState& state, const EditField& field);

// The value as the editor's controls write it, a number or a good without leading zeros ("007"
// becomes "7"), or nothing when it is not of the field's kind: a number or good that is no
// decimal whole number (a blank, a NUL, "1 10200"), a switch other than "0" or "1". A value is
// checked here before anything is looked up with it.
std::optional<QString> CanonicalValue(const EditField& field, const QString& value);

// Why the value can not go into the field of this building, in German, or "" when it can: a
// value not of the field's kind, a number outside the editor's range (module radius 1 to 4
// included), a good missing from the catalogue or from the categories the picker offers there,
// no good where the picker offers no removal row, a field the building's editor does not offer.
// The value is checked in its canonical form.
QString FieldValueFault(const BuildingState& state, const EditField& field, const QString& value,
                        const ProductCatalogue& catalogue);

// What the editor's rules make of a canonical value that passed FieldValueFault, in the building
// as it stands (its state holds the values set before, in EditFields order):
//   - "Elektrizität verwenden" can not be switched off while "Elektrizität erforderlich" is on;
//   - a cost slot or additional-product slot without a good has no amount or cycle;
//   - a cost amount 0 of a slot with a good is written as the smallest amount (10 coins, 1);
//   - a slot with an additional product has at least amount 1 and cycle 1.
struct RuledValue {
    QString value;          // what the field will hold
    QString note;           // German: why value differs from the given one, or why not applicable
    bool applicable = true; // false: the editor's controls can not produce the value here
};
RuledValue RuleValue(const BuildingState& state, const EditField& field, const QString& value);

// Sets the current value as the editor's control would: the value as RuleValue makes it (an
// inapplicable value changes nothing), a good with its name and picture, "Elektrizität
// erforderlich" switched on switches "Elektrizität verwenden" on too. The value must have
// passed FieldValueFault.
void SetFieldValue(BuildingState& state, const EditField& field, const QString& value,
                   const ProductCatalogue& catalogue);

struct FieldEdit {
    QString key;
    QString game;
    QString current;
    bool operator==(const FieldEdit&) const = default;
};
// The fields whose current value differs from the game's, in EditFields order. An amount or
// cycle counts only for a slot that has a good.
std::vector<FieldEdit> ChangedFields(const BuildingState& state);

struct BuildingEdit {
    QString guid;
    QString name; // the Local name of the index
    bool exported = false;
    std::vector<FieldEdit> fields;
};
// Every building whose IsChanged is "true", in index order, with its changed fields.
std::vector<BuildingEdit> ListEdits(EditorFiles& files);

// A value as the overview shows it: a good by its German name ("keine" for none, "unbekannte
// Ware <GUID>"), a switch "ja" or "nein", a number as it is.
QString ShownValue(const EditField& field, const QString& value, const ProductCatalogue& catalogue);

} // namespace velmora::data
