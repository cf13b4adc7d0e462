#include "data/ConsoleText.h"

#include "data/system/FileSystem.h"

#include <QByteArray>

namespace velmora::data {

void printText(std::FILE* stream, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    system::writeText(stream, std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

} // namespace velmora::data
