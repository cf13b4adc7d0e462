#pragma once
// The system's error numbers (errno) in German words. The common failures of file access have a
// sentence of their own; a rare one is named by its number, with the system's text beside it.
#include <QString>

namespace velmora::app {

QString systemErrorText(int errorNumber);

} // namespace velmora::app
