#pragma once

#include <QString>

namespace timer::form {

// The family to ask for in place of one the layout names: the family itself
// where the system has it, else a free family with Hebrew letters ("David CLM"
// from culmus for "David", "DejaVu Sans Condensed" for "MS Sans Serif").
// Resolved here once rather than left to Qt, whose search for a missing
// family costs milliseconds at start-up.
QString familyOnThisSystem(const QString& family);

} // namespace timer::form
