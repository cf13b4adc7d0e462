// Any bytes as the help table: load ends in a table or DataError, and every look-up of a
// loaded table answers.
#include "FuzzSupport.h"

#include "data/HelpTable.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::writeScratchFile(QStringLiteral("Help.xml"), data, size);
    try {
        const data::HelpTable table = data::HelpTable::load(path);
        for (const char* id : {"0", "1", "7", "100", "1000", "x", "", "1'", "1]"}) {
            table.label(QString::fromLatin1(id));
            table.text(QString::fromLatin1(id));
        }
    } catch (const data::DataError&) {
    }
    return 0;
}
