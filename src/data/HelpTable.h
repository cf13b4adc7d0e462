#pragma once
// The help table ("Help.xml"): headings and paragraphs for the info panels of the windows.
// It is loaded once at start-up and stays loaded for the whole run; editing the file while the
// program runs has no effect until the next start.
#include "data/XmlDocument.h"

#include <QString>

namespace velmora::data {

class HelpTable {
public:
    // Loads the table; a missing or malformed file raises DataError naming it.
    static HelpTable load(const QString& path);
    // The table of a document already loaded (with its lone blanks kept).
    static HelpTable fromDocument(XmlDocument doc);

    // The Label of the entry with the help id, or the empty text when there is no such entry.
    QString label(const QString& id) const;
    // Text0 to Text4 of the entry joined by carriage returns: always five paragraphs, a missing
    // child (or a missing entry) counting as an empty one.
    QString text(const QString& id) const;

private:
    pugi::xml_node entry(const QString& id) const;
    XmlDocument doc_;
};

// The table of this run. Loading or setting replaces the one loaded before.
void LoadHelpTable(const QString& path);
void SetHelpTable(HelpTable table);
// Look-ups in the table of this run; both yield empty texts before a table is loaded.
QString GetHelpLabel(const QString& id);
QString GetHelpText(const QString& id);

} // namespace velmora::data
