#pragma once
// The one road of an unexpected failure: the program cannot go on, and ends.

namespace tarvolen {

// Ends the program at once because of an unexpected failure: `what` failed, with the system's error
// code `code` (0 where there is none). Nothing is caught and no box of the program's is shown; each
// platform says how the end is reported (on Windows: platform/win32/TextAndErrors.h). Never returns.
[[noreturn]] void EndOnFailure(const char* what, unsigned long code);

}  // namespace tarvolen
