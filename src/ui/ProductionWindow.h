#pragma once
// The production window "Produktion": the production settings of the selected building, in a
// current column (the working asset list, editable) and an original column (the original
// asset list, read-only).
//
// On show (FormShow), in this order: the documents are loaded and the settings read
// (data::LoadProductionSettings); the header shows the selected building; inputs, output,
// maintenance, modules, influence radius, incidents, electricity required and electricity used
// fill their slots, the toggles running their handlers; the panel pairs of the building are
// shown in rows at 228, 272 and 316; HasBuff takes the buff flag; values that differ from the
// original column are marked.
//
// The state lives in the named controls, so the product picker and the additional-products
// editor can write into them by name. "Annehmen" reads the controls back, writes them with
// data::ApplyProductionSettings (both files all or nothing), refreshes the main window and
// closes; a failure is shown and the window stays open.
#include "data/FileWriter.h"
#include "data/ProductionSettings.h"
#include "ui/EditorWindow.h"

class QCheckBox;
class QFrame;

namespace velmora::ui {

class AdditionalProductsWindow;
class ProductPickerWindow;

class ProductionWindow : public EditorWindow {
    Q_OBJECT
public:
    ProductionWindow(app::UserDialogs& dialogs, ProductPickerWindow& picker,
                     QWidget* parent = nullptr, data::FileWriter& writer = data::diskWriter());

    // The additional-products editor that BuffBtn opens; BuffBtn is enabled only with one.
    void setAdditionalProductsWindow(AdditionalProductsWindow* form);

    // The settings as the controls hold them now (current and original column, HasBuff).
    data::ProductionSettings currentState() const;

    void AcceptBtnClick() override;
    // A change button: the slot is the last digit of its name.
    void ChangeBtnClick(const QString& buttonName);
    // A reset button of an input slot: the slot is the last digit of its name.
    void ResetInputBtnClick(const QString& buttonName);
    void ResetOutputBtnClick();
    void ResetMaintenance1BtnClick();
    void ResetMaintenance2BtnClick();
    void InfluenceRadiusResetClick();
    void ModuleLimitResetClick();
    void ModuleRadiusResetClick();
    void ExplosionToggleClick();
    void ElectricityMandatoryToggleClick();
    void ElecricityBoostedToogleClick();
    void ModuleRadiusChange();
    void BuffBtnClick();
    // Marks the current-column values that differ from the original column.
    void MarkDifferences();

protected:
    void FormShow() override;

private:
    void createControls();
    void createSlotRows();
    void createSidePanels();
    QFrame* rowPanel(const QString& name, int top);
    QFrame* sidePanel(const QString& name, const QRect& geometry);
    void showProduct(const char* image, const char* name, const char* guid,
                     const data::ShownProduct& product);
    void setNumber(const char* name, const QString& value);
    // Copies original-column controls (text, number or picture) into their current twins.
    void resetFromOriginal(const std::vector<std::pair<QString, QString>>& pairs);
    void layoutPanels(const std::vector<data::SidePanel>& panels);

    ProductPickerWindow& picker_;
    AdditionalProductsWindow* additionalProductsWindow_ = nullptr;
    data::FileWriter& writer_;
    bool inputsEditable_ = true;
};

} // namespace velmora::ui
