#pragma once
// Support for the window tests: one QApplication for the whole test binary (offscreen unless a
// platform is chosen), the program's font, widget look-up by objectName that fails with a
// clear message, and the main window's setup as the start-up hands it on.
#include "data/BuildingIndex.h"
#include "data/DataFiles.h"
#include "data/HelpTable.h"
#include "ui/MainWindow.h"

#include <QDir>
#include <QString>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string>

namespace velmora::test {

// Throws (failing the test with the message) when root has no child of that name and type.
template <class T> T* widget(const QWidget& root, const char* name) {
    T* w = root.findChild<T*>(QString::fromLatin1(name));
    if (!w)
        throw std::runtime_error(std::string("no widget named \"") + name + "\" of type " +
                                 T::staticMetaObject.className() + " in " +
                                 root.objectName().toStdString());
    return w;
}

// What the start-up hands to the main window for a data directory: loads its help table as the
// run's table and its group names.
inline ui::MainWindowSetup mainWindowSetup(const QString& dataDir, const QString& modsDir,
                                           const QString& programDir = QString()) {
    data::LoadHelpTable(QDir(dataDir).filePath(data::kHelpFile));
    return {dataDir,  modsDir, QStringLiteral("1.0.0.0"), programDir, data::ReadGroupNames(dataDir),
            QString()};
}

// Runs action as soon as the event loop of a modal window runs.
void whenModalShows(std::function<void()> action);

} // namespace velmora::test
