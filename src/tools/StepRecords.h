#pragma once
// Record access shared by the steps that read and write building records: the records of a
// record document, an element a step cannot do without, and the German error raised when
// it is missing.
#include "data/DataError.h"
#include "data/XmlDocument.h"

#include <QDir>
#include <QString>
#include <vector>

namespace velmora::tools {

// The element children of the root, in document order: the records of a record document.
inline std::vector<pugi::xml_node> recordsOf(const data::XmlDocument& doc) {
    std::vector<pugi::xml_node> records;
    for (const pugi::xml_node& child : doc.root().children())
        if (child.type() == pugi::node_element)
            records.push_back(child);
    return records;
}

inline QString recordGuid(const pugi::xml_node& record) {
    return data::fromUtf8(data::childText(record, "Values/Standard/GUID"));
}

// The element at a path below a record; a record without it stops the step.
inline pugi::xml_node requireElement(const pugi::xml_node& record, const char* path,
                                     const QString& file) {
    const pugi::xml_node element = record.first_element_by_path(path);
    if (!element) {
        const QString guid = recordGuid(record);
        throw data::DataError(
            QStringLiteral(
                "In der Datei \u201E%1\u201C fehlt dem Datensatz %2 das Element \u201E%3\u201C.")
                .arg(QDir::toNativeSeparators(file),
                     guid.isEmpty() ? QStringLiteral("ohne GUID")
                                    : QStringLiteral("mit der GUID ") + guid,
                     QString::fromUtf8(path)));
    }
    return element;
}

inline std::string requireText(const pugi::xml_node& record, const char* path,
                               const QString& file) {
    return requireElement(record, path, file).child_value();
}

} // namespace velmora::tools
