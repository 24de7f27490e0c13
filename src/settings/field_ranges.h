// Every numeric control of the tool windows with the range it keeps its
// parameter in, declared once. The windows bind their fields to these rows,
// and KeepInFieldRanges brings the parameters into these ranges once, right
// after every read of settings (program start, a style switch, Open, a
// recipe, the command line); a control only shows its value.
#pragma once

#include <span>
#include <string_view>

#include "settings/parameter_set.h"

namespace quorl {

enum class FieldKind {
  Integer,             // text read as an integer, clamped to [min, max]
  Hundredths,          // shows value/100; stores floor(typed × 100); no range
  PositiveHundredths,  // the same, never below 0
  Real,                // a double, no range
  TrackBar,            // an integer position in [min, max]
  TrackBarHundredths,  // a position in [min, max] standing for position/100 of a double
  Choice,              // an index into a fixed list (radio group, tab control)
};

// What a read does to the parameter of a row.
enum class RangeUse {
  Kept,       // kept in range, and to what the control can show (re-read)
  ShownOnly,  // the control shows a clamped value; the parameter is kept
  Unused,     // the control is not filled from the parameter
};

// The lower limit of "LissaDelta" follows the selected function.
enum class LowerLimit { Fixed, LissaDeltaMin };

struct FieldRange {
  const char* window;  // the window's caption
  const char* key;     // the settings key, which is the parameter's name
  FieldKind kind;
  int min;  // Integer, TrackBar, TrackBarHundredths (in hundredths), Choice
  int max;
  bool drag;    // takes part in drag editing
  int dragMin;  // drag limits of Integer fields
  int dragMax;
  RangeUse use;
  LowerLimit lower = LowerLimit::Fixed;
};

std::span<const FieldRange> FieldRanges();
const FieldRange* FindFieldRange(std::string_view key);

// The lower limit of "LissaDelta": 0 while Ellipses (function 4) is
// selected, 1 otherwise.
int LissaDeltaMinFor(int functionNumber);
// The Function window is created with the lower limit 1 whatever the style,
// so at program start a "LissaDelta" of 0 becomes 1.
inline constexpr int kLissaDeltaMinAtStart = 1;

// Brings every Kept row into its range, as the control would show it:
// integer fields and track bars clamp, hundredths fields take what they
// show, real fields their 15-digit text, the source image offsets and
// threshold are kept to hundredths. Also keeps the canvas size in range. At
// program start "LissaDelta" has the lower limit kLissaDeltaMinAtStart, so
// a stored 0 becomes 1; after that the Function window's limit applies.
void KeepInFieldRanges(ParameterSet& params, int lissaDeltaMin = kLissaDeltaMinAtStart);

// One row's part of it.
void KeepInFieldRange(const FieldRange& field, ParameterSet& params,
                      int lissaDeltaMin = kLissaDeltaMinAtStart);

// A canvas is 1 to kMaxCanvasSide pixels on each side, wherever its size
// comes from: a settings file edited by hand must not ask for gigabytes.
inline constexpr int kMaxCanvasSide = 6000;

// Brings ImageWidth and ImageHeight into 1 ... kMaxCanvasSide.
void KeepCanvasSizeInRange(ParameterSet& params);

}  // namespace quorl
