#pragma once
// The preview of an import ("Änderungen importieren"): every field of the edits file with what
// the import would do, building by building. A conflict offers its choices in the row
// (data::OfferedChoices, the default first: the value here stays). "Übernehmen" closes the window
// accepted, "Abbrechen" rejected; the caller then applies the choices. Enter presses nothing.
#include "data/EditsImport.h"

#include <QDialog>
#include <vector>

class QLabel;
class QTreeWidget;

namespace velmora::ui {

class ImportPreviewWindow : public QDialog {
    Q_OBJECT
public:
    ImportPreviewWindow(const QString& fileName, const data::EditsFile& file,
                        std::vector<data::ImportRow> rows, const data::ProductCatalogue& catalogue,
                        QWidget* parent = nullptr);

    // Replaces the line above the rows, which names the file (the upgrade of the data directory
    // has no file to name).
    void setIntroduction(const QString& text);

    const std::vector<data::ImportRow>& rows() const { return rows_; }
    // The choice of every row, in the order of rows().
    std::vector<data::ImportChoice> choices() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<data::ImportRow> rows_;
    QLabel* source_;
    QTreeWidget* view_;
};

} // namespace velmora::ui
