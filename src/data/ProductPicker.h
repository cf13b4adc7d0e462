#pragma once
// The rules of the product picker, kept free of widgets: which categories a caller is offered,
// the rows of a category and region in picker order, whether the removal row is offered, and
// what the picker hands back into the opener's named slot controls.
//
// The hand-back is a list of assignments, each naming one control of the opener by its
// composed name (a stem followed by the slot number, "InputGUID2", "CostLabel4") and the value
// it takes. The picker window carries them out; the rules here decide them.
#include "data/ProductCatalogue.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace velmora::data {

// The four openers of the picker.
inline const QString kCallerProduction = QStringLiteral("BasicForm");
inline const QString kCallerWorkForce = QStringLiteral("BasicFormWorkForce");
inline const QString kCallerBuildCosts = QStringLiteral("CostForm");
inline const QString kCallerAdditionalProducts = QStringLiteral("BuffForm");

// Production slots of the production window: 0 to 3 the inputs, then output and workforce.
constexpr int kOutputSlot = 4;
constexpr int kWorkForceSlot = 5;

// What the opener asks for. Each opener sets the caller and its own slot index (the last digit
// of the clicked button's name); the other indices keep their values.
struct PickerRequest {
    QString caller = kCallerProduction;
    int productionSlot = 0;
    int costSlot = 0;
    int additionalProductSlot = 0;
};

// The removal row: chosen, it empties the slot.
inline const QString kRemovalName = QStringLiteral("Entfernen");
inline const QString kRemovalPicture = QStringLiteral("Delete");
inline const QString kRemovalPos = QStringLiteral("A0");
Product RemovalRow();

// The categories of the category list, in order: "Arbeitskraft" alone for the workforce, the
// five goods categories for every other caller.
QStringList PickerCategories(const QString& caller);

// The removal row is offered for the four input slots, every cost slot and every
// additional-product slot; never for the output or the workforce.
bool OffersRemovalRow(const PickerRequest& request);

// The rows of the product list: the removal row where offered, then the products of the
// category and region, sorted by Pos regardless of the case of ASCII letters (stable, so equal
// positions keep file order).
std::vector<Product> PickerRows(const ProductCatalogue& catalogue, const PickerRequest& request,
                                const QString& category, const QString& region);

// One change of an opener's control.
struct SlotAssignment {
    enum Kind {
        Text,       // the control shows value (a label's text, a number box's value)
        Picture,    // the picture label shows the collection picture named value
        TextIfZero, // like Text, but only while the control reads "0"
    };
    QString control;
    Kind kind;
    QString value;
    bool operator==(const SlotAssignment&) const = default;
};

// What choosing product hands back for the request; empty when the choice changes nothing (the
// removal row for a slot that does not offer it).
std::vector<SlotAssignment> PickerHandBack(const PickerRequest& request, const Product& product);

} // namespace velmora::data
