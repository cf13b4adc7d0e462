#pragma once
// The dialogs of the windows, scripted for tests: no window is shown. Each folder chooser takes
// the next of `directories`, each file chooser the next of `files` ("" when the list is empty:
// the user cancels); every question and message is recorded in `shown` as
// "chooser|instruction", "file|title" or "title|text".
#include "app/Startup.h"

#include <QStringList>

namespace velmora::test {

class ScriptedDialogs final : public app::UserDialogs {
public:
    QStringList directories;
    QStringList files;
    QStringList shown;

    QString chooseFolder(const QString& instruction, const QString&) override {
        shown << QStringLiteral("chooser|") + instruction;
        return directories.isEmpty() ? QString() : directories.takeFirst();
    }
    QString chooseFile(FileUse, const QString& title, const QString&, const QString&) override {
        shown << QStringLiteral("file|") + title;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    void showError(const QString& title, const QString& text) override {
        shown << title + QLatin1Char('|') + text;
    }
    void showNotice(const QString& title, const QString& text) override {
        shown << title + QLatin1Char('|') + text;
    }
};

} // namespace velmora::test
