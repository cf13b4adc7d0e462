#pragma once
// Support for the window tests: one QApplication for the whole test binary (offscreen unless a
// platform is chosen), the program's font, and widget look-up by objectName that fails with a
// clear message.
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

// Runs action as soon as the event loop of a modal window runs.
void whenModalShows(std::function<void()> action);

} // namespace velmora::test
