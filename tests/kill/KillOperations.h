#pragma once
// The writing operations the kill driver runs, by name. An operation prepares the state before
// it in a workspace holding a copy of the shipped data and an empty mods directory, and runs
// through the file writer it is given. The driver knows nothing else about it: a new operation
// is one more entry of operationTable().
#include "data/FileWriter.h"

#include <QString>
#include <functional>
#include <map>

namespace velmora::killtest {

struct Workspace {
    QString data; // the data directory, with a trailing "/"
    QString mods; // the game's mods directory, with a trailing "/"
};

struct Operation {
    // Turns the fresh copy into the state the operation starts from (edited records, set
    // flags, mod folders on the disk).
    std::function<void(const Workspace&)> prepare;
    // The operation itself; a failure raises data::DataError with a German message.
    std::function<void(const Workspace&, data::FileWriter&)> run;
    // For an operation on the whole data directory: what the next start does before anything
    // else (finish or undo a stopped step). After it the data directory must be exactly the old
    // one or exactly the new one, never a mix of both.
    std::function<void(const Workspace&)> nextStart = nullptr;
};

// Every operation by its name ("Reset", ...).
const std::map<QString, Operation>& operationTable();

} // namespace velmora::killtest
