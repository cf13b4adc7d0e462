#pragma once
// The overview of every edit ("Änderungen"), opened from the main window.
//
// On creation and after an import the overview is loaded (mod::LoadEditsOverview) and shown: one
// row per edited building (name and GUID, the state of its mod) with a row below it for each
// changed field (field, game value, current value), then a row for each other building with an
// active mod and for each orphaned mod. The count line names the stale and the orphaned mods. A
// double-click on a row chooses its building and closes the window; the main window then shows that
// building.
//
// "Änderungen exportieren": the file chooser, then the edits file of the selected buildings (all
// of them when none is selected), written atomically. "Änderungen importieren": the file
// chooser, the file read (a refused file is named in a message and changes nothing), the preview
// window; when it is accepted the chosen fields are applied all or nothing, the main window is
// told (dataChanged), the overview reloaded with the stale active mods selected, and a summary
// shown whose last line names them (mod::StaleModsText). "Bericht speichern": the
// overview as a CSV report. "Mod entfernen": the mod of the one building chosen, an orphaned mod
// (state "verwaist") as such, an active one as "Deaktivieren" does; the main window is told
// (dataChanged) and the overview reloaded. "Schließen" closes the window.
#include "mod/EditsOverview.h"

#include <QDialog>

namespace velmora::app {
class UserDialogs;
}

class QLabel;
class QTreeWidget;

namespace velmora::ui {

struct EditsWindowSetup {
    QString dataDir;
    QString modsDir;
    QString version;             // written into the edits file
    QString gameExecutable = {}; // checked before a mod is removed ("": never)
};

class EditsWindow : public QDialog {
    Q_OBJECT
public:
    EditsWindow(const EditsWindowSetup& setup, app::UserDialogs& dialogs,
                QWidget* parent = nullptr);

    // The GUID of the building chosen by a double-click, "" when none was.
    const QString& chosenBuilding() const { return chosen_; }

    void reload();
    // Selects the rows of the buildings with these GUIDs (as after an import, the stale mods) and
    // scrolls the first of them into view.
    void showBuildings(const QStringList& guids);
    void ExportBtnClick();
    void ImportBtnClick();
    void ReportBtnClick();
    void RemoveModBtnClick();

signals:
    // An import changed the data files.
    void dataChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs an action; a data error is shown as a message and changes nothing.
    void report(const std::function<void()>& action, const QString& title);
    // Selects the buildings whose active mod is stale, the first one current and in view.
    void showStaleMods();
    QStringList selectedGuids() const;
    // The buildings of the overview that the selected rows belong to, each once.
    std::vector<const mod::OverviewBuilding*> selectedBuildings() const;

    EditsWindowSetup setup_;
    app::UserDialogs& dialogs_;
    mod::EditsOverview overview_;
    QString chosen_;
    QLabel* countLabel_;
    QTreeWidget* view_;
};

} // namespace velmora::ui
