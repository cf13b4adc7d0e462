#include "ui/EditsWindow.h"

#include "app/Startup.h"
#include "data/DataError.h"
#include "data/EditsFile.h"
#include "data/EditsImport.h"
#include "data/FileAccess.h"
#include "mod/ModFolder.h"
#include "mod/StaleMods.h"
#include "ui/AppStyle.h"
#include "ui/ImportPreviewWindow.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace velmora::ui {

namespace {

const QString kTitle = QStringLiteral("Änderungen");
const QString kExportTitle = QStringLiteral("Änderungen exportieren");
const QString kImportTitle = QStringLiteral("Änderungen importieren");
const QString kReportTitle = QStringLiteral("Bericht speichern");
const QString kRemoveTitle = QStringLiteral("Mod entfernen");
const QString kEditsFilter = QStringLiteral("Änderungen (*.json)");
constexpr int kGuidRole = Qt::UserRole;
constexpr int kBuildingRole = Qt::UserRole + 1; // the position in the overview

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setMinimumWidth(170);
    return b;
}

QString withSuffix(const QString& path, const QString& suffix) {
    return path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix;
}

} // namespace

EditsWindow::EditsWindow(const EditsWindowSetup& setup, app::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), setup_(setup), dialogs_(dialogs) {
    setObjectName(QStringLiteral("EditsWindow"));
    setWindowTitle(kTitle);
    setModal(true);
    ApplyMainWindowLook(*this);
    resize(900, 620);
    auto* layout = new QVBoxLayout(this);
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("CountLabel"));
    layout->addWidget(countLabel_);

    view_ = new QTreeWidget(this);
    view_->setObjectName(QStringLiteral("EditsView"));
    view_->setAccessibleName(QStringLiteral("Geänderte Gebäude und Felder"));
    view_->setHeaderLabels({QStringLiteral("Gebäude / Feld"), QStringLiteral("Spielwert"),
                            QStringLiteral("aktueller Wert"), QStringLiteral("Mod")});
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setAlternatingRowColors(true);
    view_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(view_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        chosen_ = item->data(0, kGuidRole).toString();
        if (!chosen_.isEmpty()) // an orphaned mod has no building to show
            accept();
    });
    layout->addWidget(view_, 1);

    auto* hint = new QLabel(QStringLiteral("Doppelklick: das Gebäude im Hauptfenster zeigen. "
                                           "Exportiert werden die gewählten Gebäude, ohne "
                                           "Auswahl alle."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* buttons = new QHBoxLayout;
    QPushButton* exportBtn = button(this, "ExportBtn", kExportTitle);
    QPushButton* importBtn = button(this, "ImportBtn", kImportTitle);
    QPushButton* reportBtn = button(this, "ReportBtn", kReportTitle);
    QPushButton* removeBtn = button(this, "RemoveModBtn", kRemoveTitle);
    QPushButton* closeBtn = button(this, "CloseBtn", QStringLiteral("Schließen"));
    for (QPushButton* b : {exportBtn, importBtn, reportBtn, removeBtn})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(closeBtn);
    layout->addLayout(buttons);
    connect(exportBtn, &QPushButton::clicked, this, [this] { ExportBtnClick(); });
    connect(importBtn, &QPushButton::clicked, this, [this] { ImportBtnClick(); });
    connect(reportBtn, &QPushButton::clicked, this, [this] { ReportBtnClick(); });
    connect(removeBtn, &QPushButton::clicked, this, [this] { RemoveModBtnClick(); });
    connect(closeBtn, &QPushButton::clicked, this, &QDialog::reject);
    reload();
}

void EditsWindow::report(const std::function<void()>& action, const QString& title) {
    try {
        action();
    } catch (const data::DataError& e) {
        dialogs_.showError(title, e.message());
    }
}

void EditsWindow::reload() {
    report(
        [this] {
            data::EditorFiles files(setup_.dataDir);
            overview_ = mod::LoadEditsOverview(files, setup_.modsDir);
            view_->clear();
            for (std::size_t k = 0; k < overview_.buildings.size(); ++k) {
                const mod::OverviewBuilding& b = overview_.buildings[k];
                const QString building = QStringLiteral("%1 (%2)").arg(b.edit.name, b.edit.guid);
                const QString guid = b.mod == mod::ModState::Orphaned ? QString() : b.edit.guid;
                auto* top = new QTreeWidgetItem(
                    view_, {building, QString(), QString(), mod::ModStateText(b.mod)});
                top->setData(0, kGuidRole, guid);
                top->setData(0, kBuildingRole, int(k));
                for (const data::FieldEdit& f : b.edit.fields) {
                    const data::EditField* field = data::FindEditField(f.key);
                    auto* child = new QTreeWidgetItem(
                        top, {field->label, data::ShownValue(*field, f.game, files.catalogue()),
                              data::ShownValue(*field, f.current, files.catalogue()), QString()});
                    child->setData(0, kGuidRole, guid);
                    child->setData(0, kBuildingRole, int(k));
                }
            }
            view_->expandAll();
        },
        kTitle);
    const int edited = overview_.editedCount();
    QStringList parts;
    if (edited > 0)
        parts << QStringLiteral("%1 geänderte Gebäude, %2 geänderte Felder")
                     .arg(edited)
                     .arg(overview_.fieldCount());
    if (const int stale = overview_.countOf(mod::ModState::OutOfDate); stale > 0)
        parts << QStringLiteral("Veraltete Mods (\u201EAlle aktivieren\u201C schreibt sie neu): %1")
                     .arg(stale);
    if (const int orphaned = overview_.countOf(mod::ModState::Orphaned); orphaned > 0)
        parts
            << QStringLiteral("Verwaiste Mods (ihr Gebäude fehlt in den Daten): %1").arg(orphaned);
    const QString count = parts.join(QStringLiteral(". "));
    countLabel_->setText(edited > 0 ? count
                                    : QStringLiteral("Es gibt noch keine geänderten Gebäude.") +
                                          (count.isEmpty() ? QString() : u' ' + count));
    countLabel_->setAccessibleName(countLabel_->text());
}

void EditsWindow::showStaleMods() {
    QStringList guids;
    for (const mod::OverviewBuilding* b : mod::StaleOverviewBuildings(overview_))
        guids << b->edit.guid;
    showBuildings(guids);
}

void EditsWindow::showBuildings(const QStringList& guids) {
    view_->clearSelection();
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < view_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = view_->topLevelItem(i);
        if (!guids.contains(row->data(0, kGuidRole).toString()))
            continue;
        row->setSelected(true);
        if (!first)
            first = row;
    }
    if (first) {
        view_->setCurrentItem(first, 0, QItemSelectionModel::NoUpdate);
        view_->scrollToItem(first);
    }
}

QStringList EditsWindow::selectedGuids() const {
    QStringList guids;
    for (const QTreeWidgetItem* item : view_->selectedItems()) {
        const QString guid = item->data(0, kGuidRole).toString();
        if (!guids.contains(guid))
            guids << guid;
    }
    return guids;
}

std::vector<const mod::OverviewBuilding*> EditsWindow::selectedBuildings() const {
    std::vector<const mod::OverviewBuilding*> buildings;
    for (const QTreeWidgetItem* item : view_->selectedItems()) {
        const auto* b = &overview_.buildings.at(item->data(0, kBuildingRole).toUInt());
        if (std::find(buildings.begin(), buildings.end(), b) == buildings.end())
            buildings.push_back(b);
    }
    return buildings;
}

void EditsWindow::ExportBtnClick() {
    const QStringList selected = selectedGuids();
    std::vector<data::BuildingEdit> edits;
    for (const mod::OverviewBuilding& b : overview_.buildings)
        if (b.edited && (selected.isEmpty() || selected.contains(b.edit.guid)))
            edits.push_back(b.edit);
    if (edits.empty()) {
        dialogs_.showNotice(kExportTitle,
                            QStringLiteral("Es gibt keine Änderungen zu exportieren."));
        return;
    }
    QString path = dialogs_.chooseFile(app::UserDialogs::FileUse::Save, kExportTitle, kEditsFilter,
                                       QStringLiteral("Velmora-Cindral-Änderungen.json"));
    if (path.isEmpty())
        return;
    path = withSuffix(path, QStringLiteral(".json"));
    report(
        [&] {
            const data::EditsFile file = data::EditsFileOf(
                edits, setup_.version, QDateTime::currentDateTime().toString(Qt::ISODate));
            data::EditorFiles files(setup_.dataDir);
            data::writeFileAtomically(path, data::WriteEditsFile(file, files.catalogue()));
            dialogs_.showNotice(kExportTitle,
                                QStringLiteral("%1 Gebäude wurden nach %2 exportiert.")
                                    .arg(edits.size())
                                    .arg(data::quotedPath(QDir::toNativeSeparators(path))));
        },
        kExportTitle);
}

void EditsWindow::ImportBtnClick() {
    const QString path =
        dialogs_.chooseFile(app::UserDialogs::FileUse::Open, kImportTitle, kEditsFilter, QString());
    if (path.isEmpty())
        return;
    report(
        [&] {
            const data::EditsFile file = data::ReadEditsFile(
                data::readRegularFile(path, data::kEditsFileSizeLimit), QFileInfo(path).fileName());
            data::EditorFiles files(setup_.dataDir);
            ImportPreviewWindow preview(QFileInfo(path).fileName(), file,
                                        data::PreviewImport(files, file), files.catalogue(), this);
            if (preview.exec() != QDialog::Accepted)
                return;
            const data::ImportOutcome outcome =
                data::ApplyImport(setup_.dataDir, preview.rows(), preview.choices());
            if (outcome.fields > 0)
                emit dataChanged();
            reload();
            showStaleMods();
            dialogs_.showNotice(kImportTitle, data::OutcomeText(preview.rows(), outcome) + u'\r' +
                                                  mod::StaleModsText(overview_));
        },
        kImportTitle);
}

void EditsWindow::ReportBtnClick() {
    QString path = dialogs_.chooseFile(app::UserDialogs::FileUse::Save, kReportTitle,
                                       QStringLiteral("Bericht (*.csv)"),
                                       QStringLiteral("Velmora-Cindral-Änderungen.csv"));
    if (path.isEmpty())
        return;
    path = withSuffix(path, QStringLiteral(".csv"));
    report(
        [&] {
            data::EditorFiles files(setup_.dataDir);
            data::writeFileAtomically(path, mod::EditsReportCsv(overview_, files.catalogue()));
        },
        kReportTitle);
}

void EditsWindow::RemoveModBtnClick() {
    const std::vector<const mod::OverviewBuilding*> chosen = selectedBuildings();
    if (chosen.size() != 1) {
        dialogs_.showNotice(kRemoveTitle, QStringLiteral("Bitte wählen Sie genau ein Gebäude, "
                                                         "dessen Mod entfernt werden soll."));
        return;
    }
    const mod::OverviewBuilding building = *chosen.front(); // the overview is reloaded below
    QStringList notes;
    bool removed = false;
    report(
        [&] {
            notes =
                mod::RemoveModOf(building, setup_.dataDir, setup_.modsDir, setup_.gameExecutable);
            removed = true;
        },
        kRemoveTitle);
    if (!removed)
        return;
    emit dataChanged();
    reload();
    QStringList lines{QStringLiteral("Der Mod \u201E%1\u201C wurde entfernt.")
                          .arg(mod::ModTitle(building.edit.guid, building.edit.name))};
    lines << notes;
    dialogs_.showNotice(kRemoveTitle, lines.join(QStringLiteral("\r")));
}

// Enter presses no button; Escape closes the window as "Schließen" does.
void EditsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace velmora::ui
