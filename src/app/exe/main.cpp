// Program entry of the editor: the application with its style, the main window (whose
// creation runs the start-up sequence), the message window, then the event loop. Closing the
// main window ends the loop and the program; a start-up that must end returns at once.
#include "data/DataError.h"
#include "ui/AppStyle.h"
#include "ui/MainForm.h"
#include "ui/MessageForm.h"

#include <QApplication>
#include <QMessageBox>
#include <memory>

#if __has_include("app/Startup.h")
#include "app/Startup.h"
#include "ui/Dialogs.h"

namespace {
std::unique_ptr<velmora::ui::MainForm> createMainForm() {
    using namespace velmora;
    ui::Dialogs dialogs;
    app::Platform& platform = app::defaultPlatform();
    const app::Directories dirs = app::RunStartup(platform, dialogs, QCoreApplication::applicationDirPath());
    return std::make_unique<ui::MainForm>(ui::MainFormSetup{dirs.data, dirs.mods, app::GetVersionString(platform)});
}
} // namespace
#else
// TEMPORARY until the start-up sequence lands: the data directory beside the executable.
namespace velmora::app {
class StartupAbort : public std::exception {};
} // namespace velmora::app
namespace {
std::unique_ptr<velmora::ui::MainForm> createMainForm() {
    return std::make_unique<velmora::ui::MainForm>(velmora::ui::MainFormSetup{
        QCoreApplication::applicationDirPath() + QStringLiteral("/XMLP/"), QString(), QStringLiteral("0.0.0.0")});
}
} // namespace
#endif

int main(int argc, char** argv) {
    using namespace velmora;
    QApplication app(argc, argv);
    ui::ApplyApplicationStyle(app);

    std::unique_ptr<ui::MainForm> mainForm;
    try {
        mainForm = createMainForm();
    } catch (const app::StartupAbort&) {
        return 1;  // its message has been shown
    } catch (const data::DataError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Programmstartfehler"), e.message());
        return 1;
    }
    // The editors join here, created in the order CostForm, ProductForm, BasicForm, BuffForm.
    ui::MessageForm messageForm;
    mainForm->setMessageForm(&messageForm);
    mainForm->show();
    return app.exec();
}
