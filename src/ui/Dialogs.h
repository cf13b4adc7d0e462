#pragma once
// The start-up sequence's folder chooser and the error messages of every window, as Qt dialogs.
// The program entry creates one and hands it to every window; tests hand in a scripted one.
#include "app/Startup.h"

#include <QString>

namespace velmora::ui {

class Dialogs final : public app::UserDialogs {
public:
    QString chooseFolder(const QString& instruction, const QString& preselect) override;
    void showError(const QString& title, const QString& text) override;
};

// The system's texts use a carriage return as line break; Qt wants a line feed.
QString withLineFeeds(const QString& text);

} // namespace velmora::ui
