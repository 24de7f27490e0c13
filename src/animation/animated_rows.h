// The fifteen quantities a series modulates, declared once: where each
// row's base, amplitude, repeat and wave form live, and which override it sets.
#pragma once

#include <span>

#include "engine/step_state.h"
#include "settings/parameter_set.h"

namespace quorl {

enum class WaveForm { None, Sine, Linear, LinearReturn };

struct AnimatedRow {
  const char* name;     // the key fragment, e.g. "StartRadius"
  const char* panel;    // the group the window shows the row in, e.g. "Radius"
  const char* caption;  // the row's own label in that group, e.g. "Start"
  double (*base)(const ParameterSet&);
  double ParameterSet::*change;
  double changeScale;  // radius changes are typed in real units, bases are hundredths
  double ParameterSet::*repeat;
  bool ParameterSet::*sine;
  bool ParameterSet::*linear;
  bool ParameterSet::*linearReturn;
  double AnimationOverrides::*target;
};

std::span<const AnimatedRow> AnimatedRows();

// The wave form a row's three switches select. The window shows them as
// exclusive radio buttons set in the order Sine, Linear, LinearReturn, so when
// a hand-edited file sets several, the last one set is the one in force.
WaveForm WaveFormOf(const ParameterSet& p, const AnimatedRow& row);

}  // namespace quorl
