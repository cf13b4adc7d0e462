#include "data/HelpTable.h"

#include "data/DataFiles.h"

#include <QStringList>
#include <memory>

namespace velmora::data {

namespace {
std::unique_ptr<HelpTable>& currentTable() {
    static std::unique_ptr<HelpTable> table;
    return table;
}

// Help ids are small decimal numbers; anything else can not name an entry and must not reach
// the XPath expression.
bool isHelpId(const QString& id) {
    if (id.isEmpty())
        return false;
    for (const QChar c : id)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}
} // namespace

HelpTable HelpTable::load(const QString& path) {
    return fromDocument(XmlDocument::load(path, LoneBlanks::Keep, Encoding::Unicode));
}

HelpTable HelpTable::fromDocument(XmlDocument doc) {
    HelpTable table;
    table.doc_ = std::move(doc);
    requireRoot(table.doc_, dataFileRoot(kHelpFile)); // a file of another kind is no help table
    return table;
}

pugi::xml_node HelpTable::entry(const QString& id) const {
    if (!isHelpId(id))
        return {};
    return selectNode(doc_.root(), "(//Text[GUID=" + xpathLiteral(id) + "])[1]");
}

QString HelpTable::label(const QString& id) const {
    return fromUtf8(entry(id).child("Label").text().get());
}

QString HelpTable::text(const QString& id) const {
    const pugi::xml_node e = entry(id);
    QStringList paragraphs;
    for (int k = 0; k <= 4; ++k)
        paragraphs << fromUtf8(e.child(("Text" + std::to_string(k)).c_str()).text().get());
    return paragraphs.join(QLatin1Char('\r'));
}

void LoadHelpTable(const QString& path) {
    SetHelpTable(HelpTable::load(path));
}

void SetHelpTable(HelpTable table) {
    currentTable() = std::make_unique<HelpTable>(std::move(table));
}

QString GetHelpLabel(const QString& id) {
    return currentTable() ? currentTable()->label(id) : QString();
}

QString GetHelpText(const QString& id) {
    return currentTable() ? currentTable()->text(id) : QString();
}

} // namespace velmora::data
