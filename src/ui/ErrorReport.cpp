#include "ui/ErrorReport.h"

#include "data/DataError.h"

#include "ui/Dialogs.h"

namespace velmora::ui {

void ReportErrors(QWidget*, const std::function<void()>& action) {
    // Shown through the scriptable dialogs, so that tests can answer the box.
    const QString title = QStringLiteral("Fehler");
    Dialogs dialogs;
    try {
        action();
    } catch (const data::DataError& e) {
        dialogs.showError(title, e.message());
    } catch (const std::exception& e) {
        dialogs.showError(title, QString::fromUtf8(e.what()));
    }
}

} // namespace velmora::ui
