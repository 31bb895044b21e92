#pragma once
// The flag type of ShellKit's and FileKit's calls.

#include <cstdint>

namespace tarvolen {

// A yes/no value as ShellKit and FileKit take and give it: the program passes true as -1 (all bits set),
// and a flag that comes back is only ever tested for zero or non-zero.
using KitFlag = std::int32_t;
inline constexpr KitFlag kKitTrue = -1;
inline constexpr KitFlag kKitFalse = 0;

}  // namespace tarvolen
