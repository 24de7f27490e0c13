#include "animation/animated_rows.h"

namespace quorl {
namespace {

using P = ParameterSet;
using O = AnimationOverrides;

double Zero(const P&) { return 0; }

#define QUORL_ROW(Q, baseExpr, scale, Target)                                                          \
  AnimatedRow {                                                                                        \
    #Q, [](const P& p) -> double { return baseExpr; }, &P::AnimationChange##Q, scale,                 \
        &P::AnimationRepeat##Q, &P::Animation##Q##Sine, &P::Animation##Q##Linear,                      \
        &P::Animation##Q##LinearReturn, &O::Target                                                     \
  }

const AnimatedRow kRows[] = {
    QUORL_ROW(StartRadius, p.StartRadius, 100.0, AnimStartRadius),
    QUORL_ROW(EndRadius, p.EndRadius, 100.0, AnimEndRadius),
    QUORL_ROW(StartAngle, p.StartIota, 1.0, AnimStartAngle),
    QUORL_ROW(EndAngle, p.EndIota, 1.0, AnimEndAngle),
    QUORL_ROW(StartBumps, p.StartBumps, 1.0, AnimStartBumps),
    QUORL_ROW(EndBumps, p.EndBumps, 1.0, AnimEndBumps),
    QUORL_ROW(StartSmooth, p.StartDepth, 1.0, AnimStartSmooth),
    QUORL_ROW(EndSmooth, p.EndDepth, 1.0, AnimEndSmooth),
    QUORL_ROW(StartX, p.StartEllipseWidth, 1.0, AnimStartX),
    QUORL_ROW(EndX, p.EndEllipseWidth, 1.0, AnimEndX),
    QUORL_ROW(StartY, p.StartEllipseHeight, 1.0, AnimStartY),
    QUORL_ROW(EndY, p.EndEllipseHeight, 1.0, AnimEndY),
    QUORL_ROW(RockAmount, Zero(p), 1.0, AnimRocksAdd),
    QUORL_ROW(StartRockAngle, Zero(p), 1.0, AnimRockerStartAdd),
    QUORL_ROW(EndRockAngle, Zero(p), 1.0, AnimRockerEndAdd),
};

#undef QUORL_ROW

}  // namespace

std::span<const AnimatedRow> AnimatedRows() { return kRows; }

WaveForm WaveFormOf(const ParameterSet& p, const AnimatedRow& row) {
  if (p.*row.linearReturn) return WaveForm::LinearReturn;
  if (p.*row.linear) return WaveForm::Linear;
  if (p.*row.sine) return WaveForm::Sine;
  return WaveForm::None;
}

}  // namespace quorl
