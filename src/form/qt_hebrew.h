#pragma once

class QCoreApplication;

namespace timer::form {

// Qt's own texts (a box's context menu, the report's button) in Hebrew, like
// the window's, whatever the user's locale; where Qt's Hebrew translation is
// not installed they stay English. Call once, after the application is made.
void installQtHebrew(QCoreApplication& application);

} // namespace timer::form
