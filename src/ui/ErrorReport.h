#pragma once
// The default error handler of the windows: an operation that fails ends, and its German
// message is shown through the dialogs the window was given. Files saved before the failure
// stay saved.
#include <functional>

class QWidget;

namespace velmora::app {
class UserDialogs;
}

namespace velmora::ui {

// Runs action; a DataError (or any other exception) is shown to the user instead of escaping
// into the event loop.
void ReportErrors(QWidget* parent, app::UserDialogs& dialogs, const std::function<void()>& action);

} // namespace velmora::ui
