// Any bytes as the registry export the portable backend keeps: load never fails, and what it
// saves loads back to the same text with the same values.
#include "FuzzSupport.h"

#include "app/platform/portable/RegistryFile.h"

#include "data/DataError.h"

#include <cstdlib>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::writeScratchFile(QStringLiteral("registry.reg"), data, size);
    try {
        app::RegistryFile file = app::RegistryFile::load(path);
        const QString key =
            QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                           "VelmoraCindral");
        const QString before = file.stringValue(key, QStringLiteral("GameLocation"));
        const QString text = file.serialize();
        const app::RegistryFile again = app::RegistryFile::parse(text);
        if (again.serialize() != text ||
            again.stringValue(key, QStringLiteral("GameLocation")) != before)
            std::abort(); // a save that does not load back as itself
        file.setStringValue(key, QStringLiteral("ModLocation"),
                            QStringLiteral("C:\\M\u00FCller\\"));
        if (app::RegistryFile::parse(file.serialize())
                .stringValue(key, QStringLiteral("ModLocation")) !=
            QStringLiteral("C:\\M\u00FCller\\"))
            std::abort(); // a value written is not read back
        file.deleteKey(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE"));
        if (file.hasKey(key))
            std::abort();
    } catch (const data::DataError&) {
    }
    return 0;
}
