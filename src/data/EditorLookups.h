#pragma once
// Look-ups that the building editors share: a building's asset record and an entry of a flat
// table by its GUID attribute. A missing record or entry raises
// DataError with a German message naming the file, so an operation ends before it changes
// anything.
#include "data/XmlDocument.h"

#include <QString>

namespace velmora::data {

// True for a text made of the digits 0 to 9 only (and at least one).
bool isWholeNumber(const QString& text);

// GUIDs are decimal texts; anything else raises DataError, so that it never reaches a query.
void requireGuid(const QString& guid);

// The record //Asset[Values/Standard/GUID="guid"] of an asset list, or DataError naming the
// building and the file.
pugi::xml_node requireAssetRecord(const XmlDocument& assets, const QString& guid);

// The first child element of the root whose GUID attribute equals guid (compared as text), or
// DataError: "Building" of the building index, "Buff" of the buff table.
pugi::xml_node requireEntry(const XmlDocument& table, const char* element, const QString& guid);

} // namespace velmora::data
