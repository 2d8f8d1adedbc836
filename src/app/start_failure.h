#pragma once

#include <QString>

namespace timer::app {

// While the application reaches the window system, Qt's messages are held
// back: a start that fails ends in one line of ours that names what failed,
// status 1, where Qt would print several and abort. display is the value of
// Qt's -display as the command line gave it (empty: none), which overrides
// DISPLAY.
// Precondition: called before the application object is made.
void holdMessagesWhileStarting(const QString& display);

// Hands the held messages, and those to come, to Qt's own handler.
// Precondition: the application object exists.
void passOnHeldMessages();

} // namespace timer::app
