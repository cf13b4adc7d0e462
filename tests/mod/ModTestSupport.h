#pragma once
// Support for the mod tests: plain pictures in place of the program's picture store, a copy of
// the shipped data directory with a mods directory beside it, and readers of what a mod holds.
#include "data/BuildingIndex.h"
#include "data/XmlDocument.h"
#include "mod/ModWriter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringList>

namespace velmora::test {

// Every name has a picture of its own colour, but for the names in missing. "Star" is clear but
// for its top left quarter, which is red, so a marked icon shows where the star was drawn.
class PlainPictures final : public mod::NamedPictures {
public:
    QSet<QString> missing; // lower-case names
    QImage picture(const QString& name, QSize size) const override {
        if (missing.contains(name.toLower()))
            return {};
        QImage image(size, QImage::Format_ARGB32);
        if (name.compare(QStringLiteral("Star"), Qt::CaseInsensitive) == 0) {
            image.fill(Qt::transparent);
            for (int y = 0; y < size.height() / 2; ++y)
                for (int x = 0; x < size.width() / 2; ++x)
                    image.setPixelColor(x, y, Qt::red);
        } else {
            image.fill(QColor::fromRgb(qHash(name.toLower()) | 0xff000000u));
        }
        return image;
    }
};

// A copy of the shipped data directory and an empty mods directory.
struct ShippedData {
    TempDir dir;
    QString data = dir.file(QStringLiteral("XMLP"));
    QString mods = dir.file(QStringLiteral("mods"));
    PlainPictures pictures;

    ShippedData() {
        QDir().mkpath(data);
        QDir().mkpath(mods);
        const QDir shipped(sourcePath(QStringLiteral("resources/data/XMLP")));
        for (const QString& name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), data + QLatin1Char('/') + name);
    }
    QString file(const QString& name) const { return data + QLatin1Char('/') + name; }

    mod::ModRequest request(const QString& guid) const {
        const auto entry = data::FindBuilding(data, guid);
        return {data,
                mods,
                guid,
                entry ? entry->local : QString(),
                QStringLiteral("20.1.3.0"),
                QStringLiteral("  tester "),
                QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9))};
    }
    mod::WrittenMod activate(const QString& guid) const {
        return mod::WriteMod(request(guid), pictures);
    }

    // Sets the values of a building's buff entry: "P0" ... "Z8", "Set", "Chain" by name.
    void setBuff(const QString& guid, const std::vector<std::pair<const char*, QString>>& values) {
        const QString buffGuid = data::FindBuilding(data, guid)->add;
        data::XmlDocument buffs = data::XmlDocument::load(file(QStringLiteral("BuffsShort.xml")));
        pugi::xml_node buff =
            data::selectNode(buffs.root(), "Buff[@GUID=\"" + data::utf8(buffGuid) + "\"]");
        for (const auto& [name, value] : values)
            buff.attribute(name).set_value(data::utf8(value).c_str());
        buffs.save();
    }

    // The folders of the mods directory.
    QStringList modFolders() const {
        return QDir(mods).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
};

// Path of a file below a mod folder.
inline QString modFile(const QString& folder, const char* relative) {
    return folder + QLatin1Char('/') + QString::fromLatin1(relative);
}
inline const char* const kAssetsFile = "data/config/export/main/asset/assets.xml";

} // namespace velmora::test
