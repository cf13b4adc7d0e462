#pragma once
// The common frame of the building editors and the product picker: a modal window of fixed
// size without title-bar buttons, centred on the window that opened it, which closes only
// through its buttons "Annehmen" and "Abbrechen" (Alt+F4 and Escape do nothing, and Enter in a
// number box commits the typed value and presses no button; on a focused button it presses it).
//
// Opening, in this order: the opener's context (data directory, selection values, refresh of
// the main window) is taken over; FormShow loads the window's state (a failure is reported and
// the window does not open); the window is centred on the opener and runs modally.
//
// The pieces every editor shares are made here: the header (BuildingIconImage and
// BuildingRegionImage at 96 by 96, BuildingGUIDLabel, BuildingNameLabel and the window's
// caption), the info panel (InfoLabel, InfoText) filled by help id when the mouse moves over a
// control, and the named slot controls. Every control a user operates gets a German accessible
// name; a control with a help id gets the help text as accessible description; a label that
// shows a value is read as that value. State labels lie outside the client area, hidden, where
// neither the user nor a screen reader meets them but the program finds them by name.
#include "data/BuildingBrowser.h"
#include "data/ProductPicker.h"

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QSpinBox>
#include <functional>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace velmora::app {
class UserDialogs;
}

namespace velmora::ui {

// Size of the pictures in the slots of the editors.
inline constexpr QSize kSlotPicture(36, 36);
// Size of the header pictures.
inline constexpr QSize kHeaderPicture(96, 96);

// What an editor needs of the main window.
struct EditorContext {
    QString dataDir;
    data::SelectionValues selection;
    // The main window's refresh after a saved change: FillBuildingList, the remembered row
    // selected again, ScrollToSelection, BuildingsViewClick. May be empty (nothing to refresh).
    std::function<void(int rememberedRow)> refreshMainWindow;
};

// A number box whose large step (Page Up, Page Down) is its own, not ten small steps.
class NumberBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
    void setLargeStep(int step) { largeStep_ = step; }
    int largeStep() const { return largeStep_; }
    void stepBy(int steps) override;

private:
    int largeStep_ = 10;
};

// The text a slot control shows: a label's text, a number box's value, a toggle's "1"/"0".
QString controlText(const QWidget* control);
// Sets the text of a label or line edit, or the value of a number box. Raises DataError for
// another kind of control or a number box given no number.
void setControlText(QWidget* control, const QString& text);
// Shows the collection picture named name on a picture label, after clearing the old one; the
// name is kept in the label's property "pictureName".
void setPicture(QLabel* label, const QString& name, QSize size = kSlotPicture);
QString pictureName(const QLabel* label);
// Copies picture and picture name from one label to another.
void copyPicture(const QLabel* from, QLabel* to);

// Marks a current-column control whose value differs from the original column: bold and in the
// accent colour. The mark is kept in the property "differsFromOriginal".
void markDifference(QWidget* control, bool differs);
inline const QColor kDifferenceColour(0xb0, 0x3a, 0x0c);

// The editors' background: a calm slate gradient of the given size.
QPixmap editorBackground(QSize size);
// A light panel with a frame, drawn through the palette (a style sheet would cut the panel's
// children off from the window's font).
void paintPanel(QFrame* panel);

// Carries out the picker's hand-back on the opener's child controls, found by objectName. All
// controls are looked up first; a missing one raises DataError naming it and nothing changes.
void ApplySlotAssignments(QWidget& opener, const std::vector<data::SlotAssignment>& assignments);

class EditorWindow : public QDialog {
    Q_OBJECT
public:
    EditorWindow(app::UserDialogs& dialogs, const QString& objectName, const QString& caption,
                 QSize clientSize, QWidget* parent = nullptr);

    // Loads the window for the context (FormShow); false, after the error was shown, when the
    // loading failed. The opener is the window the editor is centred on.
    bool load(QWidget* opener, const EditorContext& context);
    // load, then the window runs modally; the QDialog result (Accepted after "Annehmen").
    int openFor(QWidget* opener, const EditorContext& context);

    const EditorContext& context() const { return context_; }
    // The window this one was opened from (nullptr before the first opening).
    QWidget* opener() const { return opener_; }

    // "Annehmen" and "Abbrechen". The window closes when AcceptBtnClick calls
    // closeThroughButton; a failure inside it is reported and leaves the window open.
    virtual void AcceptBtnClick() = 0;
    void AbortBtnClick();

protected:
    // The loading sequence of the window.
    virtual void FormShow() = 0;
    void closeThroughButton(int result);

    // Runs a handler as the windows do: a failure is shown to the user instead of escaping.
    void report(const std::function<void()>& action);
    app::UserDialogs& dialogs() { return dialogs_; }

    // The header along the top edge: icon, caption, name and GUID, region picture.
    void createHeader();
    void fillHeader();
    // The info panel in the given area of the client.
    void createInfoPanel(const QRect& area);
    // "Annehmen" and "Abbrechen" at the given places.
    void createCloseButtons(const QRect& accept, const QRect& abort);
    // Shows a help entry in the info panel (when the window has one).
    void ShowHelp(const QString& id);
    // The control shows help entry id when the mouse moves over it.
    void setHelpId(QWidget* control, const QString& id);

    // Named controls. Accessible names are German and say what the control is.
    QLabel* textLabel(const QString& name, const QString& text, const QRect& geometry,
                      QWidget* parent = nullptr);
    QLabel* pictureLabel(const QString& name, const QRect& geometry,
                         const QString& accessibleName = QString(), QWidget* parent = nullptr);
    // A label outside the client area that holds a value of the window's state.
    QLabel* stateLabel(const QString& name, const QString& text = QStringLiteral("0"));
    NumberBox* numberBox(const QString& name, int minimum, int maximum, int largeStep,
                         const QString& accessibleName, const QRect& geometry,
                         QWidget* parent = nullptr);
    QPushButton* pictureButton(const QString& name, const QString& picture,
                               const QString& accessibleName, const QRect& geometry,
                               QWidget* parent = nullptr);
    QCheckBox* toggle(const QString& name, const QString& accessibleName, const QRect& geometry,
                      QWidget* parent = nullptr);
    // A child control by name; raises DataError when the window has none of that type.
    template <class T> T* slot(const QString& name) const {
        T* control = qobject_cast<T*>(namedChild(name));
        if (!control)
            missingControl(name);
        return control;
    }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QPushButton* acceptBtn_ = nullptr;
    QPushButton* abortBtn_ = nullptr;

private:
    [[noreturn]] void missingControl(const QString& name) const;
    // The child of that name; found once, then remembered (the controls live as long as the
    // window).
    QWidget* namedChild(const QString& name) const;
    void describeHelpControls();

    app::UserDialogs& dialogs_;
    QString caption_;
    EditorContext context_;
    QWidget* opener_ = nullptr;
    QLabel* iconImage_ = nullptr;
    QLabel* regionImage_ = nullptr;
    QLabel* guidLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* infoLabel_ = nullptr;
    QLabel* infoText_ = nullptr;
    int stateLabels_ = 0;
    mutable QHash<QString, QPointer<QWidget>> named_;
    bool closingThroughButton_ = false;
};

} // namespace velmora::ui
