#pragma once
// The progress of "Alle aktivieren" and "Alle deaktivieren": the building being worked on, how
// many are done, and "Abbrechen", which stops the run after the building at hand. The run goes
// on in the caller; each report lets the window take the clicks that came in meanwhile. The
// window closes only when the run is over (finish), never through the system's close request.
#include <QDialog>

class QLabel;
class QProgressBar;

namespace velmora::ui {

class BulkProgressWindow : public QDialog {
    Q_OBJECT
public:
    // action: "geschrieben" or "entfernt", as the line reads.
    BulkProgressWindow(const QString& title, const QString& action, QWidget* parent = nullptr);

    // Shows the building about to be worked on; false once "Abbrechen" was pressed.
    bool report(int done, int total, const QString& name);
    void finish();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString action_;
    QLabel* label_;
    QProgressBar* bar_;
    bool stopped_ = false;
    bool finished_ = false;
};

} // namespace velmora::ui
