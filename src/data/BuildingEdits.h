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
// The field's game and current value, or nothing when the building has no such field: the
// inputs of a raw-material producer, the fertility switch of a building that is offered none.
std::optional<FieldValues> FieldValue(const BuildingState& state, const EditField& field);

// Why the value can not go into the field of this building, in German, or "" when it can: a
// number outside the editor's range (module radius 1 to 4 included), a switch other than "0"
// or "1", a good missing from the catalogue or from the categories the picker offers there, no
// good where the picker offers no removal row, a field the building does not have.
QString FieldValueFault(const BuildingState& state, const EditField& field, const QString& value,
                        const ProductCatalogue& catalogue);

// Sets the current value as the editor's control would (a good with its name and picture;
// "Elektrizität erforderlich" switched on switches "Elektrizität verwenden" on too). The value
// must have passed FieldValueFault.
void SetFieldValue(BuildingState& state, const EditField& field, const QString& value,
                   const ProductCatalogue& catalogue);

struct FieldEdit {
    QString key;
    QString game;
    QString current;
    bool operator==(const FieldEdit&) const = default;
};
// The fields whose current value differs from the game's, in EditFields order.
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
