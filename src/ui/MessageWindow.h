#pragma once
// The message window: a borderless modal question with a coloured header bar, a picture, the
// message and up to two buttons.
//
// Use: set the header, the picture and the message, show the buttons that are wanted with their
// captions, then exec(). The result is QDialog::Accepted when OKBtn was pressed.
//
// On show, in this order: MsgBoxLabel is placed at (105, 40), sized to its text and made 30
// wider; the separator Line goes 32 below it, AbortBtn (left) and OKBtn (right edge under the
// text's right edge) 40 below it; the window is sized around them and centred on the screen;
// RemarkImage is centred vertically; HeaderLabel comes to the front and OKBtn takes the focus,
// so Enter presses it. The window closes only through its buttons: Escape and Alt+F4 do nothing.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace velmora::ui {

class MessageWindow : public QDialog {
    Q_OBJECT
public:
    explicit MessageWindow(QWidget* parent = nullptr);

    void setHeader(const QString& text);
    void setRemarkPicture(const QPixmap& picture);
    // Carriage returns in the text break lines.
    void setMessage(const QString& text);
    // Shows a button with the caption; hideButtons() hides both again.
    void showOkButton(const QString& caption);
    void showAbortButton(const QString& caption);
    void hideButtons();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormShow();
    void closeThroughButton(int result);

    QFrame* shape1_;
    QLabel* header_;
    QLabel* remark_;
    QLabel* message_;
    QFrame* line_;
    QPushButton* ok_;
    QPushButton* abort_;
    bool closingThroughButton_ = false;
};

} // namespace velmora::ui
