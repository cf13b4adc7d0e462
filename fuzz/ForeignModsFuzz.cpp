// Any bytes as another mod of the mods directory: the first byte splits the rest into its
// assets.xml and its modinfo.json. The scan ends with the mod read or skipped with a note, and
// every look-up of its result answers.
#include "FuzzSupport.h"

#include "mod/ForeignMods.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t split = std::min<size_t>(size - 1, data[0] * 16u);
    const QString mods = fuzz::scratchDir() + QStringLiteral("mods");
    const QString folder = mods + QStringLiteral("/Ein Mod");
    QDir().mkpath(folder + QStringLiteral("/data/config/export/main/asset"));
    fuzz::writeScratchFile(QStringLiteral("mods/Ein Mod/data/config/export/main/asset/assets.xml"),
                           data + 1, split);
    fuzz::writeScratchFile(QStringLiteral("mods/Ein Mod/modinfo.json"), data + 1 + split,
                           size - 1 - split);
    const mod::ForeignMods found = mod::ScanForeignMods(mods);
    for (const char* guid : {"1010278", "0", "18446744073709551615", "x", ""})
        mod::ConflictText(mod::ConflictingMods(found, QString::fromLatin1(guid), QString()));
    mod::SkippedModsNote(found);
    return 0;
}
