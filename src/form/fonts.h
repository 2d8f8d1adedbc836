#pragma once

namespace timer::form {

// Where the system has no "David" or "MS Sans Serif" with Hebrew letters, asks
// for a free family that has them: "David CLM" (culmus) and "DejaVu Sans Condensed".
// Call after the QApplication exists.
void installFontSubstitutes();

} // namespace timer::form
