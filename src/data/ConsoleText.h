#pragma once
// Text of the command-line programs for the user: on a Windows console as wide text, so that
// umlauts and German quotes show whatever the console's code page; redirected to a file or a
// pipe, and on every other system, as UTF-8.
#include <QString>
#include <cstdio>

namespace velmora::data {

// Writes text to stream (stdout or stderr) and flushes it.
void printText(std::FILE* stream, const QString& text);

} // namespace velmora::data
