// The Linux side of the Windows program's test under Wine (RunWindowsProgram.sh):
//   windows_test_helper mod DATA_DIR MODS_DIR GUID NAME VERSION USER
//       writes the building's mod with this machine's build, to compare with the one the Windows
//       program writes (run with QT_QPA_PLATFORM=offscreen);
//   windows_test_helper grab OUT.png [WINDOW_ID]
//       saves what the X display shows, or one window of it (run with QT_QPA_PLATFORM=xcb).
#include "data/DataError.h"
#include "mod/ModWriter.h"
#include "ui/ImageCollection.h"
#include "ui/ModPictures.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
    using namespace velmora;
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 7 && args[0] == QStringLiteral("mod")) {
        try {
            const mod::ModRequest request{args[1], args[2], args[3], args[4], args[5], args[6]};
            const mod::WrittenMod written =
                mod::WriteMod(request, ui::CollectionPictures(ui::ImageCollection::instance()));
            std::printf("%s\n", qPrintable(written.folder));
            return 0;
        } catch (const data::DataError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }
    if ((args.size() == 2 || args.size() == 3) && args[0] == QStringLiteral("grab")) {
        const WId window = args.size() == 3 ? WId(args[2].toULongLong()) : 0;
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
        return !shot.isNull() && shot.save(args[1], "PNG") ? 0 : 1;
    }
    std::fprintf(stderr, "usage: windows_test_helper mod DATA MODS GUID NAME VERSION USER\n"
                         "       windows_test_helper grab OUT.png [WINDOW_ID]\n");
    return 2;
}
