#pragma once
// The look of the program: a calm slate-grey style for every window, and the main window's
// font and text colour.
#include <QColor>
#include <QFont>

class QApplication;
class QWidget;

namespace velmora::ui {

// Text colour of the main window.
inline const QColor kMainTextColour(65, 55, 40);

// Selects the application style: palette and style sheet in slate grey.
void ApplyApplicationStyle(QApplication& app);

// The main window's font: "Heuristica" when the font is registered, otherwise "MS Sans Serif";
// 10 points either way.
QFont MainWindowFont();

// Gives a window its font and text colour.
void ApplyMainWindowLook(QWidget& window);

} // namespace velmora::ui
