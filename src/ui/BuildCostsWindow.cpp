#include "ui/BuildCostsWindow.h"

#include "data/ProductPicker.h"
#include "ui/EditorSlots.h"
#include "ui/ImageCollection.h"
#include "ui/ProductPickerWindow.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace velmora::ui {

namespace {

constexpr QSize kClient(1240, 660);
constexpr int kLeftColumn = 16;
constexpr int kRightColumn = 632;
constexpr int kFirstRow = 166;
constexpr int kRowHeight = 62;
constexpr int kOriginalOffset = 392; // the original side of a slot, from the slot's left edge
constexpr int kCoinsSlot = 0;

// Slots 0 to 3 fill the left column, 4 to 6 the right one.
QPoint slotPlace(int k) {
    return k < 4 ? QPoint(kLeftColumn, kFirstRow + k * kRowHeight)
                 : QPoint(kRightColumn, kFirstRow + (k - 4) * kRowHeight);
}

QString goodOf(int k) {
    return k == kCoinsSlot ? QStringLiteral("Münzen") : QStringLiteral("Ware %1").arg(k);
}

int amountOf(const QString& text) {
    return text.toInt(); // an empty amount shows as 0
}

} // namespace

BuildCostsWindow::BuildCostsWindow(app::UserDialogs& dialogs, QWidget* parent)
    : EditorWindow(dialogs, QStringLiteral("CostForm"), QStringLiteral("Baukosten"), kClient,
                   parent) {
    auto* background = pictureLabel(QStringLiteral("Background"), rect());
    background->lower();
    setHelpId(background, QStringLiteral("51"));
    createHeader();
    slot<QLabel>(QStringLiteral("CaptionLabel"))->setObjectName(QStringLiteral("CostFormLabel"));

    createColumnHeadings(kLeftColumn, true);
    createColumnHeadings(kRightColumn, false);
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setGeometry(kRightColumn - 10, kFirstRow - 36, 2, 4 * kRowHeight + 30);
    for (int k = 0; k < data::kCostSlots; ++k)
        createSlot(k, slotPlace(k));
    createFillerRow(slotPlace(7));

    createInfoPanel({16, kFirstRow + 4 * kRowHeight + 20, 760, 160});
    createCloseButtons({kClient.width() - 186, kClient.height() - 56, 170, 36},
                       {kClient.width() - 372, kClient.height() - 56, 170, 36});
    QPushButton* fullReset = pictureButton(
        QStringLiteral("FullResetBtn"), QStringLiteral("FullReset36"),
        QStringLiteral("Alle Baukosten zurücksetzen"), {16, kClient.height() + 20, 36, 36});
    connect(fullReset, &QPushButton::clicked, this,
            [this] { report([this] { FullResetBtnClick(); }); });
    // Below the visible area and not shown to the user: hidden, a screen reader does not offer
    // it either.
    fullReset->hide();
}

void BuildCostsWindow::setProductPicker(ProductPickerWindow* picker) {
    picker_ = picker;
}

void BuildCostsWindow::createColumnHeadings(int x, bool named) {
    QFont bold = font();
    bold.setBold(true);
    QLabel* current = textLabel(named ? QStringLiteral("Label1") : QString(),
                                QStringLiteral("aktuell"), {x, kFirstRow - 34, 200, 24});
    QLabel* original =
        textLabel(named ? QStringLiteral("Label2") : QString(), QStringLiteral("original"),
                  {x + kOriginalOffset, kFirstRow - 34, 180, 24});
    current->setFont(bold);
    original->setFont(bold);
}

void BuildCostsWindow::createSlot(int k, const QPoint& at) {
    const int x = at.x();
    const int y = at.y();
    const QString good = goodOf(k);
    pictureLabel(slotName("CostImage", k), {x, y + 4, 36, 36},
                 QStringLiteral("Baukosten %1 Bild aktuell").arg(good));
    QLabel* name =
        textLabel(slotName("CostLabel", k), QStringLiteral("keine Auswahl"), {x + 42, y, 150, 44});
    name->setWordWrap(true);
    // A label that shows a value is read as that value; the slot is its description.
    name->setAccessibleDescription(QStringLiteral("Baukosten %1 aktuell").arg(good));
    stateLabel(slotName("CostGUID", k));

    QPushButton* change =
        k == kCoinsSlot
            ? pictureButton(slotName("ChangeCostBtn", k), QStringLiteral("ChangeProductRed"),
                            QStringLiteral("Münzen können nicht geändert werden"),
                            {x + 196, y + 4, 36, 36})
            : pictureButton(slotName("ChangeCostBtn", k), QStringLiteral("ChangeProduct"),
                            QStringLiteral("Baukosten %1 ändern").arg(good),
                            {x + 196, y + 4, 36, 36});
    QPushButton* reset = pictureButton(slotName("ResetCostBtn", k), QStringLiteral("Reset36"),
                                       QStringLiteral("Baukosten %1 zurücksetzen").arg(good),
                                       {x + 236, y + 4, 36, 36});
    NumberBox* amount =
        k == kCoinsSlot
            ? numberBox(slotName("Cost", k), 0, 100000, 100,
                        QStringLiteral("Baukosten Münzen aktuell"), {x + 280, y + 7, 92, 30})
            : numberBox(slotName("Cost", k), 0, 150, 5,
                        QStringLiteral("Baukosten %1 Menge aktuell").arg(good),
                        {x + 280, y + 7, 92, 30});
    amount->setSingleStep(k == kCoinsSlot ? 10 : 1);

    pictureLabel(slotName("OrgCostImage", k), {x + kOriginalOffset, y + 4, 36, 36},
                 QStringLiteral("Baukosten %1 Bild original").arg(good));
    QLabel* orgName = textLabel(slotName("OrgCostLabel", k), QStringLiteral("keine Auswahl"),
                                {x + kOriginalOffset + 42, y, 110, 44});
    orgName->setWordWrap(true);
    orgName->setAccessibleDescription(QStringLiteral("Baukosten %1 original").arg(good));
    QLabel* orgAmount = textLabel(slotName("OrgCost", k), QStringLiteral("0"),
                                  {x + kOriginalOffset + 152, y, 44, 44});
    orgAmount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    orgAmount->setAccessibleDescription(QStringLiteral("Baukosten %1 Menge original").arg(good));
    stateLabel(slotName("OrgCostGUID", k));

    if (k != kCoinsSlot)
        connect(change, &QPushButton::clicked, this,
                [this, change] { report([&] { ChangeCostBtnClick(change); }); });
    connect(reset, &QPushButton::clicked, this,
            [this, reset] { report([&] { ResetCostBtnClick(reset); }); });
    connect(amount, &QSpinBox::valueChanged, this, [this] { MarkDifferences(); });
}

// The fourth row of the right column has no function.
void BuildCostsWindow::createFillerRow(const QPoint& at) {
    textLabel(QStringLiteral("UnusedLabel"), QStringLiteral("ungenutzt"),
              {at.x() + 42, at.y(), 150, 44});
    textLabel(QStringLiteral("OrgUnusedLabel"), QStringLiteral("ungnutzt"),
              {at.x() + kOriginalOffset + 42, at.y(), 110, 44});
    QLabel* zero = textLabel(QStringLiteral("OrgUnusedCost"), QStringLiteral("0"),
                             {at.x() + kOriginalOffset + 152, at.y(), 44, 44});
    zero->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void BuildCostsWindow::FormShow() {
    fillHeader();
    ShowHelp(QStringLiteral("51"));
    for (int k = 0; k < data::kCostSlots; ++k) {
        setPicture(slot<QLabel>(slotName("CostImage", k)), QStringLiteral("Empty"));
        setPicture(slot<QLabel>(slotName("OrgCostImage", k)), QStringLiteral("Empty"));
        slot<QLabel>(slotName("OrgCost", k))->setText(QStringLiteral("0"));
    }
    LoadCosts();
}

void BuildCostsWindow::LoadCosts() {
    const data::BuildCosts costs = data::LoadCosts(context().dataDir, context().selection.building);
    for (int k = 0; k < data::kCostSlots; ++k) {
        showCurrent(k, costs.current[std::size_t(k)]);
        showOriginal(k, costs.original[std::size_t(k)]);
    }
    MarkDifferences();
}

void BuildCostsWindow::showCurrent(int k, const data::CostSlot& s) {
    {
        NumberBox* amount = slot<NumberBox>(slotName("Cost", k));
        const QSignalBlocker quiet(amount);
        amount->setValue(amountOf(s.amount));
    }
    slot<QLabel>(slotName("CostLabel", k))->setText(s.name);
    slot<QLabel>(slotName("CostGUID", k))->setText(s.guid);
    setPicture(slot<QLabel>(slotName("CostImage", k)), s.image);
}

void BuildCostsWindow::showOriginal(int k, const data::CostSlot& s) {
    slot<QLabel>(slotName("OrgCost", k))->setText(s.amount);
    slot<QLabel>(slotName("OrgCostLabel", k))->setText(s.name);
    slot<QLabel>(slotName("OrgCostGUID", k))->setText(s.guid);
    setPicture(slot<QLabel>(slotName("OrgCostImage", k)), s.image);
}

data::CostSlot BuildCostsWindow::currentSlot(int k) const {
    return {controlText(slot<NumberBox>(slotName("Cost", k))),
            slot<QLabel>(slotName("CostLabel", k))->text(),
            slot<QLabel>(slotName("CostGUID", k))->text(),
            pictureName(slot<QLabel>(slotName("CostImage", k)))};
}

data::CostSlot BuildCostsWindow::originalSlot(int k) const {
    return {slot<QLabel>(slotName("OrgCost", k))->text(),
            slot<QLabel>(slotName("OrgCostLabel", k))->text(),
            slot<QLabel>(slotName("OrgCostGUID", k))->text(),
            pictureName(slot<QLabel>(slotName("OrgCostImage", k)))};
}

void BuildCostsWindow::MarkDifferences() {
    for (int k = 0; k < data::kCostSlots; ++k) {
        const data::CostSlot current = currentSlot(k);
        const data::CostSlot original = originalSlot(k);
        const bool goodDiffers = current.guid != original.guid;
        const bool differs = data::CostSlotDiffers(k, current, original);
        markDifference(slot<QLabel>(slotName("CostLabel", k)), goodDiffers);
        markDifference(slot<NumberBox>(slotName("Cost", k)), differs && !goodDiffers);
    }
}

void BuildCostsWindow::ChangeCostBtnClick(const QPushButton* button) {
    const int k = slotNumber(button);
    if (!picker_ || k <= kCoinsSlot || k >= data::kCostSlots)
        return;
    picker_->request().caller = data::kCallerBuildCosts;
    picker_->request().costSlot = k;
    picker_->openFor(this, context());
    MarkDifferences();
}

void BuildCostsWindow::resetSlot(int k) {
    const QLabel* orgImage = slot<QLabel>(slotName("OrgCostImage", k));
    showCurrent(k, {slot<QLabel>(slotName("OrgCost", k))->text(),
                    slot<QLabel>(slotName("OrgCostLabel", k))->text(),
                    slot<QLabel>(slotName("OrgCostGUID", k))->text(), pictureName(orgImage)});
    copyPicture(orgImage, slot<QLabel>(slotName("CostImage", k)));
}

void BuildCostsWindow::ResetCostBtnClick(const QPushButton* button) {
    const int k = slotNumber(button);
    if (k < 0 || k >= data::kCostSlots)
        return;
    resetSlot(k);
    MarkDifferences();
}

void BuildCostsWindow::FullResetBtnClick() {
    for (int k = 0; k < data::kCostSlots; ++k)
        resetSlot(k);
    MarkDifferences();
}

void BuildCostsWindow::AcceptBtnClick() {
    data::CostSlots current;
    for (int k = 0; k < data::kCostSlots; ++k)
        current[std::size_t(k)] = currentSlot(k);
    const data::CostApplyResult result =
        data::ApplyCosts(context().dataDir, context().selection.building, current);
    if (result.changed && context().refreshMainWindow)
        context().refreshMainWindow(context().selection.listIndex);
    LoadCosts();
    closeThroughButton(QDialog::Accepted);
}

} // namespace velmora::ui
