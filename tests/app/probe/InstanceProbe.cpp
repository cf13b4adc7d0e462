// Takes the single-instance guard of the registry directory given as argument, prints "läuft"
// and holds the guard until its standard input closes. A refused start prints the message it
// would show and exits with 2.
#include "app/Startup.h"
#include "app/platform/portable/PortablePlatform.h"

#include <QCoreApplication>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

class ConsoleDialogs final : public velmora::app::UserDialogs {
public:
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    void showError(const QString& title, const QString& text) override {
        std::cout << (title + QLatin1Char('|') + text).toStdString() << std::endl;
    }
    void showNotice(const QString& title, const QString& text) override { showError(title, text); }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 64;
    velmora::app::PortablePlatform platform(QString::fromLocal8Bit(argv[1]));
    ConsoleDialogs dialogs;
    try {
        velmora::app::GuardSingleInstance(platform, dialogs);
    } catch (const velmora::app::StartupAbort&) {
        return 2;
    }
    std::cout << "läuft" << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
