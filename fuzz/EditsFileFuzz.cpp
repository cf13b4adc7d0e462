// Any bytes as an edits file a player was given: the reader ends in edits or DataError, and what
// it accepts writes back as itself (read, written and read again: the same edits; written again:
// the same bytes). The same bytes also make edits as the exporter would (texts of valid Unicode,
// decimal GUIDs), which must read back as written.
#include "FuzzSupport.h"

#include "data/EditorFiles.h"
#include "data/EditsFile.h"

using namespace velmora;

namespace {

// Edits as the exporter makes them, from the bytes: each text a piece of them.
data::EditsFile exporterEdits(const uint8_t* data, size_t size) {
    std::size_t at = 0;
    const auto text = [&] {
        const std::size_t length = at < size ? data[at++] % 24 : 0;
        const std::size_t n = std::min(length, size - std::min(at, size));
        const QString piece =
            QString::fromUtf8(reinterpret_cast<const char*>(data) + at, qsizetype(n));
        at += n;
        return piece;
    };
    data::EditsFile file;
    file.program = text();
    file.created = text();
    for (int b = 0; at < size && b < 8; ++b) {
        data::EditedBuilding building{QString::number(1000 + b * 7 + (data[at++] % 7)), text(),
                                      {}};
        for (int f = 0; at < size && f < 6; ++f) {
            const data::EditField& field =
                data::EditFields()[data[at++] % data::EditFields().size()];
            bool twice = false;
            for (const data::EditedField& e : building.fields)
                twice = twice || e.key == field.key;
            if (!twice)
                building.fields.push_back({field.key, text(), text()});
        }
        file.buildings.push_back(std::move(building));
    }
    return file;
}

data::EditorFiles& shippedFiles() {
    static data::EditorFiles files(fuzz::copyShippedData());
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const data::ProductCatalogue& catalogue = shippedFiles().catalogue();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const data::EditsFile read = data::ReadEditsFile(bytes, QStringLiteral("fuzz.json"));
        const QByteArray written = data::WriteEditsFile(read, catalogue);
        const data::EditsFile again = data::ReadEditsFile(written, QStringLiteral("fuzz.json"));
        if (read != again || data::WriteEditsFile(again, catalogue) != written)
            std::abort(); // an accepted file does not write back as itself
    } catch (const data::DataError&) {
    }
    const data::EditsFile exported = exporterEdits(data, size);
    const data::EditsFile back = data::ReadEditsFile(data::WriteEditsFile(exported, catalogue),
                                                     QStringLiteral("fuzz.json"));
    if (exported != back)
        std::abort(); // a file the exporter wrote does not read back as its edits
    return 0;
}
