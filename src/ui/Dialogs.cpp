#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace velmora::ui {

QString withLineFeeds(const QString& text) {
    QString t = text;
    return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString Dialogs::chooseFolder(const QString& instruction, const QString& preselect) {
    // The chooser has no room for an instruction of its own: it goes into the title, one line.
    const QString caption = withLineFeeds(instruction)
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                .join(QLatin1String(" \u2013 "));
    return QFileDialog::getExistingDirectory(nullptr, caption, preselect,
                                             QFileDialog::ShowDirsOnly);
}

void Dialogs::showError(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Critical, title, withLineFeeds(text), QMessageBox::Ok);
    box.exec();
}

} // namespace velmora::ui
