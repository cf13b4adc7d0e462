#pragma once
// The dialogs of the windows, scripted for tests: no window is shown. Each folder chooser takes
// the next of `directories` ("" when the list is empty: the user cancels); every question and
// message is recorded in `shown` as "chooser|instruction" or "title|text".
#include "app/Startup.h"

#include <QStringList>

namespace velmora::test {

class ScriptedDialogs final : public app::UserDialogs {
public:
    QStringList directories;
    QStringList shown;

    QString chooseFolder(const QString& instruction, const QString&) override {
        shown << QStringLiteral("chooser|") + instruction;
        return directories.isEmpty() ? QString() : directories.takeFirst();
    }
    void showError(const QString& title, const QString& text) override {
        shown << title + QLatin1Char('|') + text;
    }
    void showNotice(const QString& title, const QString& text) override {
        shown << title + QLatin1Char('|') + text;
    }
};

} // namespace velmora::test
