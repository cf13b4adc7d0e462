#pragma once
// The start-up sequence's folder chooser and the error messages of every window, as Qt dialogs.
// The program entry creates one and hands it to every window; tests hand in a scripted one.
#include "app/Startup.h"

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace velmora::ui {

class Dialogs final : public app::UserDialogs {
public:
    QString chooseFolder(const QString& instruction, const QString& preselect) override;
    void showError(const QString& title, const QString& text) override;
    void showNotice(const QString& title, const QString& text) override;
    QString chooseFile(FileUse use, const QString& title, const QString& filter,
                       const QString& suggested) override;
    // The import preview, titled for the new program version.
    std::optional<std::vector<data::ImportChoice>>
    reviewUpgrade(const data::EditsFile& edits, const std::vector<data::ImportRow>& rows,
                  const data::ProductCatalogue& catalogue) override;
};

// The folder chooser "Ordner suchen": the instruction as given, line breaks kept, above a plain
// tree of the file system's folders, and the buttons "OK" and "Abbrechen". It has no field to
// type a path into and no way to create a folder. "OK" takes the folder selected in the tree.
class FolderChooser final : public QDialog {
public:
    // preselect, when it names an existing folder, is selected and scrolled into view.
    FolderChooser(const QString& instruction, const QString& preselect, QWidget* parent = nullptr);
    // The selected folder with "/" as separator; "" when none is selected.
    QString selectedFolder() const;

private:
    QFileSystemModel* model_;
    QTreeView* tree_;
    QPushButton* ok_;
};

class ImportPreviewWindow;
// Titles the import preview for the data of a new program version and says what it is for.
void DescribeUpgradePreview(ImportPreviewWindow& preview, const data::EditsFile& edits);

// The system's texts use a carriage return as line break; Qt wants a line feed.
QString withLineFeeds(const QString& text);

} // namespace velmora::ui
