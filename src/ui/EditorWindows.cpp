#include "ui/EditorWindows.h"

#include "ui/AdditionalProductsWindow.h"
#include "ui/BuildCostsWindow.h"
#include "ui/ProductPickerWindow.h"
#include "ui/ProductionWindow.h"

namespace velmora::ui {

EditorWindows::EditorWindows(app::UserDialogs& dialogs) : dialogs_(dialogs) {}

EditorWindows::~EditorWindows() {
    buildCosts_.reset();
    production_.reset();
    additionalProducts_.reset();
    picker_.reset();
}

ProductPickerWindow& EditorWindows::picker() {
    if (!picker_)
        picker_ = std::make_unique<ProductPickerWindow>(dialogs_);
    return *picker_;
}

ProductionWindow& EditorWindows::production() {
    if (!production_) {
        ProductPickerWindow& shared = picker();
        additionalProducts_ = std::make_unique<AdditionalProductsWindow>(dialogs_);
        additionalProducts_->setProductPicker(&shared);
        production_ = std::make_unique<ProductionWindow>(dialogs_, shared);
        production_->setAdditionalProductsWindow(additionalProducts_.get());
    }
    return *production_;
}

BuildCostsWindow& EditorWindows::buildCosts() {
    if (!buildCosts_) {
        buildCosts_ = std::make_unique<BuildCostsWindow>(dialogs_);
        buildCosts_->setProductPicker(&picker());
    }
    return *buildCosts_;
}

} // namespace velmora::ui
