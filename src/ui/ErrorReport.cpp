#include "ui/ErrorReport.h"

#include "data/DataError.h"

#include <QMessageBox>

namespace velmora::ui {

void ReportErrors(QWidget* parent, const std::function<void()>& action) {
    const QString title = QStringLiteral("Fehler");
    try {
        action();
    } catch (const data::DataError& e) {
        QMessageBox::critical(parent, title, e.message());
    } catch (const std::exception& e) {
        QMessageBox::critical(parent, title, QString::fromLocal8Bit(e.what()));
    }
}

} // namespace velmora::ui
