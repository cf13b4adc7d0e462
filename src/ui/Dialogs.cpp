#include "ui/Dialogs.h"

#include <QFileDialog>
#include <utility>

namespace velmora::ui {

std::optional<QString> Dialogs::nextDirectory_;
std::optional<QMessageBox::StandardButton> Dialogs::nextAnswer_;

QString withLineFeeds(const QString& text) {
    QString t = text;
    return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

void Dialogs::setNextDirectory(const QString& directory) {
    nextDirectory_ = directory;
}
void Dialogs::setNextAnswer(QMessageBox::StandardButton answer) {
    nextAnswer_ = answer;
}

QStringList& Dialogs::shownTexts() {
    static QStringList texts;
    return texts;
}

QString Dialogs::chooseFolder(const QString& instruction, const QString& preselect) {
    if (nextDirectory_) {
        shownTexts() << QStringLiteral("chooser|") + instruction;
        return std::exchange(nextDirectory_, std::nullopt).value();
    }
    // The chooser has no room for an instruction of its own: it goes into the title, one line.
    const QString caption = withLineFeeds(instruction)
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                .join(QLatin1String(" \u2013 "));
    return QFileDialog::getExistingDirectory(nullptr, caption, preselect,
                                             QFileDialog::ShowDirsOnly);
}

void Dialogs::showError(const QString& title, const QString& text) {
    if (nextAnswer_) {
        shownTexts() << title + QLatin1Char('|') + text;
        nextAnswer_.reset();
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, withLineFeeds(text), QMessageBox::Ok);
    box.exec();
}

} // namespace velmora::ui
