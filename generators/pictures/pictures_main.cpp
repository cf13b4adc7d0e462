// velmora-pictures: draws the program's pictures and game-style icons as PNG files.
#include "data/DataError.h"
#include "generators/pictures/PictureCommands.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

namespace {

const char* const kUsage =
    "Aufruf:\n"
    "  velmora-pictures named --out VERZEICHNIS\n"
    "  velmora-pictures icons --out VERZEICHNIS [--suffix ENDUNG] [--names-file DATEI] [NAME...]\n"
    "  velmora-pictures contact-sheet --out DATEI VERZEICHNIS\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

void report(const QStringList& files, const QString& dir) {
    std::printf("%lld Bilder nach %s geschrieben\n", static_cast<long long>(files.size()),
                qUtf8Printable(QDir::toNativeSeparators(dir)));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();

    QString out, suffix, namesFile;
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        QString* option = a == u"--out"          ? &out
                          : a == u"--suffix"     ? &suffix
                          : a == u"--names-file" ? &namesFile
                                                 : nullptr;
        if (option) {
            if (i + 1 >= args.size())
                return usage();
            *option = args[++i];
        } else if (a.startsWith(u"--")) {
            return usage();
        } else {
            rest.append(a);
        }
    }
    if (out.isEmpty())
        return usage();
    out = QDir::fromNativeSeparators(out);

    try {
        if (command == u"named" && rest.isEmpty()) {
            report(velmora::generators::writeNamedPictures(out), out);
        } else if (command == u"icons") {
            if (!namesFile.isEmpty())
                rest = velmora::generators::readNameList(namesFile) + rest;
            if (rest.isEmpty())
                return usage();
            report(velmora::generators::writeIcons(out, rest, suffix), out);
        } else if (command == u"contact-sheet" && rest.size() == 1) {
            velmora::generators::writeContactSheet(out, QDir::fromNativeSeparators(rest.first()));
            std::printf("Übersicht %s geschrieben\n",
                        qUtf8Printable(QDir::toNativeSeparators(out)));
        } else {
            return usage();
        }
    } catch (const velmora::data::DataError& e) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(e.message()));
        return 1;
    }
    return 0;
}
