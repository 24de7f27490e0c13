// The 26 curve slots by index: what each is called on screen and in the
// names of its curve files.
#pragma once

#include <string>

namespace quorl {

inline constexpr int CurveCount = 26;

// The display name, e.g. Values - Radius (shown in the slot list). Empty for
// an index outside 0 ... 25.
const char* SlotDisplayName(int slot);

// The slot's Name: its display name enclosed in double quotes, as used in
// messages and file names.
std::string SlotName(int slot);

}  // namespace quorl
