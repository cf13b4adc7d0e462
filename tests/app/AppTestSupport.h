#pragma once
// Scripted dialogs and a stand-in game for the start-up tests.
#include "app/Startup.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <optional>

namespace velmora::test {

// Records every message; answers the folder chooser with a scripted folder ("" = cancel).
class FakeDialogs final : public app::UserDialogs {
public:
    QString chooseFolder(const QString& instruction, const QString& preselect) override {
        chooserInstructions << instruction;
        chooserPreselects << preselect;
        return chosenFolder.value_or(QString());
    }
    void showError(const QString& title, const QString& text) override {
        errors << title + QLatin1Char('|') + text;
    }
    void showNotice(const QString& title, const QString& text) override {
        errors << title + QLatin1Char('|') + text;
    }

    std::optional<QString> chosenFolder;
    QStringList chooserInstructions, chooserPreselects, errors;
};

// A game installation below dir: the game executable, and the mods folder when asked for.
void makeGame(const QString& dir, bool withMods);

// The text of a registry file (UTF-16LE with byte-order mark).
QString registryText(const QString& path);

// The shipped data files of the source tree, copied into dataDir.
void copyShippedData(const QString& dataDir);

} // namespace velmora::test
