#include "animation/animated_rows.h"

namespace quorl {
namespace {

using P = ParameterSet;
using O = AnimationOverrides;

double Zero(const P&) {
  return 0;
}

#define QUORL_ROW(Q, panel, caption, baseExpr, scale, Target)                                       \
  AnimatedRow {                                                                                     \
#Q, panel, caption,                                                                             \
        [](const P& p) -> double { return baseExpr; }, &P::AnimationChange##Q, scale,               \
                                                    &P::AnimationRepeat##Q, &P::Animation##Q##Sine, \
                                                    &P::Animation##Q##Linear,                       \
                                                    &P::Animation##Q##LinearReturn, &O::Target      \
  }

const AnimatedRow kRows[] = {
    QUORL_ROW(StartRadius, "Radius", "Start", p.StartRadius, 100.0, AnimStartRadius),
    QUORL_ROW(EndRadius, "Radius", "End", p.EndRadius, 100.0, AnimEndRadius),
    QUORL_ROW(StartAngle, "Angle", "Start", p.StartIota, 1.0, AnimStartAngle),
    QUORL_ROW(EndAngle, "Angle", "End", p.EndIota, 1.0, AnimEndAngle),
    QUORL_ROW(StartBumps, "Bumps", "Start", p.StartBumps, 1.0, AnimStartBumps),
    QUORL_ROW(EndBumps, "Bumps", "End", p.EndBumps, 1.0, AnimEndBumps),
    QUORL_ROW(StartSmooth, "Smooth", "Start", p.StartDepth, 1.0, AnimStartSmooth),
    QUORL_ROW(EndSmooth, "Smooth", "End", p.EndDepth, 1.0, AnimEndSmooth),
    QUORL_ROW(StartX, "Function - x", "Start", p.StartEllipseWidth, 1.0, AnimStartX),
    QUORL_ROW(EndX, "Function - x", "End", p.EndEllipseWidth, 1.0, AnimEndX),
    QUORL_ROW(StartY, "Function - y", "Start", p.StartEllipseHeight, 1.0, AnimStartY),
    QUORL_ROW(EndY, "Function - y", "End", p.EndEllipseHeight, 1.0, AnimEndY),
    QUORL_ROW(RockAmount, "Rocks", "Amount", Zero(p), 1.0, AnimRocksAdd),
    QUORL_ROW(StartRockAngle, "Rocks", "Start", Zero(p), 1.0, AnimRockerStartAdd),
    QUORL_ROW(EndRockAngle, "Rocks", "End", Zero(p), 1.0, AnimRockerEndAdd),
};

#undef QUORL_ROW

}  // namespace

std::span<const AnimatedRow> AnimatedRows() {
  return kRows;
}

WaveForm WaveFormOf(const ParameterSet& p, const AnimatedRow& row) {
  if (p.*row.linearReturn) return WaveForm::LinearReturn;
  if (p.*row.linear) return WaveForm::Linear;
  if (p.*row.sine) return WaveForm::Sine;
  return WaveForm::None;
}

}  // namespace quorl
