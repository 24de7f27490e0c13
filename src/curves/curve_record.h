// The curves in the program's binary files, exactly (doubles by their bits).
// A recipe keeps each slot's points and the two animation path curves; a
// run's state also keeps the smooth curves as they were built, which a run
// reads even when they no longer match the points (Reset all curves leaves
// them alone).
#pragma once

#include "base/byte_stream.h"
#include "curves/curve_slots.h"

namespace quorl {

// The points of every slot and of the animation path curves.
void WriteCurvePoints(ByteWriter& out, const CurveSlots& curves);
// False (and `in` failed) for damaged input; a failed read may leave some
// slots changed.
bool ReadCurvePoints(ByteReader& in, CurveSlots& curves);

// The smooth curves and the slots' multipliers, as built.
void WriteBuiltCurves(ByteWriter& out, const CurveSlots& curves);
bool ReadBuiltCurves(ByteReader& in, CurveSlots& curves);

// The same points, sum and centre, bit for bit.
bool SameCurvePointsOf(const CurvePoints& a, const CurvePoints& b);
// The same points (and sums and centres) in every slot and path curve.
bool SameCurvePoints(const CurveSlots& a, const CurveSlots& b);

}  // namespace quorl
