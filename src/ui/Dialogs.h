#pragma once
// The start-up sequence's folder chooser and error messages, as Qt dialogs. Tests script them:
// setNextDirectory() answers the next folder chooser, setNextAnswer() the next message box;
// each scripted answer is used once and no window is shown for it.
#include "app/Startup.h"

#include <QMessageBox>
#include <QStringList>
#include <optional>

namespace velmora::ui {

class Dialogs final : public app::UserDialogs {
public:
    QString chooseFolder(const QString& instruction, const QString& preselect) override;
    void showError(const QString& title, const QString& text) override;

    static void setNextDirectory(const QString& directory); // "" = the user cancels
    static void setNextAnswer(QMessageBox::StandardButton answer);
    // What the scripted calls were asked, for tests: "title|text" or "chooser|instruction".
    static QStringList& shownTexts();

private:
    static std::optional<QString> nextDirectory_;
    static std::optional<QMessageBox::StandardButton> nextAnswer_;
};

// The system's texts use a carriage return as line break; Qt wants a line feed.
QString withLineFeeds(const QString& text);

} // namespace velmora::ui
