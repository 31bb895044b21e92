#pragma once
// Where the program's process looks for libraries loaded by name, so that none is planted on it.

namespace tarvolen::win32 {

// Every library loaded by name from now on comes from the system folder only (for a 32-bit process on
// 64-bit Windows: SysWOW64), never from the program's own folder, the current folder or PATH, where
// anyone could have put a library of the same name. Windows 8 and later, and Windows 7 with its
// KB2533623 update, have SetDefaultDllDirectories for that; without it only the current folder leaves
// the search. The first thing the program does, before anything loads a library by name.
void RestrictLibrarySearch();

}  // namespace tarvolen::win32
