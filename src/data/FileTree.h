#pragma once
// Folders on the disk as entries of their parent: what an entry is without following it, and
// deleting a folder with everything in it without ever following a link.
//
// A link is a symbolic link, and on Windows also a junction or any other reparse point: the
// program treats all of them as entries of their own and never as the folder they point to.
#include "data/FileWriter.h"

#include <QString>

namespace velmora::data {

enum class EntryKind {
    Absent, // nothing under that name
    Folder, // a real folder
    Link,   // a link, whatever it points to (or nothing)
    Other,  // a file or anything else
};

// What the entry at path is, the entry itself looked at, never what a link points to.
EntryKind entryKindOf(const QString& path);

// Deletes the entry at path: a link or a file as itself, a real folder with everything in it,
// where every link met is removed as a link and its target left untouched. Every entry is
// removed through writer. True when nothing is left at path.
bool removeTree(const QString& path, FileWriter& writer = diskWriter());

} // namespace velmora::data
