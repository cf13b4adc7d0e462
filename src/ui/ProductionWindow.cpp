#include "ui/ProductionWindow.h"

#include "ui/AdditionalProductsWindow.h"
#include "ui/ImageCollection.h"
#include "ui/ProductPickerWindow.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace velmora::ui {

namespace {

constexpr QSize kClient(1323, 640);
// The slot rows span both columns of the left-hand table.
constexpr int kRowLeft = 16;
constexpr int kRowWidth = 764;
constexpr int kRowHeight = 40;
// The right-hand panel pairs: rows from the top, the original panel level with the current one.
constexpr int kPanelRows[] = {228, 272, 316};
constexpr int kPanelLeft = 836;
constexpr int kPanelWidth = 260;
constexpr int kOrgPanelLeft = 1104;
constexpr int kOrgPanelWidth = 203;

const QString kZero = QStringLiteral("0");
const QString kOne = QStringLiteral("1");

// The button pictures: the change arrow, the change arrow without action, the reset arrow.
const QString kChangePicture = QStringLiteral("ChangeProduct");
const QString kNoChangePicture = QStringLiteral("ChangeProductRed");
const QString kResetPicture = QStringLiteral("Reset");

const QString kFieldsRadiusCaption = QStringLiteral(" Felder Nutzungsradius");
const QString kContactBuild = QStringLiteral("Kontaktflächenbau");
const QString kExtendedBuild = QStringLiteral("erweiterter Flächenbau");

struct PanelNames {
    data::SidePanel panel;
    const char* current;
    const char* original;
};
const PanelNames kPanels[] = {
    {data::SidePanel::InfluenceRadius, "InfluenceRadiusPanel", "OrgInfluenceRadiusPanel"},
    {data::SidePanel::ModuleLimit, "ModuleLimitPanel", "OrgModuleLimitPanel"},
    {data::SidePanel::ModuleRadius, "ModuleRadiusPanel", "OrgModuleRadiusPanel"},
    {data::SidePanel::Incidents, "ExplosionPanel", "OrgExplosionPanel"},
    {data::SidePanel::ElectricMandatory, "ElectricMandatoryPanel", "OrgElectricMandatoryPanel"},
    {data::SidePanel::ElectricBoosted, "ElectricBoostedPanel", "OrgElectricBoostedPanel"},
};

QString name(const char* text) {
    return QString::fromLatin1(text);
}
QString name(const char* stem, int slot) {
    return QString::fromLatin1(stem) + QString::number(slot);
}

// The slot number at the end of a button's name.
int slotOf(const QString& buttonName) {
    return buttonName.isEmpty() ? -1 : buttonName.back().digitValue();
}

QString incidentText(bool possible) {
    return possible ? QStringLiteral("Zwischenfälle möglich")
                    : QStringLiteral("Zwischenfälle nicht möglich");
}
QString mandatoryText(bool required) {
    return required ? QStringLiteral("Elektrizität erforderlich")
                    : QStringLiteral("Elektrizität möglich");
}
QString boostedText(bool used) {
    return used ? QStringLiteral("Elektrizität verwenden")
                : QStringLiteral("Elektrizität nicht verwenden");
}
QString radiusText(const QString& radius) {
    return radius == kZero ? kContactBuild : kExtendedBuild;
}

} // namespace

ProductionWindow::ProductionWindow(app::UserDialogs& dialogs, ProductPickerWindow& picker,
                                   QWidget* parent, data::FileWriter& writer)
    : EditorWindow(dialogs, QStringLiteral("BasicForm"), QStringLiteral("Produktion"), kClient,
                   parent),
      picker_(picker), writer_(writer) {
    createControls();
}

QFrame* ProductionWindow::rowPanel(const QString& panelName, int top) {
    auto* panel = new QFrame(this);
    panel->setObjectName(panelName);
    panel->setGeometry(kRowLeft, top, kRowWidth, kRowHeight);
    paintPanel(panel);
    return panel;
}

QFrame* ProductionWindow::sidePanel(const QString& panelName, const QRect& geometry) {
    QFrame* panel = rowPanel(panelName, geometry.top());
    panel->setGeometry(geometry);
    return panel;
}

void ProductionWindow::createControls() {
    auto* background = pictureLabel(name("Background"), rect());
    background->setPixmap(editorBackground(size()));
    background->lower();
    setHelpId(background, QStringLiteral("30"));
    createHeader();
    QFont heading = font();
    heading.setBold(true);
    for (const auto& [objectName, text, geometry] :
         {std::tuple{"CurrentHeading", "aktuell", QRect(kRowLeft, 124, 200, 22)},
          std::tuple{"OriginalHeading", "original", QRect(kRowLeft + 424, 124, 200, 22)},
          std::tuple{"PanelCurrentHeading", "aktuell", QRect(kPanelLeft, 200, 200, 22)},
          std::tuple{"PanelOriginalHeading", "original", QRect(kOrgPanelLeft, 200, 200, 22)}})
        textLabel(name(objectName), name(text), geometry)->setFont(heading);
    createSlotRows();
    createSidePanels();

    // BuffBtn is enabled once an additional-products editor is set. The area beneath it shows
    // its help also while it is disabled.
    auto* buffArea = new QWidget(this);
    buffArea->setObjectName(name("BuffBtnArea"));
    buffArea->setGeometry(kPanelLeft, 140, kOrgPanelLeft + kOrgPanelWidth - kPanelLeft, 40);
    auto* buffBtn = new QPushButton(QStringLiteral("Zusatzwaren und Fruchtbarkeiten"), buffArea);
    buffBtn->setObjectName(name("BuffBtn"));
    buffBtn->setGeometry(0, 0, buffArea->width(), 40);
    buffBtn->setIcon(ImageCollection::instance().icon(name("buff"), {28, 28}));
    buffBtn->setIconSize({28, 28});
    buffBtn->setEnabled(false);
    setHelpId(buffArea, QStringLiteral("41"));
    connect(buffBtn, &QPushButton::clicked, this, [this] { report([this] { BuffBtnClick(); }); });

    createInfoPanel({kPanelLeft, 370, kOrgPanelLeft + kOrgPanelWidth - kPanelLeft, 190});
    createCloseButtons({kClient.width() - 16 - 170, 584, 170, 36}, {16, 584, 170, 36});

    for (const char* state :
         {"InputGUID0", "InputGUID1", "InputGUID2", "InputGUID3", "OrgInputGUID0", "OrgInputGUID1",
          "OrgInputGUID2", "OrgInputGUID3", "OutputGUID", "OrgOutPutGUID", "MaintenanceGUID2",
          "OrgMaintenanceGUID2", "IncidentChance", "OrgIncidentChance", "ElectricMandatoryStatus",
          "OrgElectricMandatoryStatus", "ElectricBoostedStatus", "OrgElectricBoostedStatus",
          "HasBuff"})
        stateLabel(name(state));
}

void ProductionWindow::createSlotRows() {
    QFont heading = font();
    heading.setBold(true);
    const auto rowHeading = [&](const char* objectName, const char* text, int top) {
        textLabel(name(objectName), QString::fromUtf8(text), {kRowLeft, top, 400, 22})
            ->setFont(heading);
    };
    const auto change = [this](QWidget* panel, const QString& objectName, const QString& what) {
        QPushButton* b = pictureButton(objectName, kChangePicture, what + QStringLiteral(" ändern"),
                                       {320, 2, 36, 36}, panel);
        connect(b, &QPushButton::clicked, this,
                [this, objectName] { report([&] { ChangeBtnClick(objectName); }); });
    };
    const auto reset = [this](QWidget* panel, const QString& objectName, const QString& what,
                              std::function<void()> action) {
        QPushButton* b =
            pictureButton(objectName, kResetPicture, what + QStringLiteral(" zurücksetzen"),
                          {360, 2, 36, 36}, panel);
        connect(b, &QPushButton::clicked, this, [this, action] { report(action); });
    };
    // One row: picture and name in both columns; a number box and its original where given.
    const auto row = [this](QFrame* panel, const QString& image, const QString& label,
                            const QString& orgImage, const QString& orgLabel, const QString& what) {
        pictureLabel(image, {4, 2, 36, 36}, what + QStringLiteral(" aktuell (Bild)"), panel);
        textLabel(label, QString(), {46, 0, 200, kRowHeight}, panel);
        pictureLabel(orgImage, {424, 2, 36, 36}, what + QStringLiteral(" original (Bild)"), panel);
        textLabel(orgLabel, QString(), {466, 0, 220, kRowHeight}, panel);
    };

    rowHeading("InputHeading", "Lieferrohstoffe", 148);
    for (int k = 0; k < 4; ++k) {
        QFrame* panel = rowPanel(name("InputPanel", k), 172 + 44 * k);
        const QString what = QStringLiteral("Eingangsprodukt %1").arg(k + 1);
        row(panel, name("InputImage", k), name("InputName", k), name("OrgInputImage", k),
            name("OrgInputName", k), what);
        change(panel, name("ChangeInputBtn", k), what);
        const QString resetName = name("ResetInputBtn", k);
        reset(panel, resetName, what, [this, resetName] { ResetInputBtnClick(resetName); });
        setHelpId(panel, QStringLiteral("31"));
    }

    rowHeading("OutputHeading", "Produktion (Ausgabeprodukt)", 350);
    QFrame* output = rowPanel(name("OutputPanel"), 374);
    row(output, name("OutputImage"), name("OutputName"), name("OrgOutPutImage"),
        name("OrgOutputName"), QStringLiteral("Ausgabeprodukt"));
    numberBox(name("OutPutValue"), 1, 3, 1, QStringLiteral("Ausgabemenge aktuell"),
              {250, 6, 64, 28}, output);
    textLabel(name("OrgOutPutValue"), QString(), {690, 0, 64, kRowHeight}, output)
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    change(output, name("ChangeOutputBtn4"), QStringLiteral("Ausgabeprodukt"));
    reset(output, name("ResetOutputBtn"), QStringLiteral("Ausgabeprodukt"),
          [this] { ResetOutputBtnClick(); });
    setHelpId(output, QStringLiteral("32"));

    rowHeading("MaintenanceHeading1", "Betriebskosten", 420);
    QFrame* money = rowPanel(name("MaintenancePanel1"), 444);
    row(money, name("MaintenanceImage1"), name("MaintenanceName1"), name("OrgMaintenanceImage1"),
        name("OrgMaintenanceName1"), QStringLiteral("Betriebskosten"));
    slot<QLabel>(name("OrgMaintenanceName1"))->setText(QStringLiteral("Münzen"));
    numberBox(name("MaintenanceAmountValue1"), 0, 5000, 100,
              QStringLiteral("Betriebskosten aktuell"), {250, 6, 64, 28}, money);
    textLabel(name("OrgMaintenanceAmount1"), QString(), {690, 0, 64, kRowHeight}, money)
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    reset(money, name("ResetMaintenance1Btn"), QStringLiteral("Betriebskosten"),
          [this] { ResetMaintenance1BtnClick(); });
    setHelpId(money, QStringLiteral("33"));

    rowHeading("MaintenanceHeading2", "Personalkosten", 490);
    QFrame* workers = rowPanel(name("MaintenancePanel2"), 514);
    row(workers, name("MaintenanceImage2"), name("MaintenanceName2"), name("OrgMaintenanceImage2"),
        name("OrgMaintenanceName2"), QStringLiteral("Arbeitskräfte"));
    numberBox(name("MaintenanceAmountValue2"), 0, 1000, 25,
              QStringLiteral("Anzahl Arbeitskräfte aktuell"), {250, 6, 64, 28}, workers);
    textLabel(name("OrgMaintenanceAmount2"), QString(), {690, 0, 64, kRowHeight}, workers)
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    change(workers, name("ChangeInputBtn5"), QStringLiteral("Art der Arbeitskräfte"));
    reset(workers, name("ResetMaintenance2Btn"), QStringLiteral("Arbeitskräfte"),
          [this] { ResetMaintenance2BtnClick(); });
    setHelpId(workers, QStringLiteral("34"));

    for (const char* box : {"OutPutValue", "MaintenanceAmountValue1", "MaintenanceAmountValue2"})
        connect(slot<QSpinBox>(name(box)), &QSpinBox::valueChanged, this,
                [this] { MarkDifferences(); });
}

void ProductionWindow::createSidePanels() {
    const auto pair = [this](const char* current, const char* original) {
        QFrame* c = sidePanel(name(current), {kPanelLeft, kPanelRows[0], kPanelWidth, kRowHeight});
        QFrame* o =
            sidePanel(name(original), {kOrgPanelLeft, kPanelRows[0], kOrgPanelWidth, kRowHeight});
        return std::pair{c, o};
    };
    const auto reset = [this](QWidget* panel, const char* objectName, const QString& what,
                              void (ProductionWindow::*handler)()) {
        QPushButton* b =
            pictureButton(name(objectName), kResetPicture, what + QStringLiteral(" zurücksetzen"),
                          {kPanelWidth - 40, 2, 36, 36}, panel);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { report([&] { (this->*handler)(); }); });
    };
    // A number panel: box, caption and reset; the original value and caption beside it.
    const auto numberPanel = [&](const char* panelName, const char* orgPanelName,
                                 const char* boxName, const char* labelName,
                                 const char* orgValueName, const char* orgLabelName, int maximum,
                                 int largeStep, const QString& what, const char* resetName,
                                 void (ProductionWindow::*handler)(), const char* helpId) {
        auto [current, original] = pair(panelName, orgPanelName);
        NumberBox* box = numberBox(name(boxName), 0, maximum, largeStep,
                                   what + QStringLiteral(" aktuell"), {6, 6, 60, 28}, current);
        textLabel(name(labelName), QString(), {72, 0, kPanelWidth - 116, kRowHeight}, current)
            ->setWordWrap(true);
        reset(current, resetName, what, handler);
        textLabel(name(orgValueName), kZero, {6, 0, 40, kRowHeight}, original)
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        textLabel(name(orgLabelName), QString(), {52, 0, kOrgPanelWidth - 56, kRowHeight}, original)
            ->setWordWrap(true);
        setHelpId(current, QString::fromLatin1(helpId));
        setHelpId(box, QString::fromLatin1(helpId));
        connect(box, &QSpinBox::valueChanged, this, [this] { MarkDifferences(); });
        return box;
    };
    numberPanel("InfluenceRadiusPanel", "OrgInfluenceRadiusPanel", "InfluenceRadius",
                "InfluenceRadiusLabel", "OrgInfluenceRadius", "OrgInfluenceRadiusLabel", 15, 5,
                QStringLiteral("Nutzungsradius"), "InfluenceRadiusReset",
                &ProductionWindow::InfluenceRadiusResetClick, "35");
    slot<QLabel>(name("InfluenceRadiusLabel"))->setText(kFieldsRadiusCaption);
    slot<QLabel>(name("OrgInfluenceRadiusLabel"))->setText(kFieldsRadiusCaption);
    numberPanel("ModuleLimitPanel", "OrgModuleLimitPanel", "ModuleLimit", "ModuleLimitName",
                "OrgModuleLimit", "OrgModuleLimitName", 500, 5, QStringLiteral("Anzahl der Module"),
                "ModuleLimitReset", &ProductionWindow::ModuleLimitResetClick, "36");
    NumberBox* radius = numberPanel("ModuleRadiusPanel", "OrgModuleRadiusPanel", "ModuleRadius",
                                    "ModuleRadiusLabel", "OrgModuleRadius", "OrgModuleRadiusLabel",
                                    150, 5, QStringLiteral("Modulradius"), "ModuleRadiusReset",
                                    &ProductionWindow::ModuleRadiusResetClick, "37");
    radius->setSingleStep(5);
    radius->setKeyboardTracking(false); // typed digits are snapped once the entry is complete
    connect(radius, &QSpinBox::valueChanged, this,
            [this] { report([this] { ModuleRadiusChange(); }); });

    // A toggle panel: toggle and its caption; the original caption beside it.
    const auto togglePanel = [&](const char* panelName, const char* orgPanelName,
                                 const char* toggleName, const char* labelName,
                                 const char* orgLabelName, const QString& what,
                                 void (ProductionWindow::*handler)(), const char* helpId) {
        auto [current, original] = pair(panelName, orgPanelName);
        QCheckBox* t =
            toggle(name(toggleName), what + QStringLiteral(" aktuell"), {8, 8, 24, 24}, current);
        textLabel(name(labelName), QString(), {38, 0, kPanelWidth - 42, kRowHeight}, current);
        textLabel(name(orgLabelName), QString(), {6, 0, kOrgPanelWidth - 10, kRowHeight}, original)
            ->setWordWrap(true);
        setHelpId(current, QString::fromLatin1(helpId));
        connect(t, &QCheckBox::toggled, this, [this, handler] {
            report([&] { (this->*handler)(); });
            MarkDifferences();
        });
    };
    togglePanel("ExplosionPanel", "OrgExplosionPanel", "ExplosionToggle", "ExplosionLabel",
                "OrgExplosionLabel", QStringLiteral("Zwischenfälle möglich"),
                &ProductionWindow::ExplosionToggleClick, "38");
    togglePanel("ElectricMandatoryPanel", "OrgElectricMandatoryPanel", "ElectricityMandatoryToggle",
                "ElectricityMandatoryLabel", "OrgElectricMandatoryLabel",
                QStringLiteral("Elektrizität erforderlich"),
                &ProductionWindow::ElectricityMandatoryToggleClick, "39");
    togglePanel("ElectricBoostedPanel", "OrgElectricBoostedPanel", "ElecricityBoostedToogle",
                "ElectricityBoostedLabel", "OrgElectricityBoostedLabel",
                QStringLiteral("Elektrizität verwenden"),
                &ProductionWindow::ElecricityBoostedToogleClick, "40");
}

// --- loading ---------------------------------------------------------------------------------

void ProductionWindow::showProduct(const char* image, const char* label, const char* guid,
                                   const data::ShownProduct& product) {
    setPicture(slot<QLabel>(name(image)), product.icon);
    slot<QLabel>(name(label))->setText(product.name);
    if (guid)
        slot<QLabel>(name(guid))->setText(product.guid);
}

void ProductionWindow::setNumber(const char* boxName, const QString& value) {
    setControlText(slot<QSpinBox>(name(boxName)), value.isEmpty() ? kZero : value);
}

void ProductionWindow::FormShow() {
    const data::ProductionSettings s =
        data::LoadProductionSettings(context().dataDir, context().selection.building);
    fillHeader();

    // Inputs; a raw-material producer's change buttons have no action and show the red arrow.
    inputsEditable_ = s.inputsEditable;
    for (int k = 0; k < 4; ++k) {
        const QByteArray n = QByteArray::number(k);
        showProduct(("InputImage" + n).constData(), ("InputName" + n).constData(),
                    ("InputGUID" + n).constData(), s.current.inputs[k]);
        showProduct(("OrgInputImage" + n).constData(), ("OrgInputName" + n).constData(),
                    ("OrgInputGUID" + n).constData(), s.original.inputs[k]);
        auto* change = slot<QPushButton>(name("ChangeInputBtn", k));
        const QString picture = inputsEditable_ ? kChangePicture : kNoChangePicture;
        change->setIcon(ImageCollection::instance().icon(picture, kSlotPicture - QSize(8, 8)));
        change->setProperty("pictureName", picture);
    }
    // Output.
    showProduct("OutputImage", "OutputName", "OutputGUID", s.current.output);
    setNumber("OutPutValue", s.current.outputAmount);
    showProduct("OrgOutPutImage", "OrgOutputName", "OrgOutPutGUID", s.original.output);
    slot<QLabel>(name("OrgOutPutValue"))->setText(s.original.outputAmount);
    // Maintenance: money (the original name keeps its caption) and workforce.
    showProduct("MaintenanceImage1", "MaintenanceName1", nullptr, s.current.money);
    setNumber("MaintenanceAmountValue1", s.current.moneyAmount);
    setPicture(slot<QLabel>(name("OrgMaintenanceImage1")), s.original.money.icon);
    slot<QLabel>(name("OrgMaintenanceAmount1"))->setText(s.original.moneyAmount);
    showProduct("MaintenanceImage2", "MaintenanceName2", "MaintenanceGUID2", s.current.workforce);
    setNumber("MaintenanceAmountValue2", s.current.workforceAmount);
    showProduct("OrgMaintenanceImage2", "OrgMaintenanceName2", "OrgMaintenanceGUID2",
                s.original.workforce);
    slot<QLabel>(name("OrgMaintenanceAmount2"))->setText(s.original.workforceAmount);
    // Modules; setting the radius runs its snapping rule.
    setNumber("ModuleLimit", s.current.moduleLimit);
    slot<QLabel>(name("ModuleLimitName"))->setText(s.current.moduleName);
    slot<QLabel>(name("OrgModuleLimit"))->setText(s.original.moduleLimit);
    slot<QLabel>(name("OrgModuleLimitName"))->setText(s.original.moduleName);
    setNumber("ModuleRadius", s.current.moduleRadius);
    ModuleRadiusChange();
    slot<QLabel>(name("OrgModuleRadius"))->setText(s.original.moduleRadius);
    slot<QLabel>(name("OrgModuleRadiusLabel"))->setText(radiusText(s.original.moduleRadius));
    // Influence radius; its captions stay as they are.
    setNumber("InfluenceRadius", s.current.influenceRadius);
    slot<QLabel>(name("OrgInfluenceRadius"))->setText(s.original.influenceRadius);
    // Incidents and electricity: each toggle runs its handler.
    const auto setToggle = [this](const char* toggleName, const QString& value,
                                  void (ProductionWindow::*handler)()) {
        slot<QCheckBox>(name(toggleName))->setChecked(value == kOne);
        (this->*handler)();
    };
    setToggle("ExplosionToggle", s.current.incidents, &ProductionWindow::ExplosionToggleClick);
    slot<QLabel>(name("OrgExplosionLabel"))->setText(incidentText(s.original.incidents == kOne));
    slot<QLabel>(name("OrgIncidentChance"))->setText(s.original.incidents);
    setToggle("ElectricityMandatoryToggle", s.current.electricMandatory,
              &ProductionWindow::ElectricityMandatoryToggleClick);
    slot<QLabel>(name("OrgElectricMandatoryLabel"))
        ->setText(mandatoryText(s.original.electricMandatory == kOne));
    slot<QLabel>(name("OrgElectricMandatoryStatus"))->setText(s.original.electricMandatory);
    setToggle("ElecricityBoostedToogle", s.current.electricBoosted,
              &ProductionWindow::ElecricityBoostedToogleClick);
    slot<QLabel>(name("OrgElectricityBoostedLabel"))
        ->setText(boostedText(s.original.electricBoosted == kOne));
    slot<QLabel>(name("OrgElectricBoostedStatus"))->setText(s.original.electricBoosted);

    layoutPanels(s.panels);
    slot<QLabel>(name("HasBuff"))->setText(s.hasBuff);
    MarkDifferences();
    ShowHelp(QStringLiteral("30"));
}

void ProductionWindow::layoutPanels(const std::vector<data::SidePanel>& panels) {
    for (const PanelNames& p : kPanels) {
        slot<QFrame>(name(p.current))->hide();
        slot<QFrame>(name(p.original))->hide();
    }
    for (std::size_t row = 0; row < panels.size() && row < std::size(kPanelRows); ++row)
        for (const PanelNames& p : kPanels)
            if (p.panel == panels[row]) {
                auto* current = slot<QFrame>(name(p.current));
                auto* original = slot<QFrame>(name(p.original));
                current->move(kPanelLeft, kPanelRows[row]);
                original->move(kOrgPanelLeft, kPanelRows[row]);
                current->show();
                original->show();
            }
}

// --- state -----------------------------------------------------------------------------------

data::ProductionSettings ProductionWindow::currentState() const {
    const auto value = [this](const char* control) {
        return controlText(slot<QWidget>(name(control)));
    };
    data::ProductionSettings s;
    s.inputsEditable = inputsEditable_;
    for (int k = 0; k < 4; ++k) {
        const QByteArray n = QByteArray::number(k);
        s.current.inputs[k].guid = value(("InputGUID" + n).constData());
        s.current.inputs[k].name = value(("InputName" + n).constData());
        s.original.inputs[k].guid = value(("OrgInputGUID" + n).constData());
        s.original.inputs[k].name = value(("OrgInputName" + n).constData());
    }
    s.current.output.guid = value("OutputGUID");
    s.current.outputAmount = value("OutPutValue");
    s.original.output.guid = value("OrgOutPutGUID");
    s.original.outputAmount = value("OrgOutPutValue");
    s.current.moneyAmount = value("MaintenanceAmountValue1");
    s.original.moneyAmount = value("OrgMaintenanceAmount1");
    s.current.workforce.guid = value("MaintenanceGUID2");
    s.current.workforceAmount = value("MaintenanceAmountValue2");
    s.original.workforce.guid = value("OrgMaintenanceGUID2");
    s.original.workforceAmount = value("OrgMaintenanceAmount2");
    s.current.influenceRadius = value("InfluenceRadius");
    s.original.influenceRadius = value("OrgInfluenceRadius");
    s.current.moduleLimit = value("ModuleLimit");
    s.original.moduleLimit = value("OrgModuleLimit");
    s.current.moduleRadius = value("ModuleRadius");
    s.original.moduleRadius = value("OrgModuleRadius");
    s.current.incidents = value("IncidentChance");
    s.original.incidents = value("OrgIncidentChance");
    s.current.electricMandatory = value("ElectricMandatoryStatus");
    s.original.electricMandatory = value("OrgElectricMandatoryStatus");
    s.current.electricBoosted = value("ElectricBoostedStatus");
    s.original.electricBoosted = value("OrgElectricBoostedStatus");
    s.hasBuff = value("HasBuff");
    return s;
}

void ProductionWindow::MarkDifferences() {
    if (!findChild<QLabel*>(name("HasBuff")))
        return; // still being built
    const data::ProductionSettings s = currentState();
    const data::ProductionColumn& c = s.current;
    const data::ProductionColumn& o = s.original;
    for (int k = 0; k < 4; ++k)
        markDifference(slot<QLabel>(name("InputName", k)), c.inputs[k].guid != o.inputs[k].guid);
    const std::pair<const char*, bool> marks[] = {
        {"OutputName", c.output.guid != o.output.guid},
        {"OutPutValue", c.outputAmount != o.outputAmount},
        {"MaintenanceAmountValue1", c.moneyAmount != o.moneyAmount},
        {"MaintenanceName2", c.workforce.guid != o.workforce.guid},
        {"MaintenanceAmountValue2", c.workforceAmount != o.workforceAmount},
        {"InfluenceRadius", c.influenceRadius != o.influenceRadius},
        {"ModuleLimit", c.moduleLimit != o.moduleLimit},
        {"ModuleRadius", c.moduleRadius != o.moduleRadius},
        {"ExplosionLabel", c.incidents != o.incidents},
        {"ElectricityMandatoryLabel", c.electricMandatory != o.electricMandatory},
        {"ElectricityBoostedLabel", c.electricBoosted != o.electricBoosted},
        {"BuffBtn", s.hasBuff == QStringLiteral("1")}, // additional products count as a change
    };
    for (const auto& [control, differs] : marks)
        markDifference(slot<QWidget>(name(control)), differs);
}

// --- handlers --------------------------------------------------------------------------------

void ProductionWindow::AcceptBtnClick() {
    const EditorContext& c = context();
    data::ApplyProductionSettings(c.dataDir, c.selection.building, currentState(), writer_);
    if (c.refreshMainWindow)
        c.refreshMainWindow(c.selection.listIndex);
    closeThroughButton(QDialog::Accepted);
}

void ProductionWindow::ChangeBtnClick(const QString& buttonName) {
    const int k = slotOf(buttonName);
    if (k < 0 || k > data::kWorkForceSlot)
        return;
    if (k < data::kOutputSlot && !inputsEditable_)
        return; // a raw-material producer's inputs are not editable
    picker_.request().caller =
        k == data::kWorkForceSlot ? data::kCallerWorkForce : data::kCallerProduction;
    picker_.request().productionSlot = k;
    picker_.openFor(this, context());
    MarkDifferences();
}

void ProductionWindow::resetFromOriginal(const std::vector<std::pair<QString, QString>>& pairs) {
    for (const auto& [original, current] : pairs) {
        auto* from = slot<QLabel>(original);
        if (original.contains(QStringLiteral("Image")))
            copyPicture(from, slot<QLabel>(current));
        else
            setControlText(slot<QWidget>(current), from->text());
    }
    MarkDifferences();
}

void ProductionWindow::ResetInputBtnClick(const QString& buttonName) {
    const int k = slotOf(buttonName);
    if (k < 0 || k >= data::kOutputSlot)
        return;
    picker_.request().productionSlot = k;
    resetFromOriginal({{name("OrgInputName", k), name("InputName", k)},
                       {name("OrgInputGUID", k), name("InputGUID", k)},
                       {name("OrgInputImage", k), name("InputImage", k)}});
}

void ProductionWindow::ResetOutputBtnClick() {
    resetFromOriginal({{name("OrgOutPutImage"), name("OutputImage")},
                       {name("OrgOutputName"), name("OutputName")},
                       {name("OrgOutPutValue"), name("OutPutValue")},
                       {name("OrgOutPutGUID"), name("OutputGUID")}});
}

void ProductionWindow::ResetMaintenance1BtnClick() {
    resetFromOriginal({{name("OrgMaintenanceImage1"), name("MaintenanceImage1")},
                       {name("OrgMaintenanceName1"), name("MaintenanceName1")},
                       {name("OrgMaintenanceAmount1"), name("MaintenanceAmountValue1")}});
}

void ProductionWindow::ResetMaintenance2BtnClick() {
    resetFromOriginal({{name("OrgMaintenanceImage2"), name("MaintenanceImage2")},
                       {name("OrgMaintenanceName2"), name("MaintenanceName2")},
                       {name("OrgMaintenanceAmount2"), name("MaintenanceAmountValue2")},
                       {name("OrgMaintenanceGUID2"), name("MaintenanceGUID2")}});
}

void ProductionWindow::InfluenceRadiusResetClick() {
    resetFromOriginal({{name("OrgInfluenceRadius"), name("InfluenceRadius")},
                       {name("OrgInfluenceRadiusLabel"), name("InfluenceRadiusLabel")}});
}

void ProductionWindow::ModuleLimitResetClick() {
    resetFromOriginal({{name("OrgModuleLimit"), name("ModuleLimit")},
                       {name("OrgModuleLimitName"), name("ModuleLimitName")}});
}

void ProductionWindow::ModuleRadiusResetClick() {
    resetFromOriginal({{name("OrgModuleRadius"), name("ModuleRadius")},
                       {name("OrgModuleRadiusLabel"), name("ModuleRadiusLabel")}});
}

void ProductionWindow::ExplosionToggleClick() {
    const bool on = slot<QCheckBox>(name("ExplosionToggle"))->isChecked();
    slot<QLabel>(name("ExplosionLabel"))->setText(incidentText(on));
    slot<QLabel>(name("IncidentChance"))->setText(on ? kOne : kZero);
}

void ProductionWindow::ElecricityBoostedToogleClick() {
    const bool on = slot<QCheckBox>(name("ElecricityBoostedToogle"))->isChecked();
    slot<QLabel>(name("ElectricityBoostedLabel"))->setText(boostedText(on));
    slot<QLabel>(name("ElectricBoostedStatus"))->setText(on ? kOne : kZero);
}

void ProductionWindow::ElectricityMandatoryToggleClick() {
    const bool on = slot<QCheckBox>(name("ElectricityMandatoryToggle"))->isChecked();
    slot<QLabel>(name("ElectricityMandatoryLabel"))->setText(mandatoryText(on));
    slot<QLabel>(name("ElectricMandatoryStatus"))->setText(on ? kOne : kZero);
    auto* boosted = slot<QCheckBox>(name("ElecricityBoostedToogle"));
    if (on) {
        boosted->setChecked(true);
        ElecricityBoostedToogleClick();
    }
    boosted->setEnabled(!on);
}

void ProductionWindow::ModuleRadiusChange() {
    auto* box = slot<QSpinBox>(name("ModuleRadius"));
    const int snapped = data::SnapModuleRadius(box->value());
    if (snapped != box->value())
        box->setValue(snapped); // runs this rule again
    slot<QLabel>(name("ModuleRadiusLabel"))->setText(radiusText(QString::number(box->value())));
}

void ProductionWindow::setAdditionalProductsWindow(AdditionalProductsWindow* form) {
    additionalProductsWindow_ = form;
    slot<QPushButton>(name("BuffBtn"))->setEnabled(form != nullptr);
}

// The editor writes the buff table and sets HasBuff, which counts as a change here.
void ProductionWindow::BuffBtnClick() {
    if (!additionalProductsWindow_)
        return;
    additionalProductsWindow_->openFor(this, context());
    MarkDifferences();
}

} // namespace velmora::ui
