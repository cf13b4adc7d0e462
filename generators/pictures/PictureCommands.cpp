#include "generators/pictures/PictureCommands.h"

#include "data/DataError.h"
#include "generators/pictures/ContactSheet.h"
#include "generators/pictures/GameIcons.h"
#include "generators/pictures/NamedPictures.h"
#include "generators/pictures/PictureCanvas.h"
#include "tools/PrepCommon.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::generators {

namespace {

void ensureFolder(const QString& dir) {
    if (!QDir().mkpath(dir))
        throw data::DataError(QStringLiteral("Der Ordner %1 lässt sich nicht anlegen.")
                                  .arg(QDir::toNativeSeparators(dir)));
}

} // namespace

QStringList writeNamedPictures(const QString& dir) {
    ensureFolder(dir);
    QStringList written;
    for (const QString& name : namedPictureNames()) {
        writePng(renderNamedPicture(name), dir + u'/' + name + QStringLiteral(".png"));
        written.append(name + QStringLiteral(".png"));
    }
    writePng(renderBackground(), dir + u'/' + kBackgroundName + QStringLiteral(".png"));
    written.append(kBackgroundName + QStringLiteral(".png"));
    return written;
}

QStringList writeIcons(const QString& dir, const QStringList& names, const QString& suffix) {
    ensureFolder(dir);
    QStringList written;
    for (const QString& name : names) {
        const QString file = name + suffix + QStringLiteral(".png");
        writePng(renderIconPicture(name), dir + u'/' + file);
        written.append(file);
    }
    return written;
}

QStringList readNameList(const QString& path) {
    QStringList names;
    for (const QString& line : tools::readLineFile(path, tools::LineEncoding::Utf8)) {
        const QString name = line.trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

void writeContactSheet(const QString& file, const QString& dir) {
    const QImage sheet = renderContactSheet(dir);
    const QString folder = QFileInfo(file).absolutePath();
    ensureFolder(folder);
    writePng(sheet, file);
}

} // namespace velmora::generators
