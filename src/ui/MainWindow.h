#pragma once
// The main window: region, group and building lists, the detail pane of the selected building,
// the actions on it and the info panel.
//
// Creation, in this order: the window takes its font and text colour; the controls are laid
// out (filter column, info panel, building list, detail pane, help ids, reactions); the Version
// label gets the version string; the Background picture is stretched over the window behind all
// controls; GroupView is filled from the group names the start-up loaded; region 0 and group 2
// are selected and GroupViewClick fills the building list and selects its first row. On show,
// the info panel shows help entry 0 of the help table the start-up loaded for the run.
//
// FillBuildingList first brings the export flags in line with the mods directory (a mod folder
// deleted or put back by hand), saves the index when a flag changed and tells the player once.
//
// Every refresh after a change of a building's flags runs FillBuildingList, which keeps the
// remembered row when it still exists and runs BuildingsViewClick on it. "Aktivieren" writes the
// mod (src/mod), shows its marked icon in HelpJsonImage, then refreshes: FillBuildingList, the
// remembered row, ScrollToSelection, BuildingsViewClick; "Deaktivieren" removes the mod and
// refreshes the same way without scrolling.
#include "data/BuildingBrowser.h"
#include "tools/PrepCommon.h"

#include <QWidget>
#include <atomic>
#include <memory>

namespace velmora::app {
class Platform;
class UserDialogs;
} // namespace velmora::app

class QLabel;
class QThread;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmora::mod {
struct ForeignMods;
}

namespace velmora::ui {

class ProductionWindow;
class BuildCostsWindow;
class EditorWindows;
class MessageWindow;

// What the main window needs of the start-up: where the data files and the game's mods live,
// and the version string it shows.
struct MainWindowSetup {
    QString dataDir;
    QString modsDir;
    QString version;
    QString programDir;     // the work directories of the data preparation lie below it
    QStringList groupNames; // of the group list, loaded once by the start-up
    QString userName;       // the login name the mod writer puts into a mod's header
    QString gameDir = {};   // the game's folder; every operation on a mod folder checks that
                            // the game is still there
};

// Scrolls a list so that its selected row moves towards the middle of the visible rows; does
// nothing while all rows are visible.
bool ScrollToSelection(QTreeWidget* view);

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(const MainWindowSetup& setup, app::UserDialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;
    // Runs the start-up sequence, then creates the window on its directories. Throws
    // app::StartupAbort when the program must end.
    static std::unique_ptr<MainWindow> create(app::Platform& platform, app::UserDialogs& dialogs,
                                              const QString& programDir);

    // The window that asks the reset question; created on first use when none is given.
    void setMessageWindow(MessageWindow* form);
    // The production window that "Produktion" opens; the button does nothing without one.
    void setProductionWindow(ProductionWindow* form);
    // The build-cost editor that "Baukosten" opens; without one the button does nothing.
    void setBuildCostsWindow(BuildCostsWindow* form);
    // The editors of the run, built on their first opening; a window given by the two setters
    // above takes precedence.
    void setEditorWindows(EditorWindows* editors);

    // The selection values that the editors and the mod writer read.
    const data::SelectionValues& selection() const { return selection_; }

    bool FillBuildingList();
    // The refresh after an operation saved a building's changes, in this order: FillBuildingList,
    // select the remembered row (row 0 when it no longer exists, and always under the pseudo-group
    // of changed buildings), ScrollToSelection when asked, BuildingsViewClick.
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
    void ActivateAllBtnClick();
    void DeactivateAllBtnClick();
    // The overview of every edit; a building chosen there is shown (ShowBuilding).
    void EditsBtnClick();
    // Selects the pseudo-group of edited buildings and in it the building with the GUID; a building
    // that is not there is looked for among the exported ones.
    void ShowBuilding(const QString& guid);
    // The developer's data preparation: each runs its pipeline in the program directory.
    void CreateBuildingsBtnClick();
    void CreateProductsBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

signals:
    // The other mods of the mods directory have been read and the conflict marks shown.
    void foreignModsScanned();

private:
    // The Local name of the selected row, as the mod folders are named from it.
    QString selectedRowName(const QString& fallback) const;
    void warnLeftFolders(const QString& title, const QStringList& notes);
    // Brings the export flags in line with the mods directory; what it corrected (or why it
    // could not look) and the program's mods whose building is gone are told once, after the
    // window is shown.
    // Returns the index it read (null when it did not look).
    std::shared_ptr<const data::XmlDocument> syncExportFlags();
    // The other mods are read on a thread of their own once the window has been drawn; the result
    // replaces the conflict marks when it arrives, and the program's own folders never change it.
    void startForeignModScan();
    void takeForeignMods(std::shared_ptr<const mod::ForeignMods> mods);
    QStringList conflictsOf(const QString& guid, const QString& buffGuid) const;
    // The marks of stale mods (StaleModMarks.h) wait for the window's first paint, so that they
    // do not hold up its first appearance; from then on every fill of the list computes them.
    void showStaleMarks();
    void showConflictMarks();
    void showConflictText();
    void runBulk(bool activation);
    bool ask(const QString& header, const QString& picture, const QString& message,
             const QString& okCaption);
    QString gameExecutable() const;
    void showPendingNotice();
    // The parts of the window, created in this order by createControls.
    void runPipeline(void (*pipeline)(const tools::PrepDirectories&, const tools::StepReporter&));
    void createControls();
    void createFilterColumn();
    void createInfoPanel();
    void createBuildingList();
    void createDetailPane();
    void assignHelpIds();
    void connectReactions();
    void FillGroupView();
    void ShowHelp(const QString& id);
    void watchMouse(QWidget* control);
    QVariant helpIdAt(QWidget* control, const QPoint& globalPos) const;
    void setActionButtonsEnabled(bool enabled);
    void showNoBuilding();
    // The detail pane and the selection values for the selected row and its index entry.
    void showDetails(QTreeWidgetItem& row, const data::BuildingEntry& entry);
    // Selects a row of a list without running its reaction.
    void selectRow(QTreeWidget* view, int row);
    void selectRow(QListWidget* view, int row);

    MainWindowSetup setup_;
    app::UserDialogs& dialogs_;
    data::SelectionValues selection_;
    std::vector<data::BuildingEntry> rows_; // the entries of the list's rows, as last filled
    MessageWindow* messageWindow_ = nullptr;
    ProductionWindow* productionWindow_ = nullptr;
    BuildCostsWindow* buildCostsWindow_ = nullptr;
    EditorWindows* editors_ = nullptr;
    bool centred_ = false;
    QThread* scanThread_ = nullptr;
    // Set when the window goes: the scan then ends before its next mod folder.
    std::shared_ptr<std::atomic<bool>> stopScan_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<const mod::ForeignMods> foreignMods_; // null until the scan has ended
    bool staleMarksReady_ = false;
    QString pendingNotice_;     // told once the window is shown
    QString lastFolderProblem_; // an unreadable mods directory is told once, not on every refill
    QString lastOrphanNote_;    // orphaned mods are told when they change, not on every refill
    int rowAtPress_ = -1;       // selected row of the region or group list when a click began

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
    QLabel* staleLabel_;
    QLabel* conflictLabel_;
    QPushButton* basicFormBtn_;
    QPushButton* costBtn_;
    QPushButton* activateBtn_;
    QPushButton* deactivateBtn_;
    QPushButton* resetBtn_;
    QPushButton* closeBtn_;
    QPushButton* activateAllBtn_;
    QPushButton* deactivateAllBtn_;
    QPushButton* editsBtn_;
    QWidget* shape3_;
    QWidget* shape4_;
    QPushButton* createBuildingsBtn_;
    QPushButton* createProductsBtn_;
    QLabel* infoLabel_;
    QLabel* infoText_;
    QLabel* image1_;
    QLabel* version_;
};

} // namespace velmora::ui
