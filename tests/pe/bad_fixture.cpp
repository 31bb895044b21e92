// Negative fixture for check_pe.py: a console program built without
// resources and against the shared C++ runtime. Every check that guards
// the real executable (subsystem, imports, version, icon, manifest) must
// reject it.
#include <iostream>
#include <string>

int main() {
    std::string s = "x";
    return (int)s.size() - 1;
}
