// The two cursors of curve editing, loaded by name from the resources and
// registered under the numbers curve editing asks for.
#pragma once

#include <QCursor>

namespace quorl {

inline constexpr int kCurveRotateCursor = 1;  // "CURVEROTATE"
inline constexpr int kCurveExpandCursor = 2;  // "CURVEEXPAND"

// Loads both cursors; safe to call more than once.
void RegisterCursors();

// The registered cursor of that number; the arrow for an unknown number.
QCursor CursorNumber(int number);

}  // namespace quorl
