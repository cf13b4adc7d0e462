#pragma once
// The build-cost editor "Baukosten": the coins and up to six goods that the selected building
// costs to construct, the current costs (working asset list) beside the original ones.
//
// Seven slots, 0 to 6, each held in controls named by a stem and the slot number: Cost<k> (the
// amount box), CostLabel<k>, CostImage<k>, CostGUID<k> (out of sight) on the current side,
// OrgCost<k>, OrgCostLabel<k>, OrgCostImage<k>, OrgCostGUID<k> (out of sight) on the original
// side. Slot 0 holds the coins, whose good can not be changed (ChangeCostBtn0 shows the red
// double arrow and does nothing). A current value that differs from the original one is marked.
//
// On show (FormShow), in this order: the header shows the selected building; the info panel
// shows help entry 51; every picture is "Empty" and every original amount "0"; LoadCosts fills
// both sides from the asset lists; the differences are marked.
// ChangeCostBtn1 to ChangeCostBtn6 open the product picker for their slot, which writes the
// chosen good into the slot's controls; ResetCostBtn0 to ResetCostBtn6 copy the original side
// of their slot into the current side. Nothing is written before "Annehmen".
// "Annehmen" (AcceptBtnClick): the cost list of the working record is rebuilt from the current
// side, IsChanged set when the costs differ from the original ones (both files saved all or
// nothing); then the main window is refreshed when IsChanged was set, LoadCosts runs again and
// the window closes. "Abbrechen" closes without writing.
#include "data/BuildCosts.h"
#include "ui/EditorWindow.h"

class QPushButton;

namespace velmora::ui {

class ProductPickerWindow;

class BuildCostsWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit BuildCostsWindow(app::UserDialogs& dialogs, QWidget* parent = nullptr);

    // The picker that the change buttons open.
    void setProductPicker(ProductPickerWindow* picker);

    void LoadCosts();
    void ChangeCostBtnClick(const QPushButton* button);
    void ResetCostBtnClick(const QPushButton* button);
    void FullResetBtnClick();
    void AcceptBtnClick() override;

protected:
    void FormShow() override;

private:
    void createSlot(int k, const QPoint& at);
    void createFillerRow(const QPoint& at);
    void createColumnHeadings(int x, bool named);
    void resetSlot(int k);
    void MarkDifferences();
    data::CostSlot currentSlot(int k) const;
    data::CostSlot originalSlot(int k) const;
    void showCurrent(int k, const data::CostSlot& slot);
    void showOriginal(int k, const data::CostSlot& slot);

    ProductPickerWindow* picker_ = nullptr;
};

} // namespace velmora::ui
