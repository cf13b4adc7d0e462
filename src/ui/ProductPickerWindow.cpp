#include "ui/ProductPickerWindow.h"

#include "data/DataFiles.h"
#include "ui/ImageCollection.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

namespace velmora::ui {

namespace {
constexpr QSize kClient(640, 700);
constexpr QSize kListPicture(48, 48);
constexpr int kCategoryRowHeight = 30;
constexpr int kRegionRowHeight = 52;

enum ProductColumn { kGuidColumn, kNameColumn, kPosColumn, kIconColumn };

QListWidget* listBox(QWidget* parent, const QString& name, const QString& accessibleName,
                     const QRect& geometry) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(accessibleName);
    list->setGeometry(geometry);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

QString selectedText(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

void selectQuietly(QListWidget* list, int row) {
    const QSignalBlocker quiet(list);
    list->setCurrentRow(row);
}
} // namespace

ProductPickerWindow::ProductPickerWindow(app::UserDialogs& dialogs, QWidget* parent)
    : EditorWindow(dialogs, QStringLiteral("ProductForm"), QStringLiteral("Produktauswahl"),
                   kClient, parent) {
    QLabel* background = pictureLabel(QStringLiteral("Background"), rect());
    background->setPixmap(editorBackground(size()));
    background->lower();
    createHeader();
    textLabel(QStringLiteral("CategoryHeading"), QStringLiteral("Sortierung"), {16, 128, 220, 22});
    categoryList_ =
        listBox(this, QStringLiteral("CategoryListbox"), QStringLiteral("Kategorie der Produkte"),
                {16, 152, 220, 5 * kCategoryRowHeight + 4});
    textLabel(QStringLiteral("RegionHeading"), QStringLiteral("Region"), {16, 322, 220, 22});
    regionView_ = listBox(this, QStringLiteral("RegionView"), QStringLiteral("Region der Produkte"),
                          {16, 346, 220, 4 * kRegionRowHeight + 4});
    regionView_->setIconSize(kListPicture);
    for (int i = 0; i < data::kRegionNames.size(); ++i) {
        auto* item = new QListWidgetItem(
            ImageCollection::instance().icon(QString::number(i + 1), kListPicture),
            data::kRegionNames[i], regionView_);
        item->setSizeHint(QSize(0, kRegionRowHeight));
    }
    textLabel(QStringLiteral("ProductHeading"), QStringLiteral("Rohstoff/Produktauswahl"),
              {252, 128, 372, 22});
    productView_ = new QTreeWidget(this);
    productView_->setObjectName(QStringLiteral("ProductView"));
    productView_->setAccessibleName(QStringLiteral("Produktliste"));
    productView_->setGeometry(252, 152, 372, 484);
    productView_->setColumnCount(4);
    productView_->setHeaderLabels({QStringLiteral("GUID"), QStringLiteral("Name"),
                                   QStringLiteral("Pos"), QStringLiteral("Icon")});
    productView_->setHeaderHidden(true);
    productView_->setRootIsDecorated(false);
    productView_->setIndentation(0);
    productView_->setUniformRowHeights(true);
    productView_->setSelectionMode(QAbstractItemView::SingleSelection);
    productView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    productView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    productView_->setIconSize(kListPicture);
    productView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    productView_->header()->setMinimumSectionSize(0);
    productView_->setColumnWidth(kGuidColumn, 130);
    productView_->setColumnWidth(kNameColumn, 224);
    productView_->setColumnWidth(kPosColumn, 0);
    productView_->setColumnWidth(kIconColumn, 0);
    productView_->header()->setStretchLastSection(false);
    createCloseButtons({474, 652, 150, 32}, {16, 652, 150, 32});

    connect(categoryList_, &QListWidget::itemSelectionChanged, this,
            [this] { report([this] { CategoryListboxClick(); }); });
    connect(regionView_, &QListWidget::itemSelectionChanged, this,
            [this] { report([this] { RegionViewClick(); }); });
    // A click on the row already selected changes no selection, yet refills the list too.
    for (QListWidget* list : {categoryList_, regionView_}) {
        list->viewport()->installEventFilter(this);
        connect(list, &QListWidget::itemClicked, this, [this, list] {
            if (list->currentRow() == rowAtPress_)
                report([this] { FillProductList(); });
        });
    }
    connect(productView_, &QTreeWidget::itemDoubleClicked, this,
            [this] { report([this] { AcceptBtnClick(); }); });
}

void ProductPickerWindow::FormShow() {
    fillHeader();
    {
        const QSignalBlocker quiet(categoryList_);
        categoryList_->clear();
        for (const QString& category : data::PickerCategories(request_.caller)) {
            auto* item = new QListWidgetItem(category, categoryList_);
            item->setSizeHint(QSize(0, kCategoryRowHeight));
        }
    }
    selectQuietly(categoryList_, 0);
    selectQuietly(regionView_, 0);
    FillProductList();
    if (QTreeWidgetItem* first = productView_->topLevelItem(0)) {
        const QSignalBlocker quiet(productView_);
        productView_->setCurrentItem(first);
    }
    productView_->scrollToTop();
    productView_->setFocus();
}

void ProductPickerWindow::FillProductList() {
    const data::ProductCatalogue catalogue = data::ProductCatalogue::load(context().dataDir);
    const std::vector<data::Product> rows = data::PickerRows(
        catalogue, request_, selectedText(categoryList_), selectedText(regionView_));
    const ImageCollection& pictures = ImageCollection::instance();
    QList<QTreeWidgetItem*> items;
    for (const data::Product& p : rows) {
        auto* item = new QTreeWidgetItem({p.guid, p.name, p.pos, p.icon});
        // The icon names the picture without any file extension.
        const QString picture = p.icon.section(QLatin1Char('.'), 0, 0);
        item->setIcon(kGuidColumn, pictures.icon(picture, kListPicture));
        items << item;
    }
    const QSignalBlocker quiet(productView_);
    productView_->clear();
    productView_->addTopLevelItems(items);
}

bool ProductPickerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == categoryList_->viewport())
            rowAtPress_ = categoryList_->currentRow();
        else if (watched == regionView_->viewport())
            rowAtPress_ = regionView_->currentRow();
    }
    return EditorWindow::eventFilter(watched, event);
}

void ProductPickerWindow::CategoryListboxClick() {
    FillProductList();
}

void ProductPickerWindow::RegionViewClick() {
    FillProductList();
}

void ProductPickerWindow::AcceptBtnClick() {
    const QList<QTreeWidgetItem*> selected = productView_->selectedItems();
    if (selected.isEmpty())
        return; // nothing chosen yet: the picker stays open
    const QTreeWidgetItem* row = selected.first();
    const data::Product chosen{row->text(kGuidColumn),
                               row->text(kNameColumn),
                               row->text(kIconColumn),
                               QString(),
                               QString(),
                               row->text(kPosColumn)};
    if (QWidget* target = opener())
        ApplySlotAssignments(*target, data::PickerHandBack(request_, chosen));
    closeThroughButton(QDialog::Accepted);
}

} // namespace velmora::ui
