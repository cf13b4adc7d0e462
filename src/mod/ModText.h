#pragma once
// Text pieces of a mod folder: escaping for assets.xml and modinfo.json, and the centred
// header lines.
#include <QString>

namespace velmora::mod {

// Width of the asterisk rules around the header of assets.xml.
constexpr int kHeaderWidth = 70;

// A value placed in element text or a double-quoted attribute: & < > " escaped.
QString xmlEscaped(const QString& value);
// A value placed inside an XML comment: "--" may not occur there, so each is split by a blank.
QString commentSafe(const QString& value);
// A value placed between double quotes of a JSON string.
QString jsonEscaped(const QString& value);

// The line with (70 - length) / 2 leading blanks; a line of 70 or more characters unchanged.
QString centredHeaderLine(const QString& line);

} // namespace velmora::mod
