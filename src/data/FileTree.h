#pragma once
// Folders on the disk as entries of their parent: what an entry is without following it, and
// deleting a folder with everything in it without ever following a link.
//
// A link is a symbolic link, and on Windows also a junction or any other reparse point: the
// program treats all of them as entries of their own and never as the folder they point to.
#include "data/FileWriter.h"
#include "data/system/FileSystem.h"

#include <QString>

namespace velmora::data {

// What the entry at path is, the entry itself looked at, never what a link points to.
EntryKind entryKindOf(const QString& path);

// Removes one entry through writer: a file, an empty folder, or a link as itself. True when it
// is gone; otherwise, when reason is given, it gets the German reason the system gave, or "".
bool removeEntry(const QString& path, FileWriter& writer, QString* reason = nullptr);

// Deletes the entry at path: a link or a file as itself, a real folder with everything in it,
// where every link met is removed as a link and its target left untouched. Every entry is
// removed through writer. True when nothing is left at path; otherwise, when fault is given, it
// gets a German sentence naming the first entry that stayed and, where the system said, why.
bool removeTree(const QString& path, FileWriter& writer = diskWriter(), QString* fault = nullptr);

} // namespace velmora::data
