#pragma once
// Scripted dialogs and a stand-in game for the start-up tests.
#include "app/Startup.h"

#include <QByteArray>
#include <QMap>
#include <QStringList>
#include <optional>
#include <vector>

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

    // The upgrade's preview: each shown preview is recorded as its rows' texts; conflicts take
    // conflictChoice, and cancelUpgrade cancels.
    std::optional<std::vector<data::ImportChoice>>
    reviewUpgrade(const data::EditsFile&, const std::vector<data::ImportRow>& rows,
                  const data::ProductCatalogue& catalogue) override {
        QStringList texts;
        for (const data::ImportRow& row : rows)
            texts << data::RowText(row, catalogue);
        previews.push_back(texts);
        if (cancelUpgrade)
            return std::nullopt;
        std::vector<data::ImportChoice> choices;
        for (const data::ImportRow& row : rows)
            choices.push_back(data::DefaultChoice(row, conflictChoice));
        return choices;
    }

    std::optional<QString> chosenFolder;
    QStringList chooserInstructions, chooserPreselects, errors;
    std::vector<QStringList> previews;
    bool cancelUpgrade = false;
    data::ImportChoice conflictChoice = data::ImportChoice::Skip;
};

// A game installation below dir: the stand-in game's executable, and the mods folder when asked
// for.
void makeGame(const QString& dir, bool withMods);

// The text of a registry file (UTF-16LE with byte-order mark).
QString registryText(const QString& path);

// The shipped data files of the source tree, copied into dataDir.
void copyShippedData(const QString& dataDir);

} // namespace velmora::test
