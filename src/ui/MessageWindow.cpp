#include "ui/MessageWindow.h"

#include "ui/AppStyle.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace velmora::ui {

namespace {
constexpr int kHeaderHeight = 28;
constexpr int kRemarkLeft = 24;
// Below this width OKBtn, right-aligned under the text, would cover AbortBtn.
constexpr int kMinMessageWidth = 16 + 150 + 12 + 150 - 105;
} // namespace

MessageWindow::MessageWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("MessageForm"));
    setModal(true);
    ApplyMainWindowLook(*this);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);

    shape1_ = new QFrame(this);
    shape1_->setObjectName(QStringLiteral("Shape1"));
    shape1_->setStyleSheet(
        QStringLiteral("#Shape1 { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                       "stop:0 #44505c, stop:1 #6c7a89); border: none; }"));
    header_ = new QLabel(this);
    header_->setObjectName(QStringLiteral("HeaderLabel"));
    QFont bold = font();
    bold.setBold(true);
    header_->setFont(bold);
    header_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    remark_ = new QLabel(this);
    remark_->setObjectName(QStringLiteral("RemarkImage"));
    remark_->setFixedSize(64, 64);
    remark_->setAlignment(Qt::AlignCenter);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("MsgBoxLabel"));
    message_->setTextFormat(Qt::PlainText);
    line_ = new QFrame(this);
    line_->setObjectName(QStringLiteral("Line"));
    line_->setFrameShape(QFrame::HLine);
    line_->setStyleSheet(QStringLiteral("#Line { color: #c3ccd6; }"));
    ok_ = new QPushButton(this);
    ok_->setObjectName(QStringLiteral("OKBtn"));
    ok_->setDefault(true);
    abort_ = new QPushButton(this);
    abort_->setObjectName(QStringLiteral("AbortBtn"));
    hideButtons();
    connect(ok_, &QPushButton::clicked, this, [this] { closeThroughButton(QDialog::Accepted); });
    connect(abort_, &QPushButton::clicked, this, [this] { closeThroughButton(QDialog::Rejected); });
}

void MessageWindow::setHeader(const QString& text) {
    header_->setText(text);
}
void MessageWindow::setRemarkPicture(const QPixmap& picture) {
    remark_->setPixmap(picture);
}

void MessageWindow::setMessage(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    message_->setText(shown);
}

void MessageWindow::showOkButton(const QString& caption) {
    ok_->setText(caption);
    ok_->show();
}

void MessageWindow::showAbortButton(const QString& caption) {
    abort_->setText(caption);
    abort_->show();
}

void MessageWindow::hideButtons() {
    ok_->hide();
    abort_->hide();
}

void MessageWindow::FormShow() {
    message_->move(105, 40);
    message_->adjustSize();
    message_->resize(std::max(message_->width() + 30, kMinMessageWidth), message_->height());
    const int below = message_->geometry().bottom() + 1;
    const int right = message_->geometry().right() + 1;
    abort_->setGeometry(16, below + 40, 150, 30);
    ok_->setGeometry(right - 150, below + 40, 150, 30);

    const int width = remark_->width() + message_->width() + 48;
    const int height = message_->y() + message_->height() + ok_->height() + 48;
    setFixedSize(width, height);
    line_->setGeometry(16, below + 32, width - 32, 1);
    remark_->move(kRemarkLeft, height / 2 - 48);
    shape1_->setGeometry(0, 0, width, kHeaderHeight);
    header_->setGeometry(12, 0, width - 24, kHeaderHeight);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + std::abs(s.width() - width) / 2, s.y() + std::abs(s.height() - height) / 2);
    }
    header_->raise();
    ok_->setFocus();
}

void MessageWindow::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void MessageWindow::keyPressEvent(QKeyEvent* event) {
    const bool altF4 = event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier);
    if (altF4 || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MessageWindow::closeThroughButton(int result) {
    closingThroughButton_ = true;
    done(result);
    closingThroughButton_ = false;
}

// Only the buttons close the window.
void MessageWindow::closeEvent(QCloseEvent* event) {
    if (closingThroughButton_)
        event->accept();
    else
        event->ignore();
}

void MessageWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(0x44, 0x50, 0x5c));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace velmora::ui
