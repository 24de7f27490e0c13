// The program's one icon, drawn from data/icons/quorl.svg: the window, the
// About box and the desktop all show it.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace quorl {

QIcon ProgramIcon();
// The icon drawn at `size` x `size` device-independent pixels.
QPixmap ProgramPicture(int size);

}  // namespace quorl
