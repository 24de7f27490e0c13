// Every numeric control of the tool windows with the range it keeps its
// parameter in, declared once. The windows bind their fields to these rows,
// the command line checks values against them, and ApplyWindowFillClamps
// repeats what the windows do to the parameters when they fill their fields.
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

// What filling the window's controls does to the parameter.
enum class FillEffect {
  StoresBack,  // the control's (clamped, re-read) value is written back
  ShowsOnly,   // the control shows a clamped value; the parameter is kept
  None,        // the control is not filled from the parameter
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
  FillEffect fill;
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

// What the tool windows' Init does to the parameters when it fills their
// controls (at program start, and after every settings read while the
// windows exist): integer fields and track bars clamp, hundredths fields
// re-read what they show, real fields re-read their 15-digit text, the
// source image offsets and threshold are kept to hundredths.
void ApplyWindowFillClamps(ParameterSet& params, int lissaDeltaMin = kLissaDeltaMinAtStart);

// One row's effect, for a window that refills a single control.
void ApplyFillClamp(const FieldRange& field, ParameterSet& params, int lissaDeltaMin = kLissaDeltaMinAtStart);

// A canvas is 1 to kMaxCanvasSide pixels on each side, wherever its size
// comes from: a settings file edited by hand must not ask for gigabytes.
inline constexpr int kMaxCanvasSide = 6000;

// Brings ImageWidth and ImageHeight into 1 ... kMaxCanvasSide.
void KeepCanvasSizeInRange(ParameterSet& params);

}  // namespace quorl
