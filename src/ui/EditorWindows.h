#pragma once
// The editors of the run: the production window with its additional-products editor, the
// build-cost editor and the product picker they share. Each is built the first time it is
// opened (the picker with the first editor that needs it) and then kept for the run, wired as
// the editors expect: the production window and both other editors choose through the one
// picker, and the production window opens the additional-products editor.
#include <memory>

namespace velmora::app {
class UserDialogs;
}

namespace velmora::ui {

class AdditionalProductsWindow;
class BuildCostsWindow;
class ProductPickerWindow;
class ProductionWindow;

class EditorWindows {
public:
    explicit EditorWindows(app::UserDialogs& dialogs);
    ~EditorWindows();
    EditorWindows(const EditorWindows&) = delete;
    EditorWindows& operator=(const EditorWindows&) = delete;

    ProductionWindow& production();
    BuildCostsWindow& buildCosts();

private:
    ProductPickerWindow& picker();

    app::UserDialogs& dialogs_;
    // Declared in the order they are built, so that they are destroyed in the opposite one.
    std::unique_ptr<ProductPickerWindow> picker_;
    std::unique_ptr<AdditionalProductsWindow> additionalProducts_;
    std::unique_ptr<ProductionWindow> production_;
    std::unique_ptr<BuildCostsWindow> buildCosts_;
};

} // namespace velmora::ui
