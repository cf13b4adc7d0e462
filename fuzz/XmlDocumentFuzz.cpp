// Any bytes as an XML data file: load either ends in a document or in DataError, and what a
// loaded document saves loads again to the same bytes.
#include "FuzzSupport.h"

#include "data/XmlDocument.h"

#include <cstdlib>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::writeScratchFile(QStringLiteral("Fuzz.xml"), data, size);
    for (const auto blanks : {data::LoneBlanks::Drop, data::LoneBlanks::Keep}) {
        try {
            const data::XmlDocument doc = data::XmlDocument::load(path, blanks);
            doc.root();
            const QByteArray saved = doc.serialize();
            const data::XmlDocument again =
                data::XmlDocument::parse(saved, QStringLiteral("saved"), blanks);
            if (again.serialize() != saved)
                std::abort(); // a save that does not load back as itself
            data::selectNodes(doc.root(), "//*[@GUID]");
        } catch (const data::DataError&) {
        }
    }
    return 0;
}
