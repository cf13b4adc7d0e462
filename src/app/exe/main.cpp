// Program entry of the editor: the application with its style, the main window (whose
// creation runs the start-up sequence), the editors and the message window, then the event loop.
// Closing the main window ends the loop and the program; a start-up that must end returns at once.
#include "app/Startup.h"
#include "data/DataError.h"
#include "ui/AppStyle.h"
#include "ui/BasicForm.h"
#include "ui/BuffForm.h"
#include "ui/CostForm.h"
#include "ui/Dialogs.h"
#include "ui/MainForm.h"
#include "ui/MessageForm.h"
#include "ui/ProductForm.h"

#include <QApplication>
#include <QMessageBox>
#include <memory>

int main(int argc, char** argv) {
    using namespace velmora;
    QApplication app(argc, argv);
    ui::ApplyApplicationStyle(app);

    // Every window shows its questions and errors through these dialogs, for the whole run.
    ui::Dialogs dialogs;
    std::unique_ptr<ui::MainForm> mainForm;
    try {
        mainForm = ui::MainForm::create(app::defaultPlatform(), dialogs,
                                        QCoreApplication::applicationDirPath());
    } catch (const app::StartupAbort&) {
        return 1; // its message has been shown
    } catch (const data::DataError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Programmstartfehler"), e.message());
        return 1;
    }
    // The windows live for the whole run, created in the order CostForm, ProductForm,
    // BasicForm, BuffForm, MessageForm; the main window opens them.
    ui::CostForm costForm(dialogs);
    ui::ProductForm productForm(dialogs);
    ui::BasicForm basicForm(dialogs, productForm);
    ui::BuffForm buffForm(dialogs);
    mainForm->setBasicForm(&basicForm);
    ui::MessageForm messageForm;
    costForm.setProductForm(&productForm);
    buffForm.setProductForm(&productForm);
    basicForm.setBuffForm(&buffForm);
    mainForm->setCostForm(&costForm);
    mainForm->setMessageForm(&messageForm);
    mainForm->show();
    return app.exec();
}
