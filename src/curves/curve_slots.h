// The 26 curve slots and the other curves the program keeps, how a slot's
// smooth curve is set up from its points, and how a drawing run reads the
// slots at a step. One CurveSlots belongs to the program state; tests and
// the command line make their own.
#pragma once

#include <array>
#include <string>

#include "curves/bezier.h"
#include "curves/curve.h"
#include "curves/curve_slot_names.h"

namespace quorl {

struct ParameterSet;

// Which curve SetUpBezier rebuilds.
enum class BezierKind {
  kEdit,       // EditCurve -> EditBezier (live preview of a drag)
  kSlot,       // the working slot's Curve -> its Bezier
  kAnimStart,  // AnimStartPathCurve -> AnimStartPathBezier
  kAnimEnd,    // AnimEndPathCurve -> AnimEndPathBezier
};

// A curve counts as defined, and takes effect, from this many points on.
inline constexpr int kDefinedCurvePoints = 5;

struct CurveSlot {
  std::string Name;       // display name in double quotes
  CurvePoints Curve;      // the user's points
  BezierPath Bezier;      // built from Curve by SetUpBezier
  CurvePoints UndoCurve;  // one level of undo
  double Multiplier = 1.0;
};

class CurveSlots {
 public:
  CurveSlots();

  CurveSlot& operator[](int slot) { return Slots[static_cast<size_t>(slot)]; }
  const CurveSlot& operator[](int slot) const { return Slots[static_cast<size_t>(slot)]; }

  // Rebuilds one smooth curve from its points (kinds above). The working
  // slot is ForcedCurveIndex when UseForcedCurveIndex is set, otherwise
  // selectedSlot (the slot chosen in the Points window). A curve of four
  // points or fewer leaves an empty Bezier that reads 0. The Start and End
  // curves (slots 1 and 2) are built about their centroid, so they describe
  // a shape around the origin. kSlot without a working slot changes nothing
  // and gives false. Clears CurveChanged whenever it builds.
  bool SetUpBezier(BezierKind kind, int selectedSlot);

  // Fills every slot's Multiplier for one step of a run: 1.0 for a slot
  // without points, else EvalY(f) + 1 at f = step / Steps, or with
  // useArctan2 the angle atan2(EvalY(f), EvalX(f)) (1.0 when EvalX(f) is 0).
  // Returns the step's colour amount: from |M24| * StartAmount at the first
  // step to |M25| * EndAmount at the last, divided by 100.
  double ReadSlotMultipliers(const ParameterSet& params, int step, bool useArctan2);

  // Copies a slot's Curve into its UndoCurve; false for an index outside
  // 0 ... 25 (nothing copied).
  bool PutCurveToUndo(int slot);
  // Every slot: undo copy, then its Curve emptied. Beziers are left alone;
  // an empty Curve is read as no curve.
  void ResetAllCurves();

  std::array<CurveSlot, kCurveCount> Slots;

  CurvePoints ClipboardCurve;
  CurvePoints EditCurve;
  BezierPath EditBezier;
  CurvePoints AnimStartPathCurve;
  BezierPath AnimStartPathBezier;
  CurvePoints AnimEndPathCurve;
  BezierPath AnimEndPathBezier;

  bool CurveChanged = false;  // a freehand stroke is in progress
  bool UseForcedCurveIndex = false;
  int ForcedCurveIndex = 0;
};

}  // namespace quorl
