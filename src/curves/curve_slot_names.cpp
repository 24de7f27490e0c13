#include "curves/curve_slot_names.h"

namespace quorl {
namespace {

constexpr const char* kDisplayNames[kCurveCount] = {
    "Main - Path curve",      "Main - Start curve",   "Main - End curve",       "Values - Radius",
    "Values - Angle",         "Values - Bumps",       "Values - Smooth",        "Values - Grain",
    "Function - Start x",     "Function - Start y",   "Function - End x",       "Function - End y",
    "Function - Lissa delta", "Function - Rocks",     "Function - Rocks start", "Function - Rocks end",
    "Colors - Start red",     "Colors - Start green", "Colors - Start blue",    "Colors - End red",
    "Colors - End green",     "Colors - End blue",    "Colors - Theta color",   "Colors - Step color",
    "Colors - Start amount",  "Colors - End amount",
};

}  // namespace

const char* SlotDisplayName(int slot) {
  if (slot < 0 || slot >= kCurveCount) return "";
  return kDisplayNames[slot];
}

std::string SlotName(int slot) {
  return std::string("\"") + SlotDisplayName(slot) + "\"";
}

}  // namespace quorl
