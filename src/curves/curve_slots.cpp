#include "curves/curve_slots.h"

#include <cmath>

#include "base/step_arithmetic.h"
#include "settings/parameter_set.h"

namespace quorl {

CurveSlots::CurveSlots() {
  for (int i = 0; i < kCurveCount; ++i) Slots[static_cast<size_t>(i)].Name = SlotName(i);
}

bool CurveSlots::SetUpBezier(BezierKind kind, int selectedSlot) {
  const int w = UseForcedCurveIndex ? ForcedCurveIndex : selectedSlot;
  const CurvePoints* curve = nullptr;
  BezierPath* target = nullptr;
  switch (kind) {
    case BezierKind::kEdit:
      curve = &EditCurve;
      target = &EditBezier;
      break;
    case BezierKind::kSlot:
      if (w < 0 || w >= kCurveCount) return false;
      curve = &Slots[static_cast<size_t>(w)].Curve;
      target = &Slots[static_cast<size_t>(w)].Bezier;
      break;
    case BezierKind::kAnimStart:
      curve = &AnimStartPathCurve;
      target = &AnimStartPathBezier;
      break;
    case BezierKind::kAnimEnd:
      curve = &AnimEndPathCurve;
      target = &AnimEndPathBezier;
      break;
  }

  *target = BezierPath();
  const int n = curve->GetLength();
  if (n >= kDefinedCurvePoints) {
    const bool outline = (w == kStartCurveSlot || w == kEndCurveSlot) &&
                         (kind == BezierKind::kEdit || kind == BezierKind::kSlot);
    const Point offset = outline ? curve->Centroid : Point{};
    target->InitBezier(n, 100);
    for (const Point& p : curve->Points) target->AddBezierPoint(p.X - offset.X, p.Y - offset.Y);
    target->BuildBezier();
  }
  CurveChanged = false;
  return true;
}

double CurveSlots::ReadSlotMultipliers(const ParameterSet& params, int step, bool useArctan2) {
  const double f = Interpolate(0, 1, 0, step, params.Steps);
  for (CurveSlot& slot : Slots) {
    if (slot.Curve.GetLength() == 0) {
      slot.Multiplier = 1.0;
    } else if (!useArctan2) {
      slot.Multiplier = slot.Bezier.EvalY(f) + 1.0;
    } else {
      const Point p = slot.Bezier.Eval(f);
      slot.Multiplier = p.X == 0 ? 1.0 : std::atan2(p.Y, p.X);
    }
  }
  const double startAmount = std::fabs(Slots[kStartAmountSlot].Multiplier) * params.StartAmount;
  const double endAmount = std::fabs(Slots[kEndAmountSlot].Multiplier) * params.EndAmount;
  return Interpolate(startAmount, endAmount, 0, step, params.Steps) / 100;
}

bool CurveSlots::PutCurveToUndo(int slot) {
  if (slot < 0 || slot >= kCurveCount) return false;
  CurveSlot& s = Slots[static_cast<size_t>(slot)];
  CurvePoints::CopyCurve(s.Curve, s.UndoCurve);
  return true;
}

void CurveSlots::ResetAllCurves() {
  for (int i = 0; i < kCurveCount; ++i) {
    PutCurveToUndo(i);
    Slots[static_cast<size_t>(i)].Curve.Empty();
  }
}

}  // namespace quorl
