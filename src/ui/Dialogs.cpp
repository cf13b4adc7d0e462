#include "ui/Dialogs.h"

#include "app/DataUpgrade.h"
#include "ui/ImportPreviewWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace velmora::ui {

QString withLineFeeds(const QString& text) {
    QString t = text;
    return t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

FolderChooser::FolderChooser(const QString& instruction, const QString& preselect, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FolderChooser"));
    setWindowTitle(QStringLiteral("Ordner suchen"));
    setAccessibleName(QStringLiteral("Ordner suchen"));
    setModal(true);

    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("InstructionLabel"));
    label->setTextFormat(Qt::PlainText);
    label->setText(withLineFeeds(instruction));
    label->setAccessibleName(QStringLiteral("Anweisung"));

    // Folders and drives only; the model is read-only, so nothing can be renamed or dropped.
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(QString());

    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("FolderTree"));
    tree_->setAccessibleName(QStringLiteral("Ordnerliste"));
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    tree_->header()->hide();
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setContextMenuPolicy(Qt::NoContextMenu);
    label->setBuddy(tree_);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setAccessibleName(QStringLiteral("Ausgewählten Ordner übernehmen"));
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setAccessibleName(QStringLiteral("Abbrechen"));
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);
    resize(440, 480);

    const auto updateOk = [this] { ok_->setEnabled(tree_->currentIndex().isValid()); };
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, updateOk);
    if (!preselect.isEmpty() && QFileInfo(preselect).isDir()) {
        const QString folder = QDir::cleanPath(QFileInfo(preselect).absoluteFilePath());
        const QModelIndex index = model_->index(folder);
        tree_->setCurrentIndex(index);
        tree_->scrollTo(index); // opens the folders above it
        // The folders above it are listed and sorted a while later, which moves it: keep it in
        // view as long as it is selected and its ancestors change.
        const QPersistentModelIndex target(index);
        const auto follow = [this, folder, target](const QModelIndex& parent) {
            const QString dir = QDir::fromNativeSeparators(model_->filePath(parent));
            if (tree_->currentIndex() != target || !folder.startsWith(dir))
                return;
            QMetaObject::invokeMethod(
                this,
                [this, target] { tree_->scrollTo(target, QAbstractItemView::PositionAtCenter); },
                Qt::QueuedConnection);
        };
        connect(model_, &QAbstractItemModel::rowsInserted, this,
                [follow](const QModelIndex& parent) { follow(parent); });
        connect(model_, &QAbstractItemModel::layoutChanged, this,
                [follow](const QList<QPersistentModelIndex>& parents) {
                    for (const QPersistentModelIndex& parent : parents)
                        follow(parent);
                    if (parents.isEmpty())
                        follow(QModelIndex());
                });
    }
    updateOk();
}

QString FolderChooser::selectedFolder() const {
    const QModelIndex index = tree_->currentIndex();
    return index.isValid() ? QDir::fromNativeSeparators(model_->filePath(index)) : QString();
}

QString Dialogs::chooseFolder(const QString& instruction, const QString& preselect) {
    FolderChooser chooser(instruction, preselect);
    return chooser.exec() == QDialog::Accepted ? chooser.selectedFolder() : QString();
}

void Dialogs::showError(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Critical, title, withLineFeeds(text), QMessageBox::Ok);
    box.exec();
}

void Dialogs::showNotice(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, withLineFeeds(text), QMessageBox::Ok);
    box.exec();
}

// The system's own chooser, in the system's language.
QString Dialogs::chooseFile(FileUse use, const QString& title, const QString& filter,
                            const QString& suggested) {
    return use == FileUse::Save ? QFileDialog::getSaveFileName(nullptr, title, suggested, filter)
                                : QFileDialog::getOpenFileName(nullptr, title, suggested, filter);
}

std::optional<std::vector<data::ImportChoice>>
Dialogs::reviewUpgrade(const data::EditsFile& edits, const std::vector<data::ImportRow>& rows,
                       const data::ProductCatalogue& catalogue) {
    ImportPreviewWindow preview(QString(), edits, rows, catalogue);
    DescribeUpgradePreview(preview, edits);
    if (preview.exec() != QDialog::Accepted)
        return std::nullopt;
    return preview.choices();
}

void DescribeUpgradePreview(ImportPreviewWindow& preview, const data::EditsFile& edits) {
    preview.setWindowTitle(app::kDataUpgradeTitle);
    preview.setIntroduction(
        QStringLiteral("Die neue Programmversion bringt neue Spieldaten. Ihre Änderungen aus den "
                       "bisherigen Daten (Version %1) werden übernommen; bei den folgenden Feldern "
                       "entscheiden Sie, was gilt. \u201EAbbrechen\u201C behält die bisherigen "
                       "Daten bis zum nächsten Start.")
            .arg(edits.program.isEmpty() ? QStringLiteral("?") : edits.program));
}

} // namespace velmora::ui
