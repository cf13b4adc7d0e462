#pragma once
// The main window's mark of a stale mod: a building whose active mod is not what "Aktivieren"
// would write now (after an edit, an import or new game data; mod::StaleMods). The building list
// shows the picture "Stale128" in the column beside the export mark, with a German tooltip and
// the same words as the cell's text for a screen reader (the list draws only the picture); the
// detail pane says it below the region picture. "Aktivieren" is offered for a stale mod also when
// its building is no longer marked changed (after new game data).
//
// The marks are computed for the list's exported rows only: a list without an exported building
// reads no data file for them. They are first computed once the main window has been drawn, and
// from then on with every fill of the list (figures in bench/README.md).
#include "data/BuildingIndex.h"

#include <QSet>
#include <QString>
#include <vector>

class QLabel;
class QRect;
class QTreeWidgetItem;
class QWidget;

namespace velmora::ui {

// The GUIDs of the rows whose active mod is stale.
QSet<QString> StaleRows(const QString& dataDir, const QString& modsDir,
                        const std::vector<data::BuildingEntry>& rows);

// The row's mark in its column: the picture, the tooltip and the text, or nothing.
void ShowStaleMark(QTreeWidgetItem& row, int column, bool stale);
bool HasStaleMark(const QTreeWidgetItem& row, int column);

// The detail pane's line.
QLabel* CreateStaleLabel(QWidget* parent, const QRect& geometry);
void ShowStaleText(QLabel& label, bool stale);

} // namespace velmora::ui
