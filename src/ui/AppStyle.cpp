#include "ui/AppStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

namespace velmora::ui {

namespace {

// Slate greys from light to dark, and the accent for selections.
const QColor kSlate50(0xf3, 0xf5, 0xf7);
const QColor kSlate100(0xe2, 0xe7, 0xec);
const QColor kSlate300(0xaa, 0xb5, 0xc1);
const QColor kSlate500(0x6c, 0x7a, 0x89);
const QColor kSlate700(0x44, 0x50, 0x5c);

const char* const kStyleSheet = R"(
QPushButton {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f6f8, stop:1 #d5dce3);
    border: 1px solid #7d8a98;
    border-radius: 4px;
    padding: 4px 12px;
}
QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e1e7ed); border-color: #56636f; }
QPushButton:pressed { background: #c3ccd6; }
QPushButton:focus { border-color: #44505c; }
QPushButton:disabled { background: #e4e7ea; border-color: #b7bfc7; color: #9aa2aa; }
QListWidget, QTreeWidget, QListView, QTreeView {
    background: #fafaf8;
    border: 1px solid #7d8a98;
    border-radius: 3px;
    outline: 0;
}
QListView::item, QTreeView::item { border: none; padding: 2px; }
QListView::item:hover, QTreeView::item:hover { background: rgba(108, 122, 137, 40); }
QListView::item:selected, QTreeView::item:selected { background: #6c7a89; color: #ffffff; }
QScrollBar:vertical { background: #e2e7ec; width: 14px; margin: 0; border-left: 1px solid #c3ccd6; }
QScrollBar::handle:vertical { background: #9aa6b3; border-radius: 4px; min-height: 30px; margin: 2px; }
QScrollBar::handle:vertical:hover { background: #6c7a89; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }
)";

} // namespace

void ApplyApplicationStyle(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        app.setStyle(fusion);
    QPalette p;
    p.setColor(QPalette::Window, kSlate100);
    p.setColor(QPalette::Base, kSlate50);
    p.setColor(QPalette::AlternateBase, kSlate100);
    p.setColor(QPalette::Button, kSlate100);
    p.setColor(QPalette::Mid, kSlate300);
    p.setColor(QPalette::Dark, kSlate500);
    p.setColor(QPalette::Shadow, kSlate700);
    p.setColor(QPalette::WindowText, kMainTextColour);
    p.setColor(QPalette::Text, kMainTextColour);
    p.setColor(QPalette::ButtonText, kMainTextColour);
    // The selection stays visible when a list has no focus.
    for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Highlight, kSlate500);
        p.setColor(g, QPalette::HighlightedText, Qt::white);
    }
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x9a, 0xa2, 0xaa));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x9a, 0xa2, 0xaa));
    app.setPalette(p);
    app.setStyleSheet(QString::fromLatin1(kStyleSheet));
}

QFont MainWindowFont() {
    const bool registered = QFontDatabase::families().contains(QStringLiteral("Heuristica"));
    QFont font(registered ? QStringLiteral("Heuristica") : QStringLiteral("MS Sans Serif"));
    font.setPointSize(10);
    return font;
}

void ApplyMainWindowLook(QWidget& window) {
    window.setFont(MainWindowFont());
    QPalette p = window.palette();
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
            p.setColor(g, role, kMainTextColour);
    window.setPalette(p);
}

} // namespace velmora::ui
