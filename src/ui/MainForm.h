#pragma once
// The main window: region, group and building lists, the detail pane of the selected building,
// the actions on it and the info panel.
//
// Creation, in this order: the window takes its font and text colour; the controls are laid
// out; the Version label gets the version string; the Background picture is stretched over
// the window behind all controls; the help table of the data directory is loaded for the whole
// run; GroupView is filled from the group list; region 0 and group 2 are selected and
// GroupViewClick fills the building list and selects its first row. On show, the info panel
// shows help entry 0.
//
// Every refresh after a change of a building's flags runs FillBuildingList, which keeps the
// remembered row when it still exists and runs BuildingsViewClick on it.
#include "data/BuildingBrowser.h"

#include <QWidget>
#include <memory>

namespace velmora::app {
class Platform;
class UserDialogs;
} // namespace velmora::app

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace velmora::ui {

class BasicForm;
class CostForm;
class MessageForm;

// What the main window needs of the start-up: where the data files and the game's mods live,
// and the version string it shows.
struct MainFormSetup {
    QString dataDir;
    QString modsDir;
    QString version;
    QString programDir; // the work directories of the data preparation lie below it
};

// Scrolls a list so that its selected row moves towards the middle of the visible rows; does
// nothing while all rows are visible.
bool ScrollToSelection(QTreeWidget* view);

class MainForm : public QWidget {
    Q_OBJECT
public:
    MainForm(const MainFormSetup& setup, app::UserDialogs& dialogs, QWidget* parent = nullptr);
    // Runs the start-up sequence, then creates the window on its directories. Throws
    // app::StartupAbort when the program must end.
    static std::unique_ptr<MainForm> create(app::Platform& platform, app::UserDialogs& dialogs,
                                            const QString& programDir);

    // The window that asks the reset question; created on first use when none is given.
    void setMessageForm(MessageForm* form);
    // The production window that "Produktion" opens; the button does nothing without one.
    void setBasicForm(BasicForm* form);
    // The build-cost editor that "Baukosten" opens; without one the button does nothing.
    void setCostForm(CostForm* form);

    const MainFormSetup& setup() const { return setup_; }
    // The selection values that the editors and the mod writer read.
    const data::SelectionValues& selection() const { return selection_; }
    QTreeWidget* buildingsView() const { return buildingsView_; }

    bool FillBuildingList();
    // The refresh after an operation saved a building's changes, in this order: FillBuildingList,
    // select the remembered row (when it exists), ScrollToSelection when asked, BuildingsViewClick.
    void RefreshAfterChange(int rememberedRow, bool scrollToSelection);
    void BuildingsViewClick();
    bool ShowBuildingDetails();
    void GroupViewClick();
    void RegionViewClick();

    // Button reactions.
    void BasicFormBtnClick();
    void CostBtnClick();
    void ActivateBtnClick();
    void DeactivateBtnClick();
    void ResetBtnClick();
    void CloseBtnClick();
    // The developer's data preparation: each runs its pipeline in the program directory.
    void CreateBuildingsBtnClick();
    void CreateProductsBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void FillGroupView();
    void ShowHelp(const QString& id);
    void watchMouse(QWidget* control);
    void setActionButtonsEnabled(bool enabled);
    void showNoBuilding();
    // Selects a row of a list without running its reaction.
    void selectRow(QTreeWidget* view, int row);
    void selectRow(QListWidget* view, int row);

    MainFormSetup setup_;
    app::UserDialogs& dialogs_;
    data::SelectionValues selection_;
    MessageForm* messageForm_ = nullptr;
    BasicForm* basicForm_ = nullptr;
    CostForm* costForm_ = nullptr;
    bool centred_ = false;

    QLabel* background_;
    QListWidget* regionView_;
    QListWidget* groupView_;
    QLabel* countLabel_;
    QTreeWidget* buildingsView_;
    QWidget* noBuildingPanel_;
    QLabel* iconImage_;
    QLabel* nameLabel_;
    QLabel* guidLabel_;
    QLabel* regionImage_;
    QPushButton* basicFormBtn_;
    QPushButton* costBtn_;
    QPushButton* activateBtn_;
    QPushButton* deactivateBtn_;
    QPushButton* resetBtn_;
    QPushButton* closeBtn_;
    QLabel* infoLabel_;
    QLabel* infoText_;
    QLabel* version_;
};

} // namespace velmora::ui
