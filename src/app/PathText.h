#pragma once
// Path texts of the start-up sequence. Internally a path uses "/" only; registry values and
// the launcher's entries may use either separator.
#include "app/platform/Platform.h"

#include <QString>

namespace velmora::app {

// Every backslash turned into "/".
inline QString internalPath(const QString& path) {
    QString p = path;
    return p.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

inline QString withTrailingSlash(const QString& dir) {
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

// dir + "/" + relative, with one separator between them.
inline QString joinPath(const QString& dir, const QString& relative) {
    return withTrailingSlash(dir) + relative;
}

// The path as the platform writes it (backslashes on Windows).
inline QString platformPath(const Platform& platform, const QString& path) {
    QString p = path;
    return p.replace(QLatin1Char('/'), QChar(static_cast<char16_t>(platform.pathSeparator())));
}

} // namespace velmora::app
