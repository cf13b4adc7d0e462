#pragma once
// The product picker "Produktauswahl": the user chooses one product of the catalogue by
// category and region, and "Annehmen" writes it straight into the opener's slot controls.
//
// How an opener uses it (the program entry creates one picker for the whole run):
//   1. set the request: picker.request().caller = data::kCallerBuildCosts (or "BasicForm",
//      "BasicFormWorkForce", "BuffForm"), and the caller's own slot index, taken from the last
//      digit of the clicked button's name: request().productionSlot (production window: 0 to 3
//      inputs, 4 output, 5 workforce), request().costSlot (build-cost editor) or
//      request().additionalProductSlot (additional-products editor). The request stays set
//      after the picker closes; each opener sets only its own index.
//   2. picker.openFor(this, context()) shows the picker modally, centred on the opener; it
//      returns QDialog::Accepted when a product was handed back.
//   3. After "Annehmen" the opener's controls show the new value at once; the opener re-reads
//      its slots (for instance to mark values that differ from the original column).
//
// The hand-back (data::PickerHandBack) finds the opener's child controls by objectName; <k> is
// the slot number. Texts go into a QLabel, a QLineEdit or a QSpinBox (as its value); pictures
// into a QLabel, at 36 by 36 from the image collection, with the name kept in the label's
// property "pictureName" (see setPicture in EditorWindow.h).
//   "BasicForm", slot 0-3:  InputGUID<k> (hidden QLabel), InputName<k> (QLabel),
//                           InputImage<k> (QLabel); "Entfernen" gives "0", "keine Auswahl",
//                           picture "Empty".
//   "BasicForm", slot 4:    OutputGUID, OutputName, OutputImage (no removal row).
//   "BasicFormWorkForce":   MaintenanceGUID2, MaintenanceName2, MaintenanceImage2 (no removal).
//   "CostForm":             Cost<k> (QSpinBox; "0" becomes "1" when a product is chosen),
//                           CostGUID<k> (hidden QLabel), CostLabel<k> (QLabel), CostImage<k>
//                           (QLabel with pixmap); "Entfernen" gives Cost<k> "0", CostGUID<k>
//                           "0", "keine Auswahl", picture "Empty".
//   "BuffForm":             AddProductGUID<k> (hidden QLabel), AddProductText<k> (QLabel),
//                           AddProductImage<k> (QLabel); "Entfernen" empties the slot:
//                           AddProductGUID<k> "0", AddProductAmount<k> and AddProductCycle<k>
//                           "0" (QSpinBox or QLabel), "keine Auswahl", picture "NoInput".
// The removal row "Entfernen" is offered for the input, cost and additional-product slots,
// never for the output or the workforce. If a named control is missing, nothing is changed and
// the error names it.
//
// On show, in this order: the header shows the selected building; the category list is filled
// for the caller; the first category and the first region are selected; the product list is
// filled and its first row selected. A click on a category or region fills the list again
// with no row selected; "Annehmen" without a selected row keeps the picker open.
#include "ui/EditorWindow.h"

class QListWidget;
class QTreeWidget;

namespace velmora::ui {

class ProductPickerWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit ProductPickerWindow(app::UserDialogs& dialogs, QWidget* parent = nullptr);

    // The program-wide picker request; set it before openFor.
    data::PickerRequest& request() { return request_; }
    const data::PickerRequest& request() const { return request_; }

    void CategoryListboxClick();
    void RegionViewClick();
    void AcceptBtnClick() override;

protected:
    void FormShow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillProductList();

    data::PickerRequest request_;
    QListWidget* categoryList_;
    QListWidget* regionView_;
    QTreeWidget* productView_;
    int rowAtPress_ = -1; // selected row of the category or region list when a click began
};

} // namespace velmora::ui
