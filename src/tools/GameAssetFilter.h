#pragma once
// Loading the game's asset file with only the records a step can use.
//
// The asset file is hundreds of megabytes; a document of all of it takes several times its
// size. The file is read in chunks and scanned for its outermost Asset elements (comments,
// CDATA sections, processing instructions and quoted attribute values are skipped); each one
// is handed to a filter as raw bytes, and only the elements kept are parsed, in file order,
// below one root element "AssetList". A query for Asset elements at any depth then finds in
// the kept records what it would find in the whole document, as long as the filter keeps every
// record the step uses.
#include "data/XmlDocument.h"

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace velmora::tools {

// Sees the raw bytes of one outermost Asset element, from "<Asset" to its end tag.
using AssetFilter = std::function<bool(std::string_view element)>;

inline constexpr qsizetype kAssetChunkSize = 8 * 1024 * 1024;

// Errors as for data::XmlDocument::load: a missing file or malformed markup raises DataError
// naming the file. A file in UTF-16 is loaded as a whole document instead.
data::XmlDocument loadGameAssets(const QString& path, const AssetFilter& keep,
                                 qsizetype chunkSize = kAssetChunkSize);

// Whether the element holds an element of this name anywhere inside it.
bool holdsElement(std::string_view element, std::string_view name);

// Whether the element holds, anywhere inside it, a Template element whose text may be one of
// the names. Texts the raw bytes cannot settle (entities, markup inside) count as a match.
bool holdsTemplate(std::string_view element, const std::unordered_set<std::string>& names);

} // namespace velmora::tools
