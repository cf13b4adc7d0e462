// Any bytes as the game's asset file, scanned in chunks of a size the first byte picks:
// the scan ends in a document or DataError, and where both the scan with a filter that keeps
// every record and the whole document load, a query for Asset elements finds as many in each.
#include "FuzzSupport.h"

#include "tools/GameAssetFilter.h"

#include <cstdio>
#include <cstdlib>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const qsizetype chunkSize = 1 + data[0] % 64;
    const QString path = fuzz::writeScratchFile(QStringLiteral("assets.xml"), data + 1, size - 1);
    const std::unordered_set<std::string> templates = {"FactoryBuilding7", "Farm'Field"};
    try {
        tools::loadGameAssets(
            path,
            [&](std::string_view e) {
                return tools::holdsElement(e, "Values") || tools::holdsTemplate(e, templates);
            },
            chunkSize);
    } catch (const data::DataError&) {
    }
    // The scanner's promise, checked against the whole document where that loads.
    std::size_t whole = 0;
    try {
        whole = data::selectNodes(data::XmlDocument::load(path).root(), "//Asset").size();
    } catch (const data::DataError&) {
        return 0;
    }
    // A refusal is no fault: the whole document's parser stops at a NUL byte and ignores text
    // outside the root, where the scanner reports the markup as damaged.
    try {
        const data::XmlDocument kept = tools::loadGameAssets(
            path, [](std::string_view) { return true; }, chunkSize);
        const std::size_t found = data::selectNodes(kept.root(), "//Asset").size();
        if (found != whole) {
            std::fprintf(stderr, "scanner kept %zu Asset elements, the document has %zu\n", found,
                         whole);
            std::abort();
        }
    } catch (const data::DataError&) {
    }
    return 0;
}
