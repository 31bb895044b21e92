#pragma once
// Portable code hands windows on (to own a dialog) without knowing what they are.

namespace tarvolen {

// A platform window handle, carried through portable code without being looked into.
using WindowHandle = void*;

}  // namespace tarvolen
