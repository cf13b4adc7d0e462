#include "ui/MainWindow.h"

#include "app/Settings.h"
#include "app/Startup.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "mod/BuildingReset.h"
#include "mod/BulkActivation.h"
#include "mod/ExportFlags.h"
#include "mod/ForeignMods.h"
#include "mod/ModWriter.h"
#include "mod/OrphanedMods.h"
#include "tools/CreateBuildingsUnit.h"
#include "tools/CreateProductsUnit.h"
#include "ui/AppStyle.h"
#include "ui/BuildCostsWindow.h"
#include "ui/BulkProgressWindow.h"
#include "ui/EditorWindows.h"
#include "ui/EditsWindow.h"
#include "ui/ErrorReport.h"
#include "ui/ImageCollection.h"
#include "ui/MessageWindow.h"
#include "ui/ModPictures.h"
#include "ui/ProductionWindow.h"
#include "ui/StaleModMarks.h"

#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

namespace velmora::ui {

namespace {

constexpr int kClientWidth = 888;
// Milliseconds after the show when the other mods are read even without a first paint.
constexpr int kScanFallbackDelay = 1000;
// How long a closing window waits for the scan to stop (ms): longer than reading one mod takes.
constexpr int kScanStopWait = 500;
constexpr int kClientHeight = 863;
constexpr QSize kListPicture(48, 48);
constexpr int kListRowHeight = 52;
constexpr QSize kRowPicture(44, 44);
constexpr QSize kDetailPicture(128, 128);
constexpr int kRowHeight = 50;
// With more rows than this the building list needs its scroll bar, and the placeholder column
// gives way to it.
constexpr int kRowsWithoutScrollBar = 16;

enum BuildingColumn {
    kImageColumn,
    kNameColumn,
    kChangedColumn,
    kExportedColumn,
    kStaleColumn,    // the building's active mod is out of date (StaleModMarks.h)
    kConflictColumn, // another mod of the mods directory changes the building too
    kPlaceholderColumn
};

const char* const kHelpIdProperty = "helpId";
// The conflict column keeps the building's buff GUID, which other mods may change too.
constexpr int kBuffGuidRole = Qt::UserRole + 1;

// Pictures of the group list, by position: the two pseudo-groups, then the real groups.
const QStringList kGroupPictures = {QStringLiteral("Group0"), QStringLiteral("Group1"),
                                    QStringLiteral("Group2"), QStringLiteral("Group3"),
                                    QStringLiteral("Group4"), QStringLiteral("Group5")};
const QStringList kRegionNames = {QStringLiteral("Alte Welt"), QStringLiteral("Neue Welt"),
                                  QStringLiteral("Arktis"), QStringLiteral("Land der Löwen")};

// The building list shows only pictures in its image and flag columns: the GUID and the flag
// texts stay in the cells, where the program reads them, but are not drawn.
class BuildingRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != kNameColumn) {
            option->text.clear();
            option->features &= ~QStyleOptionViewItem::HasDisplay;
            option->decorationAlignment = Qt::AlignCenter;
            option->displayAlignment = Qt::AlignCenter;
        }
    }
};

QString flagPicture(const QString& value, const QString& setPicture) {
    if (value == QStringLiteral("true"))
        return setPicture;
    if (value == QStringLiteral("false"))
        return QStringLiteral("Empty");
    return {};
}

int selectedRow(const QListWidget* view) {
    const QList<QListWidgetItem*> items = view->selectedItems();
    return items.isEmpty() ? -1 : view->row(items.first());
}

QTreeWidgetItem* selectedItem(const QTreeWidget* view) {
    const QList<QTreeWidgetItem*> items = view->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

QLabel* pictureLabel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* textLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    QLabel* label = pictureLabel(parent, name, geometry);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    return b;
}

QListWidget* pictureList(QWidget* parent, const char* name, const QRect& geometry) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(geometry);
    list->setIconSize(kListPicture);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    return list;
}

void addListEntry(QListWidget* list, const QString& caption, const QString& picture) {
    auto* item =
        new QListWidgetItem(ImageCollection::instance().icon(picture, kListPicture), caption, list);
    item->setSizeHint(QSize(0, kListRowHeight));
}

QFont boldFont(QFont font) {
    font.setBold(true);
    return font;
}

// Height of a list showing rows entries without scrolling.
int listHeight(int rows) {
    return rows * kListRowHeight + 2;
}

// The window's background: the Background picture over the client area, on a soft gradient where
// the picture does not reach. It is decoded when the window is first drawn, not when it is built.
class BackgroundLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QPixmap picture = ImageCollection::instance().picture(QStringLiteral("Background"));
        if (picture.size() != size()) {
            QLinearGradient base(0, 0, 0, height());
            base.setColorAt(0, QColor(0xe9, 0xed, 0xf1));
            base.setColorAt(1, QColor(0xc9, 0xd1, 0xd9));
            painter.fillRect(rect(), base);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
        }
        if (!picture.isNull())
            painter.drawPixmap(rect(), picture);
    }
};

} // namespace

bool ScrollToSelection(QTreeWidget* view) {
    const int rows = view->topLevelItemCount();
    const QTreeWidgetItem* selected = selectedItem(view);
    if (rows < 2 || !selected)
        return true;
    const int rowHeight = view->visualItemRect(view->topLevelItem(1)).top() -
                          view->visualItemRect(view->topLevelItem(0)).top();
    if (rowHeight <= 0)
        return true;
    const int visibleRows = view->viewport()->height() / rowHeight;
    if (rows <= visibleRows)
        return true;
    const int half = (visibleRows + 1) / 2;
    const int topRow = view->indexAt(QPoint(1, 1)).row();
    const int selectedPosition = view->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(selected));
    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(bar->value() + rowHeight * (selectedPosition - topRow - half) + 60);
    return true;
}

MainWindow::MainWindow(const MainWindowSetup& setup, app::UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      setup_(setup), dialogs_(dialogs) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Velmora Cindral"));
    setFixedSize(kClientWidth, kClientHeight);
    ApplyMainWindowLook(*this);
    createControls();
    version_->setText(setup_.version);
    background_->setGeometry(rect());
    background_->lower();
    FillGroupView();
    selectRow(regionView_, 0);
    selectRow(groupView_, 2);
    GroupViewClick();
}

std::unique_ptr<MainWindow> MainWindow::create(app::Platform& platform, app::UserDialogs& dialogs,
                                               const QString& programDir) {
    const app::StartupResult started = app::RunStartup(platform, dialogs, programDir);
    const app::Directories& dirs = started.dirs;
    return std::make_unique<MainWindow>(
        MainWindowSetup{dirs.data, dirs.mods, app::GetVersionString(platform), dirs.program,
                        started.groupNames, app::GetWindowsUserName(platform), dirs.game},
        dialogs);
}

void MainWindow::createControls() {
    background_ = new BackgroundLabel(this);
    background_->setObjectName(QStringLiteral("Background"));
    background_->setGeometry(rect());
    createFilterColumn();
    createInfoPanel();
    createBuildingList();
    createDetailPane();
    assignHelpIds();
    connectReactions();
}

// Left column, top: the region and group lists with their labels.
void MainWindow::createFilterColumn() {
    textLabel(this, "RegionLabel", QStringLiteral("Region"), {16, 10, 232, 24});
    regionView_ = pictureList(this, "RegionView", {16, 36, 232, listHeight(4)});
    for (int i = 0; i < kRegionNames.size(); ++i)
        addListEntry(regionView_, kRegionNames[i], QString::number(i + 1));
    textLabel(this, "GroupLabel", QStringLiteral("Gebäudegruppe"), {16, 254, 232, 24});
    groupView_ = pictureList(this, "GroupView", {16, 280, 232, listHeight(6)});
}

// Left column, bottom: the info panel in its frame, the picture Image1 and the version.
void MainWindow::createInfoPanel() {
    auto* shape1 = new QFrame(this);
    shape1->setObjectName(QStringLiteral("Shape1"));
    shape1->setGeometry(16, 608, 232, 188);
    shape1->setStyleSheet(
        QStringLiteral("#Shape1 { background: rgba(250, 250, 248, 215); border: 1px solid #7d8a98;"
                       " border-radius: 3px; }"));
    // The heading may take two lines; the text follows right below it.
    auto* infoArea = new QWidget(this);
    infoArea->setGeometry(shape1->geometry());
    auto* infoLayout = new QVBoxLayout(infoArea);
    infoLayout->setContentsMargins(10, 8, 10, 8);
    infoLayout->setSpacing(6);
    infoLabel_ = textLabel(infoArea, "InfoLabel", QString(), {});
    infoLabel_->setFont(boldFont(font()));
    infoLabel_->setWordWrap(true);
    infoText_ = textLabel(infoArea, "InfoText", QString(), {});
    infoText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    infoText_->setWordWrap(true);
    infoLayout->addWidget(infoLabel_);
    infoLayout->addWidget(infoText_, 1);
    image1_ = pictureLabel(this, "Image1", {16, 803, 48, 48});
    image1_->setPixmap(ImageCollection::instance().picture(QStringLiteral("gear"), {48, 48}));
    version_ = textLabel(this, "Version", QString(), {72, 815, 62, 24});
    // Every edit at a glance, exported and imported.
    editsBtn_ = button(this, "EditsBtn", QStringLiteral("Änderungen"), {138, 811, 110, 36});
}

// Middle column: the count label, the building list and the panel behind it.
void MainWindow::createBuildingList() {
    countLabel_ =
        textLabel(this, "BuildingsViewCountedLabel", QStringLiteral("Gebäude"), {264, 10, 424, 24});
    const QRect listArea(264, 36, 424, 811);
    noBuildingPanel_ = new QFrame(this);
    noBuildingPanel_->setObjectName(QStringLiteral("NoBuildingAvailablePanel"));
    noBuildingPanel_->setGeometry(listArea);
    noBuildingPanel_->setStyleSheet(
        QStringLiteral("#NoBuildingAvailablePanel { background: rgba(250, 250, 248, 200);"
                       " border: 1px solid #7d8a98; border-radius: 3px; }"));
    QLabel* empty = textLabel(noBuildingPanel_, "NoBuildingsAvailableLabel",
                              QStringLiteral("Für diese Auswahl existieren keine Einträge"),
                              QRect(QPoint(0, 0), listArea.size()));
    empty->setAlignment(Qt::AlignCenter);
    empty->setWordWrap(true);
    empty->setFont(font()); // the panel's own style sheet stops the window's font from reaching it
    buildingsView_ = new QTreeWidget(this);
    buildingsView_->setObjectName(QStringLiteral("BuildingsView"));
    buildingsView_->setGeometry(listArea);
    buildingsView_->setColumnCount(7);
    buildingsView_->setHeaderLabels({QStringLiteral("Image"), QStringLiteral("Building"),
                                     QStringLiteral("IsChanged"), QStringLiteral("IsExported"),
                                     QStringLiteral("Stale"), QStringLiteral("Conflict"),
                                     QStringLiteral("Placeholder")});
    buildingsView_->setHeaderHidden(true);
    buildingsView_->setRootIsDecorated(false);
    buildingsView_->setIndentation(0);
    buildingsView_->setUniformRowHeights(true);
    buildingsView_->setSelectionMode(QAbstractItemView::SingleSelection);
    buildingsView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    buildingsView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    buildingsView_->setIconSize(kRowPicture);
    buildingsView_->setTextElideMode(Qt::ElideNone);
    buildingsView_->setWordWrap(true); // a long name takes two lines beside the four marks
    buildingsView_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    buildingsView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    buildingsView_->setItemDelegate(new BuildingRowDelegate(buildingsView_));
    buildingsView_->setColumnWidth(kImageColumn, 52);
    buildingsView_->setColumnWidth(kNameColumn, 178);
    for (const int mark : {kChangedColumn, kExportedColumn, kStaleColumn, kConflictColumn})
        buildingsView_->setColumnWidth(mark, 44);
}

// Right column: the detail pane of the selected building and the actions on it; outside the
// client area the developer's buttons and the picture the mod description writer saves.
void MainWindow::createDetailPane() {
    iconImage_ = pictureLabel(this, "BuildingIconImage", {724, 36, 128, 128});
    nameLabel_ = pictureLabel(this, "BuildingNameLabel", {700, 170, 176, 46});
    nameLabel_->setWordWrap(true);
    nameLabel_->setFont(boldFont(font()));
    guidLabel_ = pictureLabel(this, "BuildingGUIDLabel", {700, 216, 176, 22});
    regionImage_ = pictureLabel(this, "BuildingRegionImage", {724, 246, 128, 128});
    staleLabel_ = CreateStaleLabel(this, {700, 376, 176, 20});

    basicFormBtn_ = button(this, "BasicFormBtn", QStringLiteral("Produktion"), {704, 398, 168, 36});
    costBtn_ = button(this, "CostBtn", QStringLiteral("Baukosten"), {704, 444, 168, 36});
    // The hover areas lie under the mod buttons: a disabled button passes the mouse movement on
    // to the area, so its help still shows.
    shape3_ = new QWidget(this);
    shape3_->setObjectName(QStringLiteral("Shape3"));
    shape3_->setGeometry(704, 506, 168, 36);
    activateBtn_ = button(shape3_, "ActivateBtn", QStringLiteral("Aktivieren"), {0, 0, 168, 36});
    shape4_ = new QWidget(this);
    shape4_->setObjectName(QStringLiteral("Shape4"));
    shape4_->setGeometry(704, 552, kClientWidth - 704, 36);
    deactivateBtn_ =
        button(shape4_, "DeactivateBtn", QStringLiteral("Deaktivieren"), {0, 0, 168, 36});
    resetBtn_ = button(this, "ResetBtn", QStringLiteral("Reset"), {704, 614, 168, 36});
    closeBtn_ = button(this, "CloseBtn", QStringLiteral("Beenden"), {704, 811, 168, 36});
    // Below the actions: the other mods that change the selected building too.
    conflictLabel_ = textLabel(this, "ConflictLabel", QString(), {704, 656, 168, 58});
    conflictLabel_->setWordWrap(true);
    conflictLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Every changed building at once, and every mod of this program removed at once.
    activateAllBtn_ =
        button(this, "ActivateAllBtn", QStringLiteral("Alle aktivieren"), {704, 720, 168, 36});
    deactivateAllBtn_ =
        button(this, "DeactivateAllBtn", QStringLiteral("Alle deaktivieren"), {704, 764, 168, 36});

    // Outside the client area: the developer's data preparation and the picture the mod
    // description writer saves.
    createBuildingsBtn_ = button(this, "CreateBuildingsBtn", QStringLiteral("CreateBuildings"),
                                 {16, kClientHeight + 20, 150, 30});
    createProductsBtn_ = button(this, "CreateProductsBtn", QStringLiteral("CreateProducts"),
                                {180, kClientHeight + 20, 150, 30});
    QLabel* helpJsonImage =
        pictureLabel(this, "HelpJsonImage", {350, kClientHeight + 20, 128, 128});
    // Hidden as well: neither the user nor a screen reader meets them.
    for (QWidget* unseen :
         std::initializer_list<QWidget*>{createBuildingsBtn_, createProductsBtn_, helpJsonImage})
        unseen->hide();
}

// The help entry each control shows in the info panel; every control with one, and the
// Background, tells the window of the mouse moving over it.
void MainWindow::assignHelpIds() {
    const std::pair<QWidget*, const char*> help[] = {
        {background_, "10"},     {regionView_, "11"},       {groupView_, "12"},
        {buildingsView_, "13"},  {basicFormBtn_, "14"},     {costBtn_, "15"},
        {activateBtn_, "16"},    {shape3_, "16"},           {deactivateBtn_, "17"},
        {shape4_, "17"},         {resetBtn_, "18"},         {image1_, "0"},
        {activateAllBtn_, "26"}, {deactivateAllBtn_, "27"}, {editsBtn_, "28"},
    };
    for (const auto& [control, id] : help)
        control->setProperty(kHelpIdProperty, QString::fromLatin1(id));
    for (const auto& [control, id] : help) {
        watchMouse(control);
        if (auto* list = qobject_cast<QAbstractItemView*>(control)) {
            list->viewport()->setProperty(kHelpIdProperty, QString::fromLatin1(id));
            watchMouse(list->viewport());
        }
    }
    setMouseTracking(true);
}

// The reactions: each runs inside the error report, so a failure shows its German message.
void MainWindow::connectReactions() {
    const auto react = [this](auto handler) {
        return [this, handler] { ReportErrors(this, dialogs_, [&] { (this->*handler)(); }); };
    };
    // A region or group reacts to every click and to a change of selection by the keyboard. A
    // click on another entry changes the selection and reacts through that; a click on the entry
    // already selected changes nothing, so the click itself runs the reaction.
    const std::pair<QListWidget*, void (MainWindow::*)()> filters[] = {
        {regionView_, &MainWindow::RegionViewClick}, {groupView_, &MainWindow::GroupViewClick}};
    for (const auto& [view, handler] : filters) {
        connect(view, &QListWidget::itemSelectionChanged, this, react(handler));
        connect(view, &QListWidget::itemClicked, this,
                [this, view = view, reaction = react(handler)] {
                    if (selectedRow(view) == rowAtPress_)
                        reaction();
                });
    }
    connect(buildingsView_, &QTreeWidget::itemSelectionChanged, this,
            react(&MainWindow::BuildingsViewClick));
    connect(basicFormBtn_, &QPushButton::clicked, this, react(&MainWindow::BasicFormBtnClick));
    connect(costBtn_, &QPushButton::clicked, this, react(&MainWindow::CostBtnClick));
    connect(activateBtn_, &QPushButton::clicked, this, react(&MainWindow::ActivateBtnClick));
    connect(deactivateBtn_, &QPushButton::clicked, this, react(&MainWindow::DeactivateBtnClick));
    connect(resetBtn_, &QPushButton::clicked, this, react(&MainWindow::ResetBtnClick));
    connect(closeBtn_, &QPushButton::clicked, this, react(&MainWindow::CloseBtnClick));
    connect(activateAllBtn_, &QPushButton::clicked, this, react(&MainWindow::ActivateAllBtnClick));
    connect(deactivateAllBtn_, &QPushButton::clicked, this,
            react(&MainWindow::DeactivateAllBtnClick));
    connect(editsBtn_, &QPushButton::clicked, this, react(&MainWindow::EditsBtnClick));
    connect(createBuildingsBtn_, &QPushButton::clicked, this,
            react(&MainWindow::CreateBuildingsBtnClick));
    connect(createProductsBtn_, &QPushButton::clicked, this,
            react(&MainWindow::CreateProductsBtnClick));
}

void MainWindow::watchMouse(QWidget* control) {
    control->setMouseTracking(true);
    control->installEventFilter(this);
}

void MainWindow::setMessageWindow(MessageWindow* form) {
    messageWindow_ = form;
}

void MainWindow::setBuildCostsWindow(BuildCostsWindow* form) {
    buildCostsWindow_ = form;
}

void MainWindow::FillGroupView() {
    groupView_->clear();
    const QStringList& names = setup_.groupNames;
    for (int i = 0; i < names.size(); ++i)
        addListEntry(groupView_, names[i], kGroupPictures.value(i));
}

void MainWindow::selectRow(QListWidget* view, int row) {
    const QSignalBlocker quiet(view);
    view->setCurrentRow(row);
}

void MainWindow::selectRow(QTreeWidget* view, int row) {
    const QSignalBlocker quiet(view);
    if (QTreeWidgetItem* item = view->topLevelItem(row))
        view->setCurrentItem(item);
    else
        view->clearSelection();
}

void MainWindow::setActionButtonsEnabled(bool enabled) {
    for (QPushButton* b : {basicFormBtn_, costBtn_, activateBtn_, deactivateBtn_, resetBtn_})
        b->setEnabled(enabled);
}

bool MainWindow::FillBuildingList() {
    const int group = selectedRow(groupView_);
    if (group < 0)
        return true;
    const int region = selectedRow(regionView_);
    // The index the flag repair read serves the list too; the rows serve the detail pane.
    const std::shared_ptr<const data::XmlDocument> index = syncExportFlags();
    const QString groupName = groupView_->item(group)->text();
    rows_ = index ? data::BrowseBuildings(*index, region, group, groupName)
                  : data::BrowseBuildings(setup_.dataDir, region, group, groupName);
    const std::vector<data::BuildingEntry>& rows = rows_;
    {
        const QSignalBlocker quiet(buildingsView_);
        buildingsView_->clear();
    }
    selection_.buildingCount = int(rows.size());

    if (!rows.empty()) {
        buildingsView_->show();
        setActionButtonsEnabled(true);
        const ImageCollection& pictures = ImageCollection::instance();
        // Before the window's first paint the marks wait for it (showStaleMarks).
        const QSet<QString> stale =
            staleMarksReady_ ? StaleRows(setup_.dataDir, setup_.modsDir, rows) : QSet<QString>();
        QList<QTreeWidgetItem*> items;
        for (const data::BuildingEntry& row : rows) {
            auto* item = new QTreeWidgetItem({row.guid, row.local, row.isChanged, row.isExported,
                                              QString(), QString(), QString()});
            ShowStaleMark(*item, kStaleColumn, stale.contains(row.guid));
            item->setData(kConflictColumn, kBuffGuidRole, row.add);
            item->setIcon(kImageColumn, pictures.icon(row.icon, kRowPicture));
            item->setIcon(kChangedColumn,
                          pictures.icon(flagPicture(row.isChanged, QStringLiteral("IsChanged128")),
                                        kRowPicture));
            item->setIcon(
                kExportedColumn,
                pictures.icon(flagPicture(row.isExported, QStringLiteral("IsExported128")),
                              kRowPicture));
            items << item;
        }
        {
            const QSignalBlocker quiet(buildingsView_);
            buildingsView_->addTopLevelItems(items);
        }
        showConflictMarks();
        selection_.buildingCount = buildingsView_->topLevelItemCount();
        QHeaderView* header = buildingsView_->header();
        if (selection_.buildingCount <= kRowsWithoutScrollBar) {
            header->setStretchLastSection(true);
        } else {
            header->setStretchLastSection(false);
            header->resizeSection(kPlaceholderColumn, 0);
        }
        selection_.listIndex =
            data::RowToSelect(group, selection_.listIndex, selection_.buildingCount);
        selectRow(buildingsView_, selection_.listIndex);
        BuildingsViewClick();
    } else {
        showNoBuilding();
    }
    countLabel_->setText(data::CountText(selection_.buildingCount));
    return true;
}

void MainWindow::RefreshAfterChange(int rememberedRow, bool scrollToSelection) {
    FillBuildingList();
    const int group = selectedRow(groupView_);
    selectRow(buildingsView_,
              data::RowToSelect(group, rememberedRow, buildingsView_->topLevelItemCount()));
    if (scrollToSelection)
        ScrollToSelection(buildingsView_);
    BuildingsViewClick();
}

void MainWindow::showNoBuilding() {
    buildingsView_->hide();
    setActionButtonsEnabled(false);
    const QPixmap none =
        ImageCollection::instance().picture(QStringLiteral("NoMainFormIcon"), kDetailPicture);
    iconImage_->setPixmap(none);
    regionImage_->setPixmap(none);
    nameLabel_->clear();
    guidLabel_->clear();
    ShowStaleText(*staleLabel_, false);
    conflictLabel_->clear();
}

void MainWindow::BuildingsViewClick() {
    QTreeWidgetItem* item = selectedItem(buildingsView_);
    if (!item)
        return;
    // The building is looked up once; the buttons and the detail pane take it from here.
    const QString guid = item->text(kImageColumn);
    std::optional<data::BuildingEntry> entry;
    for (const data::BuildingEntry& row : rows_)
        if (row.guid == guid) {
            entry = row;
            break;
        }
    if (!entry)
        entry = data::FindBuilding(setup_.dataDir, guid);
    if (!entry)
        throw data::DataError(QStringLiteral("Das Gebäude %1 steht nicht mehr in %2.")
                                  .arg(guid, data::quotedPath(data::kBuildingIndexFile)));
    const data::ModButtons modButtons = data::ModButtonsFor(*entry);
    // A stale mod is written anew also for a building that is no longer changed.
    activateBtn_->setEnabled(modButtons.activate || HasStaleMark(*item, kStaleColumn));
    deactivateBtn_->setEnabled(modButtons.deactivate);
    showDetails(*item, *entry);
}

bool MainWindow::ShowBuildingDetails() {
    QTreeWidgetItem* item = selectedItem(buildingsView_);
    if (!item)
        return true;
    if (const std::optional<data::BuildingEntry> entry =
            data::FindBuilding(setup_.dataDir, item->text(kImageColumn)))
        showDetails(*item, *entry);
    return true;
}

void MainWindow::showDetails(QTreeWidgetItem& row, const data::BuildingEntry& entry) {
    selection_.building = row.text(kImageColumn);
    selection_.listIndex = buildingsView_->indexOfTopLevelItem(&row);
    selection_.buildingName = entry.local;
    selection_.buildingIcon = entry.icon;
    selection_.buildingRegionImage = entry.region;
    guidLabel_->setText(entry.guid);
    nameLabel_->setText(entry.local);
    ShowStaleText(*staleLabel_, HasStaleMark(row, kStaleColumn));
    showConflictText();
    iconImage_->clear();
    iconImage_->setPixmap(ImageCollection::instance().picture(entry.icon, kDetailPicture));
    regionImage_->clear();
    regionImage_->setPixmap(ImageCollection::instance().picture(entry.region, kDetailPicture));
}

void MainWindow::GroupViewClick() {
    if (selectedRow(groupView_) < 0)
        return;
    FillBuildingList();
    if (buildingsView_->topLevelItemCount() > 0) {
        selectRow(buildingsView_, 0);
        BuildingsViewClick();
    } else {
        buildingsView_->clearSelection();
    }
}

void MainWindow::RegionViewClick() {
    GroupViewClick();
}

void MainWindow::setProductionWindow(ProductionWindow* form) {
    productionWindow_ = form;
}

void MainWindow::setEditorWindows(EditorWindows* editors) {
    editors_ = editors;
}

void MainWindow::BasicFormBtnClick() {
    if (!productionWindow_ && editors_)
        productionWindow_ = &editors_->production(); // built on its first opening
    if (!productionWindow_)
        return;
    // After "Annehmen": FillBuildingList, the remembered row (row 0 under the pseudo-group of
    // changed buildings), ScrollToSelection, BuildingsViewClick.
    productionWindow_->openFor(this, EditorContext{setup_.dataDir, selection_, [this](int row) {
                                                       RefreshAfterChange(row, true);
                                                   }});
}

void MainWindow::CostBtnClick() {
    if (!buildCostsWindow_ && editors_)
        buildCostsWindow_ = &editors_->buildCosts();
    if (!buildCostsWindow_)
        return;
    buildCostsWindow_->openFor(this, EditorContext{setup_.dataDir, selection_, [this](int row) {
                                                       RefreshAfterChange(row, true);
                                                   }});
}

QString MainWindow::selectedRowName(const QString& fallback) const {
    const QTreeWidgetItem* row = selectedItem(buildingsView_);
    return row ? row->text(kNameColumn) : fallback;
}

void MainWindow::warnLeftFolders(const QString& title, const QStringList& notes) {
    if (!notes.isEmpty())
        dialogs_.showError(title, notes.join(QStringLiteral("\r")));
}

std::shared_ptr<const data::XmlDocument> MainWindow::syncExportFlags() {
    const mod::FlagSync sync = mod::SyncExportFlags(setup_.dataDir, setup_.modsDir);
    QStringList told;
    if (!sync.corrected.empty())
        told << mod::CorrectionMessage(sync.corrected);
    if (!sync.problem.isEmpty() && sync.problem != lastFolderProblem_)
        told << sync.problem;
    lastFolderProblem_ = sync.problem;
    const QString orphans =
        sync.orphaned.empty() ? QString() : mod::OrphanedModsMessage(sync.orphaned);
    if (!orphans.isEmpty() && orphans != lastOrphanNote_)
        told << orphans;
    lastOrphanNote_ = orphans;
    if (!told.isEmpty()) {
        if (!pendingNotice_.isEmpty())
            told.prepend(pendingNotice_);
        pendingNotice_ = told.join(QStringLiteral("\r\r"));
        if (isVisible())
            showPendingNotice();
    }
    return sync.index;
}

void MainWindow::showPendingNotice() {
    if (pendingNotice_.isEmpty())
        return;
    const QString notice = std::exchange(pendingNotice_, QString());
    dialogs_.showNotice(QStringLiteral("Mod-Ordner"), notice);
}

// Writes the selected building's mod, shows its marked icon in HelpJsonImage and refreshes
// the list with the same row selected and scrolled into view.
void MainWindow::ActivateBtnClick() {
    const int row = selection_.listIndex;
    // Another mod that changes the building too: asked once, before anything is written.
    if (QTreeWidgetItem* item = selectedItem(buildingsView_)) {
        const QStringList others = conflictsOf(
            item->text(kImageColumn), item->data(kConflictColumn, kBuffGuidRole).toString());
        if (!others.isEmpty() && !ask(QStringLiteral("Andere Mods"), QStringLiteral("Conflict128"),
                                      selectedRowName(selection_.buildingName) +
                                          QStringLiteral("\r\r") + mod::ConflictQuestion(others),
                                      QStringLiteral("Aktivieren")))
            return;
    }
    mod::ModRequest request{setup_.dataDir,      setup_.modsDir,
                            selection_.building, selectedRowName(selection_.buildingName),
                            setup_.version,      setup_.userName};
    request.gameExecutable = gameExecutable();
    const mod::WrittenMod written =
        mod::WriteMod(request, CollectionPictures(ImageCollection::instance()));
    if (auto* image = findChild<QLabel*>(QStringLiteral("HelpJsonImage")))
        image->setPixmap(QPixmap::fromImage(written.markedIcon));
    RefreshAfterChange(row, true);
    warnLeftFolders(QStringLiteral("Aktivieren"), written.leftFolders);
}

// Removes the selected building's mod and refreshes the list with the same row selected. The
// list is refreshed also when the removal fails (the error is shown after the refresh); what
// was left in the mods directory is named after it.
void MainWindow::DeactivateBtnClick() {
    const int row = selection_.listIndex;
    QStringList notes;
    try {
        notes = mod::RemoveMod(setup_.dataDir, setup_.modsDir, selection_.building,
                               selectedRowName(selection_.buildingName), gameExecutable());
    } catch (...) {
        RefreshAfterChange(row, false);
        throw;
    }
    RefreshAfterChange(row, false);
    warnLeftFolders(QStringLiteral("Deaktivieren"), notes);
}

void MainWindow::ResetBtnClick() {
    const std::optional<data::BuildingEntry> entry =
        data::FindBuilding(setup_.dataDir, selection_.building);
    if (!entry)
        throw data::DataError(
            QStringLiteral("Das Gebäude %1 steht nicht in %2.")
                .arg(selection_.building, data::quotedPath(data::kBuildingIndexFile)));
    const QString displayName = selectedRowName(entry->local);

    if (!ask(QStringLiteral("Gebäude zurücksetzen"), entry->icon,
             displayName + QStringLiteral("\r") + QStringLiteral("\r") +
                 QStringLiteral("Dieses Gebäude auf die Standardwerte zurücksetzen?\r"),
             QStringLiteral("OK")))
        return;

    const QStringList undeleted = mod::ResetBuilding(
        setup_.dataDir, setup_.modsDir, selection_.building, displayName, gameExecutable());
    FillBuildingList();
    warnLeftFolders(QStringLiteral("Reset"), undeleted);
}

void MainWindow::EditsBtnClick() {
    EditsWindow edits({setup_.dataDir, setup_.modsDir, setup_.version, gameExecutable()}, dialogs_,
                      this);
    connect(&edits, &EditsWindow::dataChanged, this,
            [this] { RefreshAfterChange(selection_.listIndex, true); });
    edits.exec();
    if (!edits.chosenBuilding().isEmpty())
        ShowBuilding(edits.chosenBuilding());
}

void MainWindow::ShowBuilding(const QString& guid) {
    // An active mod of a building that is not edited is found among the exported ones.
    for (const int group : {data::kChangedPseudoGroup, data::kExportedPseudoGroup}) {
        selectRow(groupView_, group);
        FillBuildingList();
        for (int row = 0; row < buildingsView_->topLevelItemCount(); ++row)
            if (buildingsView_->topLevelItem(row)->text(0) == guid) {
                selection_.listIndex = row;
                selectRow(buildingsView_, row);
                ScrollToSelection(buildingsView_);
                BuildingsViewClick();
                return;
            }
    }
}

void MainWindow::ActivateAllBtnClick() {
    runBulk(true);
}

void MainWindow::DeactivateAllBtnClick() {
    runBulk(false);
}

// One building after the other with the progress window in front; the list is refreshed and the
// summary shown when the run is over, stopped or not.
void MainWindow::runBulk(bool activation) {
    const QString title =
        activation ? QStringLiteral("Alle aktivieren") : QStringLiteral("Alle deaktivieren");
    mod::BulkRequest request{setup_.dataDir, setup_.modsDir, setup_.version, setup_.userName};
    request.gameExecutable = gameExecutable();
    BulkProgressWindow progress(
        title, activation ? QStringLiteral("geschrieben") : QStringLiteral("entfernt"), this);
    const auto report = [&](int done, int total, const QString& name) {
        return progress.report(done, total, name);
    };
    const mod::BulkReport result =
        activation
            ? mod::ActivateAll(request, CollectionPictures(ImageCollection::instance()), report)
            : mod::DeactivateAll(request, report);
    progress.finish();
    RefreshAfterChange(selection_.listIndex, true);
    dialogs_.showNotice(title, mod::BulkSummary(result, activation));
}

// A question in the message window (created on first use): true when its OK button was pressed.
bool MainWindow::ask(const QString& header, const QString& picture, const QString& message,
                     const QString& okCaption) {
    if (!messageWindow_)
        messageWindow_ = new MessageWindow(this);
    MessageWindow& question = *messageWindow_;
    question.setHeader(header);
    question.setRemarkPicture(ImageCollection::instance().picture(picture, {64, 64}));
    question.setMessage(message);
    question.showOkButton(okCaption);
    question.showAbortButton(QStringLiteral("Abbrechen"));
    return question.exec() == QDialog::Accepted;
}

// The game's executable that every operation on a mod folder checks first ("": no game folder
// known).
QString MainWindow::gameExecutable() const {
    return setup_.gameDir.isEmpty() ? QString()
                                    : QDir(setup_.gameDir).filePath(app::kGameExecutable);
}

void MainWindow::CloseBtnClick() {
    close();
}

namespace {
// The icon source of the developer's machine: the same default as the velmora-dataprep command.
tools::PrepDirectories prepDirectories(const QString& programDir) {
    return tools::PrepDirectories::forProgramDir(
        programDir, QDir(programDir).filePath(QStringLiteral("icons-source")));
}
} // namespace

// The developer's pipelines run as velmora-dataprep runs them: every work directory checked,
// the program directory locked against a second run, the data files replaced only when the
// whole run succeeded.
void MainWindow::CreateBuildingsBtnClick() {
    runPipeline(&tools::RunBuildingsPipeline);
}

void MainWindow::CreateProductsBtnClick() {
    runPipeline(&tools::RunProductsPipeline);
}

void MainWindow::runPipeline(void (*pipeline)(const tools::PrepDirectories&,
                                              const tools::StepReporter&)) {
    const tools::PrepDirectories dirs = prepDirectories(setup_.programDir);
    tools::PrepareRunDirectories(dirs, false);
    const tools::ProgramDirLock lock(dirs);
    tools::RunWithStagedDataDirectory(dirs, [&](const tools::PrepDirectories& staged) {
        pipeline(staged, [](const QString&, const QString&) {});
    });
}

void MainWindow::ShowHelp(const QString& id) {
    infoLabel_->setText(data::GetHelpLabel(id));
    QString text = data::GetHelpText(id);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    infoText_->setText(text);
}

// The help id of what answers the mouse at a point of control: the control itself, or when it
// is disabled what lies beneath it, its hover area or else the control below it in the
// window (at last the Background).
QVariant MainWindow::helpIdAt(QWidget* control, const QPoint& globalPos) const {
    while (control && !control->isEnabled()) {
        QWidget* parent = control->parentWidget();
        if (!parent)
            return {};
        if (parent != this) {
            control = parent;
            continue;
        }
        const QObjectList& siblings = children();
        QWidget* beneath = nullptr;
        for (qsizetype i = siblings.indexOf(control) - 1; i >= 0 && !beneath; --i) {
            auto* sibling = qobject_cast<QWidget*>(siblings[i]);
            if (sibling && sibling->isVisible() &&
                sibling->geometry().contains(mapFromGlobal(globalPos)))
                beneath = sibling;
        }
        control = beneath;
    }
    return control ? control->property(kHelpIdProperty) : QVariant();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window has been drawn once: the other mods may be read now.
    if (event->type() == QEvent::Paint && watched == background_ && !scanThread_)
        QMetaObject::invokeMethod(this, &MainWindow::startForeignModScan, Qt::QueuedConnection);
    if (event->type() == QEvent::Paint && watched == background_ && !staleMarksReady_)
        QMetaObject::invokeMethod(this, &MainWindow::showStaleMarks, Qt::QueuedConnection);
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == regionView_->viewport())
            rowAtPress_ = selectedRow(regionView_);
        else if (watched == groupView_->viewport())
            rowAtPress_ = selectedRow(groupView_);
    }
    if (event->type() == QEvent::MouseMove) {
        const QVariant id = helpIdAt(qobject_cast<QWidget*>(watched),
                                     static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        if (id.isValid())
            ShowHelp(id.toString());
    }
    return QWidget::eventFilter(watched, event);
}

MainWindow::~MainWindow() {
    // The scan only reads files and never waits on one; told to stop, it ends before its next
    // mod folder, and is waited for that long at most. A scan the system still holds up (a
    // drive that does not answer) is left to end on its own and to delete its thread then, so
    // that closing the window never hangs and the program ends.
    if (!scanThread_)
        return;
    stopScan_->store(true);
    disconnect(scanThread_, nullptr, this, nullptr);
    if (scanThread_->wait(QDeadlineTimer(kScanStopWait)))
        return; // deleted with the window
    scanThread_->setParent(nullptr);
    connect(scanThread_, &QThread::finished, scanThread_, &QObject::deleteLater);
}

void MainWindow::startForeignModScan() {
    if (scanThread_ || setup_.modsDir.isEmpty())
        return;
    auto result = std::make_shared<mod::ForeignMods>();
    scanThread_ = QThread::create([result, stop = stopScan_, modsDir = setup_.modsDir] {
        *result = mod::ScanForeignMods(modsDir, stop.get());
    });
    scanThread_->setParent(this); // deleted with the window once it has ended (see the destructor)
    connect(scanThread_, &QThread::finished, this, [this, result] { takeForeignMods(result); });
    scanThread_->start(QThread::LowPriority);
}

void MainWindow::takeForeignMods(std::shared_ptr<const mod::ForeignMods> mods) {
    foreignMods_ = std::move(mods);
    showConflictMarks();
    showConflictText();
    if (const QString note = mod::SkippedModsNote(*foreignMods_); !note.isEmpty())
        dialogs_.showNotice(QStringLiteral("Andere Mods"), note);
    emit foreignModsScanned();
}

void MainWindow::showStaleMarks() {
    if (staleMarksReady_)
        return;
    staleMarksReady_ = true;
    ReportErrors(this, dialogs_, [this] {
        const QSet<QString> stale = StaleRows(setup_.dataDir, setup_.modsDir, rows_);
        for (int i = 0; i < buildingsView_->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = buildingsView_->topLevelItem(i);
            ShowStaleMark(*item, kStaleColumn, stale.contains(item->text(kImageColumn)));
        }
        if (!buildingsView_->isHidden())
            BuildingsViewClick(); // the detail pane's line and "Aktivieren"
    });
}

QStringList MainWindow::conflictsOf(const QString& guid, const QString& buffGuid) const {
    return foreignMods_ ? mod::ConflictingMods(*foreignMods_, guid, buffGuid) : QStringList();
}

// The conflict column of every row: the picture, and the names as the cell's text, which a
// screen reader reads (the delegate draws only the picture).
void MainWindow::showConflictMarks() {
    const ImageCollection& pictures = ImageCollection::instance();
    for (int i = 0; i < buildingsView_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = buildingsView_->topLevelItem(i);
        const QStringList names = conflictsOf(
            item->text(kImageColumn), item->data(kConflictColumn, kBuffGuidRole).toString());
        item->setText(kConflictColumn, mod::ConflictText(names));
        item->setIcon(kConflictColumn,
                      names.isEmpty() ? QIcon()
                                      : pictures.icon(QStringLiteral("Conflict128"), kRowPicture));
    }
}

void MainWindow::showConflictText() {
    QTreeWidgetItem* item = selectedItem(buildingsView_);
    conflictLabel_->setText(item && !buildingsView_->isHidden() ? item->text(kConflictColumn)
                                                                : QString());
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The other mods are read once the window has been drawn (see eventFilter), so that the scan
    // does not compete with the window's first appearance; a window never drawn starts it after
    // a moment all the same.
    QTimer::singleShot(kScanFallbackDelay, this, &MainWindow::startForeignModScan);
    QTimer::singleShot(kScanFallbackDelay, this, &MainWindow::showStaleMarks);
    if (!centred_) {
        centred_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    ShowHelp(QStringLiteral("0"));
    // After the window is on the screen: a message box must not come before it.
    QMetaObject::invokeMethod(this, &MainWindow::showPendingNotice, Qt::QueuedConnection);
}

} // namespace velmora::ui
