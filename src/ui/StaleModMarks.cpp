#include "ui/StaleModMarks.h"

#include "mod/ModStates.h"
#include "ui/ImageCollection.h"

#include <QLabel>
#include <QTreeWidgetItem>

namespace velmora::ui {

namespace {

constexpr QSize kMarkPicture(44, 44);

const QString kShort = QStringLiteral("Mod veraltet");
const QString kHint = QStringLiteral("Der aktive Mod dieses Gebäudes ist veraltet: Er enthält "
                                     "nicht die Werte, die \u201EAktivieren\u201C jetzt schreiben "
                                     "würde. \u201EAktivieren\u201C oder \u201EAlle "
                                     "aktivieren\u201C schreibt ihn neu.");

} // namespace

QSet<QString> StaleRows(const QString& dataDir, const QString& modsDir,
                        const std::vector<data::BuildingEntry>& rows) {
    return mod::StaleMods(dataDir, modsDir, rows);
}

void ShowStaleMark(QTreeWidgetItem& row, int column, bool stale) {
    row.setText(column, stale ? kShort : QString());
    row.setToolTip(column, stale ? kHint : QString());
    row.setData(column, Qt::AccessibleDescriptionRole, stale ? kHint : QString());
    row.setIcon(column,
                stale ? ImageCollection::instance().icon(QStringLiteral("Stale128"), kMarkPicture)
                      : QIcon());
}

bool HasStaleMark(const QTreeWidgetItem& row, int column) {
    return !row.text(column).isEmpty();
}

QLabel* CreateStaleLabel(QWidget* parent, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("StaleModLabel"));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("#StaleModLabel { color: #a85a12; font-weight: bold; }"));
    return label;
}

void ShowStaleText(QLabel& label, bool stale) {
    label.setText(stale ? QStringLiteral("Aktiver Mod veraltet") : QString());
    label.setToolTip(stale ? kHint : QString());
    label.setAccessibleName(stale ? kShort : QString());
    label.setAccessibleDescription(stale ? kHint : QString());
}

} // namespace velmora::ui
