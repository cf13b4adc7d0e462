#include "ui/EditorWindow.h"

#include "data/DataError.h"
#include "data/HelpTable.h"
#include "ui/AppStyle.h"
#include "ui/ErrorReport.h"
#include "ui/ImageCollection.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace velmora::ui {

namespace {
const char* const kHelpIdProperty = "helpId";
const char* const kPictureNameProperty = "pictureName";
const char* const kDifferenceProperty = "differsFromOriginal";
constexpr int kStateLabelGap = 10;
constexpr int kStateLabelHeight = 20;
} // namespace

void NumberBox::stepBy(int steps) {
    // Page Up and Page Down step ten times the small step.
    if ((steps == 10 || steps == -10) && singleStep() > 0)
        steps = (steps > 0 ? 1 : -1) * std::max(1, largeStep_ / singleStep());
    QSpinBox::stepBy(steps);
}

QString controlText(const QWidget* control) {
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* box = qobject_cast<const QSpinBox*>(control))
        return QString::number(box->value());
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* check = qobject_cast<const QAbstractButton*>(control))
        return check->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    return {};
}

void setControlText(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
        return;
    }
    if (auto* box = qobject_cast<QSpinBox*>(control)) {
        bool number = false;
        const int value = text.toInt(&number);
        if (!number)
            throw data::DataError(
                QStringLiteral("\u201E%1\u201C ist keine Zahl für \u201E%2\u201C.")
                    .arg(text, control->objectName()));
        box->setValue(value);
        return;
    }
    throw data::DataError(QStringLiteral("Das Feld \u201E%1\u201C nimmt keinen Text auf.")
                              .arg(control ? control->objectName() : QString()));
}

void setPicture(QLabel* label, const QString& name, QSize size) {
    label->clear();
    label->setPixmap(ImageCollection::instance().picture(name, size));
    label->setProperty(kPictureNameProperty, name);
}

QString pictureName(const QLabel* label) {
    return label->property(kPictureNameProperty).toString();
}

void copyPicture(const QLabel* from, QLabel* to) {
    to->clear();
    to->setPixmap(from->pixmap());
    to->setProperty(kPictureNameProperty, pictureName(from));
}

void markDifference(QWidget* control, bool differs) {
    const QVariant before = control->property(kDifferenceProperty);
    if (before.isValid() && before.toBool() == differs)
        return;
    control->setProperty(kDifferenceProperty, differs);
    // A number box draws its text in its line edit, which takes the mark too.
    QList<QWidget*> targets = {control};
    for (QLineEdit* edit : control->findChildren<QLineEdit*>())
        targets << edit;
    for (QWidget* target : std::as_const(targets)) {
        QFont font = target->font();
        font.setBold(differs);
        target->setFont(font);
        QPalette palette = target->palette();
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
            for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
                palette.setColor(group, role, differs ? kDifferenceColour : kMainTextColour);
        target->setPalette(palette);
    }
}

QPixmap editorBackground(QSize size) {
    QPixmap canvas(size);
    QPainter painter(&canvas);
    QLinearGradient base(0, 0, 0, size.height());
    base.setColorAt(0, QColor(0xe9, 0xed, 0xf1));
    base.setColorAt(1, QColor(0xc9, 0xd1, 0xd9));
    painter.fillRect(canvas.rect(), base);
    return canvas;
}

void paintPanel(QFrame* panel) {
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(250, 250, 248));
    panel->setPalette(palette);
}

void ApplySlotAssignments(QWidget& opener, const std::vector<data::SlotAssignment>& assignments) {
    std::vector<QWidget*> controls;
    for (const data::SlotAssignment& a : assignments) {
        QWidget* control = opener.findChild<QWidget*>(a.control);
        const bool fits =
            a.kind == data::SlotAssignment::Picture
                ? qobject_cast<QLabel*>(control) != nullptr
                : (qobject_cast<QLabel*>(control) || qobject_cast<QSpinBox*>(control) ||
                   qobject_cast<QLineEdit*>(control));
        if (!fits)
            throw data::DataError(
                QStringLiteral("Das Fenster \u201E%1\u201C hat kein passendes Feld \u201E%2\u201C.")
                    .arg(opener.objectName(), a.control));
        controls.push_back(control);
    }
    for (std::size_t i = 0; i < assignments.size(); ++i) {
        const data::SlotAssignment& a = assignments[i];
        switch (a.kind) {
        case data::SlotAssignment::Picture:
            setPicture(qobject_cast<QLabel*>(controls[i]), a.value);
            break;
        case data::SlotAssignment::TextIfZero:
            if (controlText(controls[i]) == QStringLiteral("0"))
                setControlText(controls[i], a.value);
            break;
        case data::SlotAssignment::Text:
            setControlText(controls[i], a.value);
            break;
        }
    }
}

EditorWindow::EditorWindow(app::UserDialogs& dialogs, const QString& objectName,
                           const QString& caption, QSize clientSize, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs), caption_(caption) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(true);
    setFixedSize(clientSize);
    ApplyMainWindowLook(*this);
    setMouseTracking(true);
}

bool EditorWindow::load(QWidget* opener, const EditorContext& context) {
    opener_ = opener;
    context_ = context;
    bool loaded = false;
    report([&] {
        FormShow();
        loaded = true;
    });
    return loaded;
}

int EditorWindow::openFor(QWidget* opener, const EditorContext& context) {
    if (!load(opener, context))
        return QDialog::Rejected;
    return exec();
}

void EditorWindow::AbortBtnClick() {
    closeThroughButton(QDialog::Rejected);
}

void EditorWindow::closeThroughButton(int result) {
    closingThroughButton_ = true;
    done(result);
    closingThroughButton_ = false;
}

void EditorWindow::report(const std::function<void()>& action) {
    ReportErrors(this, dialogs_, action);
}

void EditorWindow::createHeader() {
    iconImage_ = pictureLabel(QStringLiteral("BuildingIconImage"),
                              {16, 12, kHeaderPicture.width(), kHeaderPicture.height()});
    regionImage_ = pictureLabel(QStringLiteral("BuildingRegionImage"),
                                {width() - 16 - kHeaderPicture.width(), 12, kHeaderPicture.width(),
                                 kHeaderPicture.height()});
    QLabel* caption =
        textLabel(QStringLiteral("CaptionLabel"), caption_, {128, 14, width() - 256, 34});
    QFont big = font();
    big.setBold(true);
    big.setPointSize(font().pointSize() + 6);
    caption->setFont(big);
    nameLabel_ =
        textLabel(QStringLiteral("BuildingNameLabel"), QString(), {128, 52, width() - 256, 26});
    QFont bold = font();
    bold.setBold(true);
    nameLabel_->setFont(bold);
    guidLabel_ =
        textLabel(QStringLiteral("BuildingGUIDLabel"), QString(), {128, 80, width() - 256, 24});
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("HeaderLine"));
    line->setFrameShape(QFrame::HLine);
    line->setGeometry(16, 116, width() - 32, 2);
}

void EditorWindow::fillHeader() {
    const data::SelectionValues& s = context_.selection;
    guidLabel_->setText(s.building);
    nameLabel_->setText(s.buildingName);
    setPicture(iconImage_, s.buildingIcon, kHeaderPicture);
    setPicture(regionImage_, s.buildingRegionImage, kHeaderPicture);
}

void EditorWindow::createInfoPanel(const QRect& area) {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("InfoPanel"));
    frame->setGeometry(area);
    paintPanel(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(6);
    infoLabel_ = textLabel(QStringLiteral("InfoLabel"), QString(), {}, frame);
    QFont heading = font();
    heading.setBold(true);
    infoLabel_->setFont(heading);
    infoLabel_->setWordWrap(true);
    infoText_ = textLabel(QStringLiteral("InfoText"), QString(), {}, frame);
    infoText_->setFont(font());
    infoText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    infoText_->setWordWrap(true);
    layout->addWidget(infoLabel_);
    layout->addWidget(infoText_, 1);
}

void EditorWindow::createCloseButtons(const QRect& accept, const QRect& abort) {
    abortBtn_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    abortBtn_->setObjectName(QStringLiteral("AbortBtn"));
    abortBtn_->setGeometry(abort);
    acceptBtn_ = new QPushButton(QStringLiteral("Annehmen"), this);
    acceptBtn_->setObjectName(QStringLiteral("AcceptBtn"));
    acceptBtn_->setGeometry(accept);
    acceptBtn_->setDefault(true);
    connect(abortBtn_, &QPushButton::clicked, this, [this] { AbortBtnClick(); });
    connect(acceptBtn_, &QPushButton::clicked, this,
            [this] { report([this] { AcceptBtnClick(); }); });
}

void EditorWindow::ShowHelp(const QString& id) {
    if (!infoLabel_)
        return;
    infoLabel_->setText(data::GetHelpLabel(id));
    QString text = data::GetHelpText(id);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    infoText_->setText(text);
}

void EditorWindow::setHelpId(QWidget* control, const QString& id) {
    control->setProperty(kHelpIdProperty, id);
    control->setMouseTracking(true);
    control->installEventFilter(this);
    // The children of a panel pass the movement on to it.
    for (QWidget* child : control->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

void EditorWindow::describeHelpControls() {
    for (QWidget* control : findChildren<QWidget*>()) {
        const QVariant id = control->property(kHelpIdProperty);
        if (!id.isValid())
            continue;
        QString text = data::GetHelpText(id.toString()).simplified();
        const QString label = data::GetHelpLabel(id.toString()).simplified();
        if (!label.isEmpty())
            text = label + QStringLiteral(": ") + text;
        control->setAccessibleDescription(text);
    }
}

QLabel* EditorWindow::textLabel(const QString& name, const QString& text, const QRect& geometry,
                                QWidget* parent) {
    auto* label = new QLabel(text, parent ? parent : this);
    label->setObjectName(name);
    // Under the application's style sheet a control does not take its parent's font: every
    // control gets the window's own.
    label->setFont(font());
    if (geometry.isValid())
        label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLabel* EditorWindow::pictureLabel(const QString& name, const QRect& geometry,
                                   const QString& accessibleName, QWidget* parent) {
    QLabel* label = textLabel(name, QString(), geometry, parent);
    label->setAlignment(Qt::AlignCenter);
    if (!accessibleName.isEmpty())
        label->setAccessibleName(accessibleName);
    return label;
}

QLabel* EditorWindow::stateLabel(const QString& name, const QString& text) {
    const QRect place(width() + kStateLabelGap, kStateLabelGap + stateLabels_ * kStateLabelHeight,
                      120, kStateLabelHeight);
    ++stateLabels_;
    QLabel* label = textLabel(name, text, place);
    // Hidden, it is no showing object for assistive technology: a screen reader reads no stray
    // GUIDs. The program reads and writes it by name all the same.
    label->hide();
    return label;
}

NumberBox* EditorWindow::numberBox(const QString& name, int minimum, int maximum, int largeStep,
                                   const QString& accessibleName, const QRect& geometry,
                                   QWidget* parent) {
    auto* box = new NumberBox(parent ? parent : this);
    box->setObjectName(name);
    box->setFont(font());
    for (QLineEdit* edit : box->findChildren<QLineEdit*>())
        edit->setFont(font());
    box->setRange(minimum, maximum);
    box->setLargeStep(largeStep);
    box->setGeometry(geometry);
    box->setAccessibleName(accessibleName);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QPushButton* EditorWindow::pictureButton(const QString& name, const QString& picture,
                                         const QString& accessibleName, const QRect& geometry,
                                         QWidget* parent) {
    auto* b = new QPushButton(parent ? parent : this);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setIcon(ImageCollection::instance().icon(picture, kSlotPicture - QSize(8, 8)));
    b->setIconSize(kSlotPicture - QSize(8, 8));
    b->setAccessibleName(accessibleName);
    b->setToolTip(accessibleName);
    b->setProperty(kPictureNameProperty, picture);
    b->setStyleSheet(QStringLiteral("padding: 2px;"));
    return b;
}

QCheckBox* EditorWindow::toggle(const QString& name, const QString& accessibleName,
                                const QRect& geometry, QWidget* parent) {
    auto* t = new QCheckBox(parent ? parent : this);
    t->setObjectName(name);
    t->setFont(font());
    t->setGeometry(geometry);
    t->setAccessibleName(accessibleName);
    return t;
}

QWidget* EditorWindow::namedChild(const QString& name) const {
    QPointer<QWidget>& known = named_[name];
    if (!known)
        known = findChild<QWidget*>(name);
    return known;
}

void EditorWindow::missingControl(const QString& name) const {
    throw data::DataError(QStringLiteral("Das Fenster \u201E%1\u201C hat kein Feld \u201E%2\u201C.")
                              .arg(objectName(), name));
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    const bool altF4 = event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier);
    // Enter reaches the window only from a control that did not take it, such as a number box
    // that has just committed the typed value: it presses no button then. A focused button
    // takes Enter itself and is pressed.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (altF4 || enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Only the buttons close the window.
void EditorWindow::closeEvent(QCloseEvent* event) {
    if (closingThroughButton_)
        event->accept();
    else
        event->ignore();
}

void EditorWindow::showEvent(QShowEvent* event) {
    describeHelpControls();
    const QWidget* anchor = opener_ ? opener_->window() : nullptr;
    QRect area;
    if (anchor && anchor->isVisible())
        area = anchor->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        // The movement over a control without help of its own shows the help of the panel or
        // row it lies in.
        for (auto* control = qobject_cast<QWidget*>(watched); control && control != this;
             control = control->parentWidget()) {
            const QVariant id = control->property(kHelpIdProperty);
            if (id.isValid()) {
                ShowHelp(id.toString());
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace velmora::ui
