#include "ui/ErrorReport.h"

#include "app/Startup.h"
#include "data/DataError.h"

namespace velmora::ui {

void ReportErrors(QWidget*, app::UserDialogs& dialogs, const std::function<void()>& action) {
    const QString title = QStringLiteral("Fehler");
    try {
        action();
    } catch (const data::DataError& e) {
        dialogs.showError(title, e.message());
    } catch (const std::exception& e) {
        dialogs.showError(title, QString::fromUtf8(e.what()));
    }
}

} // namespace velmora::ui
