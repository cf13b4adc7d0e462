// Program entry of the editor: the application with its style, the main window (whose
// creation runs the start-up sequence) with the editors it builds when it first opens them,
// then the event loop.
// Closing the main window ends the loop and the program; a start-up that must end returns at once.
#include "app/Startup.h"
#include "data/DataError.h"
#include "ui/AppStyle.h"
#include "ui/Dialogs.h"
#include "ui/EditorWindows.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <memory>

int main(int argc, char** argv) {
    using namespace velmora;
    QApplication app(argc, argv);
    ui::ApplyApplicationStyle(app);
    // The gear of the program icon also stands in every window's title bar.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/gear256.png")));

    // Every window shows its questions and errors through these dialogs, for the whole run.
    ui::Dialogs dialogs;
    std::unique_ptr<ui::MainWindow> mainWindow;
    try {
        mainWindow = ui::MainWindow::create(app::defaultPlatform(), dialogs,
                                            QCoreApplication::applicationDirPath());
    } catch (const app::StartupAbort&) {
        return 1; // its message has been shown
    } catch (const data::DataError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Programmstartfehler"), e.message());
        return 1;
    }
    // The editors are built the first time the main window opens them; the message window is
    // built with the first question.
    ui::EditorWindows editors(dialogs);
    mainWindow->setEditorWindows(&editors);
    mainWindow->show();
    return app.exec();
}
