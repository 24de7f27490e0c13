// Values a drawing run computes per step and hands to the shape functions,
// colouring and the curve readers; the run-control flags; and the values the
// animation supplies per frame.
#pragma once

#include "base/point.h"
#include "base/shared_flag.h"

namespace quorl {

// Not stored; all false at start. A run stepped on another thread sets and
// reads the first two while the window's thread may look at them.
struct RunFlags {
  SharedFlag IsDrawing = false;
  SharedFlag StopRequested = false;
  bool InAnimation = false;
  bool DrawEachStep = false;  // menu "Draw each step?"
  bool Preview = false;       // menu "Preview"
};

struct StepState {
  double StepFraction = 0;
  double PathFraction = 0;
  double StepScale = 2.0;
  double StepAmount[3] = {1, 1, 1};
  double StepColor[3] = {0, 0, 0};
  double SourceThetaMultiplier = 1;
  double SourceStepMultiplier = 1;
  double StepEllipseWidth = 1;
  double StepEllipseHeight = 1;
  double EllipseFactorX = 1;
  double EllipseFactorY = 1;
  double StepShiftX = 0;
  double StepShiftY = 0;
  double DimmerFactor = 1;
  double ZFactor = 1;
  Point PathCurvePoint;
  Point MouseRealPoint;
};

// Written by the animation before each frame while InAnimation is set.
struct AnimationOverrides {
  double AnimStartRadius = 0, AnimEndRadius = 0;  // hundredths
  double AnimStartAngle = 0, AnimEndAngle = 0;    // degrees
  double AnimStartBumps = 0, AnimEndBumps = 0;
  double AnimStartSmooth = 0, AnimEndSmooth = 0;
  double AnimStartX = 0, AnimEndX = 0;
  double AnimStartY = 0, AnimEndY = 0;
  Point AnimRotateStart, AnimRotateEnd;
  Point AnimShiftStart, AnimShiftEnd;
  double AnimRocksAdd = 0, AnimRockerStartAdd = 0, AnimRockerEndAdd = 0;
  double AnimLissaAdd = 0;
  double AnimPathOffset = 0;
  // Progress angle of the current frame (0 outside a series); colouring reads it.
  double AnimationPhase = 0;
};

}  // namespace quorl
