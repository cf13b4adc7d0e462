// The start-up benchmark's yardstick: a Qt Widgets program that does nothing but show one
// window of the main window's size, titled "Leeres Fenster".
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Leeres Fenster"));
    window.setFixedSize(888, 863);
    window.show();
    return app.exec();
}
