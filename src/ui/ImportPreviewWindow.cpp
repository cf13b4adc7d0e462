#include "ui/ImportPreviewWindow.h"

#include "ui/AppStyle.h"

#include <QComboBox>
#include <QFontMetrics>
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

enum Column {
    kBuilding,
    kField,
    kOutcome,
    kChoice,
    kFileGame,
    kHereGame,
    kEdited,
    kCurrent,
    kReason
};

} // namespace

ImportPreviewWindow::ImportPreviewWindow(const QString& fileName, const data::EditsFile& file,
                                         std::vector<data::ImportRow> rows,
                                         const data::ProductCatalogue& catalogue, QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)) {
    setObjectName(QStringLiteral("ImportPreviewWindow"));
    setWindowTitle(QStringLiteral("Änderungen importieren"));
    setModal(true);
    ApplyMainWindowLook(*this);
    resize(1280, 600);
    auto* layout = new QVBoxLayout(this);
    source_ = new QLabel(
        QStringLiteral("Datei \u201E%1\u201C, geschrieben von Version %2 am %3. Es wird erst "
                       "etwas geändert, wenn Sie \u201EÜbernehmen\u201C drücken; kein Mod wird "
                       "aktiviert.")
            .arg(fileName, file.program.isEmpty() ? QStringLiteral("?") : file.program,
                 file.created.isEmpty() ? QStringLiteral("?") : file.created),
        this);
    source_->setObjectName(QStringLiteral("SourceLabel"));
    source_->setWordWrap(true);
    // The dots of a capital umlaut reach above the font's ascent: room for them, or the first
    // line reads "Ubernehmen".
    const QFontMetrics metrics(source_->font());
    source_->setContentsMargins(
        0, std::max(0, -metrics.boundingRect(QStringLiteral("ÄÖÜ")).top() - metrics.ascent()), 0,
        0);
    source_->setAccessibleName(source_->text());
    layout->addWidget(source_);

    view_ = new QTreeWidget(this);
    view_->setObjectName(QStringLiteral("PreviewView"));
    view_->setAccessibleName(QStringLiteral("Vorschau des Imports"));
    view_->setRootIsDecorated(false);
    view_->setAlternatingRowColors(true);
    view_->setHeaderLabels({QStringLiteral("Gebäude"), QStringLiteral("Feld"),
                            QStringLiteral("Ergebnis"), QStringLiteral("Entscheidung"),
                            QStringLiteral("Spielwert beim Export"),
                            QStringLiteral("Spielwert jetzt"), QStringLiteral("bearbeitet"),
                            QStringLiteral("aktuell"), QStringLiteral("Grund")});
    const auto shown = [&](const data::ImportRow& row, const QString& value) {
        const data::EditField* field = data::FindEditField(row.key);
        return field && !value.isEmpty() ? data::ShownValue(*field, value, catalogue) : value;
    };
    for (const data::ImportRow& row : rows_) {
        auto* item = new QTreeWidgetItem(view_, {QStringLiteral("%1 (%2)").arg(row.name, row.guid),
                                                 row.label, data::StatusText(row.status), QString(),
                                                 shown(row, row.fileGame), shown(row, row.hereGame),
                                                 shown(row, row.edited), shown(row, row.current),
                                                 row.reason});
        item->setToolTip(kReason, row.reason);
        const std::vector<data::ImportChoice> offered = data::OfferedChoices(row);
        if (offered.size() < 2)
            continue;
        auto* choice = new QComboBox(view_);
        choice->setObjectName(QStringLiteral("ConflictChoice"));
        for (const data::ImportChoice c : offered)
            choice->addItem(data::ChoiceText(row, c), int(c));
        choice->setAccessibleName(
            QStringLiteral("Entscheidung für %1, %2").arg(row.name, row.label));
        view_->setItemWidget(item, kChoice, choice);
    }
    view_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->header()->setStretchLastSection(true);
    layout->addWidget(view_, 1);

    auto* counts = new QLabel(data::PreviewSummaryText(rows_), this);
    counts->setObjectName(QStringLiteral("SummaryLabel"));
    counts->setAccessibleName(counts->text());
    layout->addWidget(counts);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* abort = new QPushButton(QStringLiteral("Abbrechen"), this);
    abort->setObjectName(QStringLiteral("AbortBtn"));
    auto* accept = new QPushButton(QStringLiteral("Übernehmen"), this);
    accept->setObjectName(QStringLiteral("AcceptBtn"));
    for (QPushButton* b : {abort, accept}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(140);
        buttons->addWidget(b);
    }
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(buttons);
}

void ImportPreviewWindow::setIntroduction(const QString& text) {
    source_->setText(text);
    source_->setAccessibleName(text);
}

std::vector<data::ImportChoice> ImportPreviewWindow::choices() const {
    std::vector<data::ImportChoice> result;
    for (int i = 0; i < int(rows_.size()); ++i) {
        const data::ImportRow& row = rows_[std::size_t(i)];
        data::ImportChoice choice = data::DefaultChoice(row);
        if (auto* box =
                qobject_cast<QComboBox*>(view_->itemWidget(view_->topLevelItem(i), kChoice)))
            choice = data::ImportChoice(box->currentData().toInt());
        result.push_back(choice);
    }
    return result;
}

// Enter confirms nothing: only the buttons end the preview.
void ImportPreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace velmora::ui
