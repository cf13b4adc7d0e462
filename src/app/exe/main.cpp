// Program entry of the editor.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Velmora Cindral"));
    label.show();
    return app.exec();
}
