#include "ui/AdditionalProductsWindow.h"

#include "data/ProductPicker.h"
#include "ui/EditorSlots.h"
#include "ui/ProductPickerWindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace velmora::ui {

namespace {

constexpr QSize kClient(1240, 700);
constexpr int kLeftColumn = 16;
constexpr int kRightColumn = 632;
constexpr int kFirstRow = 140;
constexpr int kRowHeight = 62;
const QString kNone = QStringLiteral("0");

// Slots 0 to 4 fill the left column, 5 to 8 the right one, whose fifth row is the fertility.
QPoint slotPlace(int k) {
    return k < 5 ? QPoint(kLeftColumn, kFirstRow + k * kRowHeight)
                 : QPoint(kRightColumn, kFirstRow + (k - 5) * kRowHeight);
}

// People count the slots from 1.
QString goodOf(int k) {
    return QStringLiteral("Zusatzware %1").arg(k + 1);
}

} // namespace

AdditionalProductsWindow::AdditionalProductsWindow(app::UserDialogs& dialogs, QWidget* parent)
    : EditorWindow(dialogs, QStringLiteral("BuffForm"), QStringLiteral("Zusatzwaren"), kClient,
                   parent) {
    auto* background = pictureLabel(QStringLiteral("Background"), rect());
    background->lower();
    setHelpId(background, QStringLiteral("50"));
    createHeader();
    slot<QLabel>(QStringLiteral("CaptionLabel"))->setObjectName(QStringLiteral("Label1"));
    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setGeometry(kRightColumn - 10, kFirstRow, 2, 5 * kRowHeight - 10);

    for (int k = 0; k < data::kAddSlots; ++k)
        createSlot(k, slotPlace(k));
    createFertilityRow(slotPlace(9));

    createInfoPanel({16, kFirstRow + 5 * kRowHeight + 10, 760, 160});
    createCloseButtons({kClient.width() - 186, kClient.height() - 56, 170, 36},
                       {kClient.width() - 372, kClient.height() - 56, 170, 36});
    QPushButton* fullReset = pictureButton(
        QStringLiteral("FullResetBtn"), QStringLiteral("FullReset36"),
        QStringLiteral("Alle Zusatzwaren leeren"), {16, kClient.height() - 56, 36, 36});
    connect(fullReset, &QPushButton::clicked, this,
            [this] { report([this] { FullResetBtnClick(); }); });
}

void AdditionalProductsWindow::setProductPicker(ProductPickerWindow* picker) {
    picker_ = picker;
}

void AdditionalProductsWindow::createSlot(int k, const QPoint& at) {
    const int x = at.x();
    const int y = at.y();
    const QString good = goodOf(k);
    pictureLabel(slotName("AddProductImage", k), {x, y + 4, 36, 36},
                 QStringLiteral("%1 Bild").arg(good));
    QLabel* text = textLabel(slotName("AddProductText", k), QStringLiteral("keine Auswahl"),
                             {x + 42, y, 160, 44});
    text->setWordWrap(true);
    // A label that shows a value is read as that value; the slot is its description.
    text->setAccessibleDescription(good);
    stateLabel(slotName("AddProductGUID", k));
    QPushButton* change =
        pictureButton(slotName("AddProductBtn", k), QStringLiteral("ChangeProduct"),
                      QStringLiteral("%1 ändern").arg(good), {x + 206, y + 4, 36, 36});
    QPushButton* reset =
        pictureButton(slotName("ResetAddBtn", k), QStringLiteral("Reset36"),
                      QStringLiteral("%1 leeren").arg(good), {x + 246, y + 4, 36, 36});
    textLabel(QString(), QStringLiteral("Anzahl"), {x + 292, y, 54, 44});
    numberBox(slotName("AddProductAmount", k), 0, 100, 10, QStringLiteral("%1 Menge").arg(good),
              {x + 346, y + 7, 64, 30});
    textLabel(QString(), QStringLiteral("pro Zyklus"), {x + 420, y, 76, 44});
    numberBox(slotName("AddProductCycle", k), 0, 25, 5, QStringLiteral("%1 pro Zyklus").arg(good),
              {x + 498, y + 7, 64, 30});

    connect(change, &QPushButton::clicked, this,
            [this, change] { report([&] { AddProductBtnClick(change); }); });
    if (k == 0)
        connect(reset, &QPushButton::clicked, this,
                [this, reset] { report([&] { FullResetAddBtnClick(reset); }); });
    else
        connect(reset, &QPushButton::clicked, this,
                [this, reset] { report([&] { ResetAddBtnClick(reset); }); });
}

void AdditionalProductsWindow::createFertilityRow(const QPoint& at) {
    stateLabel(QStringLiteral("FertilityGUID"));
    stateLabel(QStringLiteral("FertilityGUIDActive"));
    fertilityToggle_ = toggle(QStringLiteral("FertilityToggle"),
                              QStringLiteral("erforderliche Fruchtbarkeit hinzufügen"),
                              {at.x() + 8, at.y() + 10, 24, 24});
    pictureLabel(QStringLiteral("FertilityImage"), {at.x() + 42, at.y() + 4, 36, 36},
                 QStringLiteral("Bild der erforderlichen Fruchtbarkeit"));
    QLabel* caption =
        textLabel(QStringLiteral("FertilityLabel"), data::FertilityCaption(false, kNone),
                  {at.x() + 86, at.y(), 500, 44});
    caption->setWordWrap(true);
    connect(fertilityToggle_, &QCheckBox::toggled, this,
            [this] { report([this] { FertilityToggleClick(); }); });
}

void AdditionalProductsWindow::FormShow() {
    fillHeader();
    const data::AdditionalProducts state =
        data::LoadAdditionalProducts(context().dataDir, context().selection.building);
    FullResetBtnClick();

    slot<QLabel>(QStringLiteral("FertilityGUID"))->setText(state.fertilityGuid);
    const std::optional<data::Fertility> fertility = data::FertilityByGuid(state.fertilityGuid);
    setPicture(slot<QLabel>(QStringLiteral("FertilityImage")),
               state.fertilityOffered && fertility ? fertility->image : QString());
    for (const char* name : {"FertilityToggle", "FertilityLabel", "FertilityImage"})
        slot<QWidget>(QString::fromLatin1(name))->setVisible(state.fertilityOffered);
    setFertilityOn(state.fertilityOn);

    setHasBuff(state.hasBuff);
    for (int k = 0; k < data::kAddSlots; ++k)
        showSlot(k, state.goods[std::size_t(k)]);
    ShowHelp(QStringLiteral("50"));
}

void AdditionalProductsWindow::showSlot(int k, const data::AddSlot& s) {
    slot<QLabel>(slotName("AddProductGUID", k))->setText(s.guid);
    slot<QLabel>(slotName("AddProductText", k))->setText(s.name);
    setPicture(slot<QLabel>(slotName("AddProductImage", k)), s.image);
    for (const char* stem : {"AddProductAmount", "AddProductCycle"})
        slot<NumberBox>(slotName(stem, k))->setMinimum(0);
    setControlText(slot<NumberBox>(slotName("AddProductAmount", k)), s.amount);
    setControlText(slot<NumberBox>(slotName("AddProductCycle", k)), s.cycle);
    fitBoxes(k);
}

void AdditionalProductsWindow::fitBoxes(int k) {
    const bool filled = slot<QLabel>(slotName("AddProductGUID", k))->text() != kNone;
    for (const char* stem : {"AddProductAmount", "AddProductCycle"})
        slot<NumberBox>(slotName(stem, k))->setMinimum(filled ? 1 : 0);
}

void AdditionalProductsWindow::emptySlot(int k) {
    showSlot(k, data::AddSlot{});
}

void AdditionalProductsWindow::setFertilityOn(bool on) {
    if (fertilityToggle_->isChecked() == on)
        FertilityToggleClick(); // the caption and the active GUID follow the state in any case
    else
        fertilityToggle_->setChecked(on);
}

void AdditionalProductsWindow::FertilityToggleClick() {
    const bool on = fertilityToggle_->isChecked();
    const QString needed = slot<QLabel>(QStringLiteral("FertilityGUID"))->text();
    slot<QLabel>(QStringLiteral("FertilityLabel"))->setText(data::FertilityCaption(on, needed));
    slot<QLabel>(QStringLiteral("FertilityGUIDActive"))->setText(on ? needed : kNone);
}

void AdditionalProductsWindow::setHasBuff(const QString& value) {
    if (QWidget* window = opener())
        if (auto* hasBuff = window->findChild<QLabel*>(QStringLiteral("HasBuff")))
            hasBuff->setText(value);
}

void AdditionalProductsWindow::AddProductBtnClick(const QPushButton* button) {
    const int k = slotNumber(button);
    if (!picker_ || k < 0 || k >= data::kAddSlots)
        return;
    // The picker's removal row puts "0" into the boxes.
    for (const char* stem : {"AddProductAmount", "AddProductCycle"})
        slot<NumberBox>(slotName(stem, k))->setMinimum(0);
    picker_->request().caller = data::kCallerAdditionalProducts;
    picker_->request().additionalProductSlot = k;
    picker_->openFor(this, context());
    fitBoxes(k);
}

void AdditionalProductsWindow::FullResetAddBtnClick(const QPushButton* button) {
    setFertilityOn(false);
    ResetAddBtnClick(button);
}

void AdditionalProductsWindow::ResetAddBtnClick(const QPushButton* button) {
    const int k = slotNumber(button);
    if (k >= 0 && k < data::kAddSlots)
        emptySlot(k);
}

void AdditionalProductsWindow::FullResetBtnClick() {
    setFertilityOn(false);
    for (int k = 0; k < data::kAddSlots; ++k)
        emptySlot(k);
}

void AdditionalProductsWindow::AcceptBtnClick() {
    data::AddSlots goods;
    for (int k = 0; k < data::kAddSlots; ++k) {
        data::AddSlot& s = goods[std::size_t(k)];
        s.guid = slot<QLabel>(slotName("AddProductGUID", k))->text();
        s.amount = controlText(slot<NumberBox>(slotName("AddProductAmount", k)));
        s.cycle = controlText(slot<NumberBox>(slotName("AddProductCycle", k)));
    }
    const data::BuffApplyResult result =
        data::ApplyAdditionalProducts(context().dataDir, context().selection.building, goods,
                                      slot<QLabel>(QStringLiteral("FertilityGUIDActive"))->text());
    setHasBuff(result.hasBuff);
    closeThroughButton(QDialog::Accepted);
}

} // namespace velmora::ui
