// The 26 curve slots by index: what each is called on screen and in the
// names of its curve files.
#pragma once

#include <string>

namespace quorl {

inline constexpr int kCurveCount = 26;

// The slots by what they shape, in the order of the slot list (a slot's
// number is also in the names of its curve files).
inline constexpr int kPathCurveSlot = 0;
inline constexpr int kStartCurveSlot = 1;
inline constexpr int kEndCurveSlot = 2;
inline constexpr int kRadiusSlot = 3;
inline constexpr int kAngleSlot = 4;
inline constexpr int kBumpsSlot = 5;
inline constexpr int kSmoothSlot = 6;
inline constexpr int kGrainSlot = 7;
inline constexpr int kStartXSlot = 8;
inline constexpr int kStartYSlot = 9;
inline constexpr int kEndXSlot = 10;
inline constexpr int kEndYSlot = 11;
inline constexpr int kLissaDeltaSlot = 12;
inline constexpr int kRocksSlot = 13;
inline constexpr int kRocksStartSlot = 14;
inline constexpr int kRocksEndSlot = 15;
inline constexpr int kStartRedSlot = 16;
inline constexpr int kStartGreenSlot = 17;
inline constexpr int kStartBlueSlot = 18;
inline constexpr int kEndRedSlot = 19;
inline constexpr int kEndGreenSlot = 20;
inline constexpr int kEndBlueSlot = 21;
inline constexpr int kThetaColorSlot = 22;
inline constexpr int kStepColorSlot = 23;
inline constexpr int kStartAmountSlot = 24;
inline constexpr int kEndAmountSlot = 25;

// The display name, e.g. Values - Radius (shown in the slot list). Empty for
// an index outside 0 ... 25.
const char* SlotDisplayName(int slot);

// The slot's Name: its display name enclosed in double quotes, as used in
// messages and file names.
std::string SlotName(int slot);

}  // namespace quorl
