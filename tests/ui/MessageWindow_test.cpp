#include "ui/MessageWindow.h"
#include "ui/UiTestSupport.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

struct Question {
    ui::MessageWindow form;
    explicit Question(const QString& message) {
        form.setHeader(QStringLiteral("Gebäude zurücksetzen"));
        QPixmap picture(64, 64);
        picture.fill(Qt::darkGray);
        form.setRemarkPicture(picture);
        form.setMessage(message);
        form.showOkButton(QStringLiteral("OK"));
        form.showAbortButton(QStringLiteral("Abbrechen"));
    }
    template <class T> T* get(const char* name) { return widget<T>(form, name); }
};

QString resetQuestion(const QString& name) {
    return name + QStringLiteral("\r\rDieses Gebäude auf die Standardwerte zurücksetzen?\r");
}

TEST(MessageWindow, LayoutFollowsTheMessage) {
    const QString cases[] = {
        resetQuestion(QStringLiteral("Fischerei")),
        resetQuestion(QStringLiteral(
            "Arsenal  Polizeiausruestung und eine sehr lange Erweiterung des Namens, "
            "die breiter ist als jede Frage")),
        QStringLiteral("Kurz"),
    };
    std::vector<int> widths;
    for (const QString& message : cases) {
        SCOPED_TRACE(message.toStdString());
        Question q(message);
        q.form.show();
        QCoreApplication::processEvents();
        const QLabel* text = q.get<QLabel>("MsgBoxLabel");
        const QRect t = text->geometry();
        EXPECT_EQ(t.topLeft(), QPoint(105, 40));
        EXPECT_GE(t.width(), text->sizeHint().width() + 30);
        const QRect ok = q.get<QPushButton>("OKBtn")->geometry();
        const QRect abort = q.get<QPushButton>("AbortBtn")->geometry();
        EXPECT_EQ(abort, QRect(16, t.bottom() + 1 + 40, 150, 30));
        EXPECT_EQ(ok.size(), QSize(150, 30));
        EXPECT_EQ(ok.top(), abort.top());
        EXPECT_EQ(ok.right(), t.right());
        EXPECT_FALSE(ok.intersects(abort));
        EXPECT_EQ(q.get<QFrame>("Line")->y(), t.bottom() + 1 + 32);
        const QLabel* remark = q.get<QLabel>("RemarkImage");
        EXPECT_EQ(q.form.width(), remark->width() + t.width() + 48);
        EXPECT_EQ(q.form.height(), t.top() + t.height() + ok.height() + 48);
        EXPECT_EQ(remark->y(), q.form.height() / 2 - 48);
        EXPECT_EQ(q.form.focusWidget(), q.get<QPushButton>("OKBtn"));
        EXPECT_TRUE(q.form.windowFlags() & Qt::FramelessWindowHint);
        widths.push_back(q.form.width());
    }
    EXPECT_GT(widths[1], widths[0]); // a long name widens the window
}

// What the user does while the window is open, and the result it ends with.
struct KeyCase {
    const char* what;
    std::function<void(ui::MessageWindow&)> act;
    int result; // -1: still open
};

TEST(MessageWindow, ClosesOnlyThroughItsButtons) {
    const KeyCase cases[] = {
        {"Enter presses OK",
         [](ui::MessageWindow& f) { QTest::keyClick(f.focusWidget(), Qt::Key_Return); },
         QDialog::Accepted},
        {"OK", [](ui::MessageWindow& f) { widget<QPushButton>(f, "OKBtn")->click(); },
         QDialog::Accepted},
        {"Abbrechen", [](ui::MessageWindow& f) { widget<QPushButton>(f, "AbortBtn")->click(); },
         QDialog::Rejected},
        {"Alt+F4",
         [](ui::MessageWindow& f) {
             // The window takes the key, so it never reaches the system, which would close it.
             QKeyEvent altF4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
             QCoreApplication::sendEvent(f.focusWidget() ? f.focusWidget() : &f, &altF4);
             EXPECT_TRUE(altF4.isAccepted());
         },
         -1},
        {"Escape", [](ui::MessageWindow& f) { QTest::keyClick(f.focusWidget(), Qt::Key_Escape); },
         -1},
        {"close request", [](ui::MessageWindow& f) { f.close(); }, -1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        Question q(resetQuestion(QStringLiteral("Fischerei")));
        bool stillOpen = false;
        whenModalShows([&] {
            c.act(q.form);
            QCoreApplication::processEvents();
            stillOpen = q.form.isVisible();
            if (stillOpen)
                q.get<QPushButton>("AbortBtn")->click();
        });
        const int result = q.form.exec();
        EXPECT_EQ(stillOpen, c.result == -1);
        if (c.result != -1) {
            EXPECT_EQ(result, c.result);
        }
    }
}

} // namespace
