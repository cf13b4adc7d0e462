#pragma once
// The additional-products editor "Zusatzwaren": up to nine goods that the selected building
// yields besides its output, each with an amount and a cycle, and for a farm whether its mod
// brings the fertility the farm needs. It edits the building's entry of the buff table and
// nothing else; it tells the production window that opened it, through that window's state
// label HasBuff, whether the building has additional products.
//
// Nine slots, 0 to 8, each held in controls named by a stem and the slot number:
// AddProductGUID<k> (out of sight), AddProductText<k>, AddProductImage<k>, AddProductAmount<k>
// ("Anzahl", 1 to 100) and AddProductCycle<k> ("pro Zyklus", 1 to 25). An empty slot holds
// GUID "0" and shows "0" in both boxes, which is what it stores; once a good is chosen the
// boxes start at 1. The fertility: FertilityGUID (needed, out of sight), FertilityGUIDActive
// (to add, out of sight), FertilityToggle, FertilityLabel, FertilityImage.
//
// On show (FormShow), in this order: the header shows the selected building; every slot is
// emptied and the fertility switched off; the fertility row is shown for a building that needs
// a fertility and is not one of the five excluded ones, and switched on when the entry's Chain
// is set; HasBuff of the production window follows the entry's Set; the nine slots are filled
// from the entry; the info panel shows help entry 50.
// AddProductBtn0 to AddProductBtn8 open the product picker for their slot; ResetAddBtn0 switches
// the fertility off and empties slot 0, ResetAddBtn1 to ResetAddBtn8 empty their slot,
// FullResetBtn switches the fertility off and empties every slot.
// "Annehmen" (AcceptBtnClick): the slots and the fertility are written into the buff entry,
// HasBuff of the production window set, and the window closes. "Abbrechen" closes without
// writing.
#include "data/AdditionalProducts.h"
#include "ui/EditorWindow.h"

class QCheckBox;
class QPushButton;

namespace velmora::ui {

class ProductPickerWindow;

class AdditionalProductsWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit AdditionalProductsWindow(app::UserDialogs& dialogs, QWidget* parent = nullptr);

    // The picker that the change buttons open.
    void setProductPicker(ProductPickerWindow* picker);

    void AddProductBtnClick(const QPushButton* button);
    // ResetAddBtn0: the fertility off, then the slot of the clicked button emptied.
    void FullResetAddBtnClick(const QPushButton* button);
    // ResetAddBtn1 to ResetAddBtn8: the slot of the clicked button emptied.
    void ResetAddBtnClick(const QPushButton* button);
    void FullResetBtnClick();
    void FertilityToggleClick();
    void AcceptBtnClick() override;

protected:
    void FormShow() override;

private:
    void createSlot(int k, const QPoint& at);
    void createFertilityRow(const QPoint& at);
    void emptySlot(int k);
    void showSlot(int k, const data::AddSlot& s);
    // Empty slots take "0" in their boxes; a slot with a good starts its boxes at 1.
    void fitBoxes(int k);
    void setFertilityOn(bool on);
    void setHasBuff(const QString& value);

    ProductPickerWindow* picker_ = nullptr;
    QCheckBox* fertilityToggle_ = nullptr;
};

} // namespace velmora::ui
