#pragma once

#include <QIcon>
#include <QPixmap>

namespace tdxx {

// The program's icon, drawn here: a keypad with a green arrow coming down onto it.
// The picture at `size` x `size` pixels.
QPixmap DrawProgramIcon(int size);
// The icon in the sizes a desktop asks for of a window (title bar, task bar, window switcher).
QIcon ProgramIcon();

}  // namespace tdxx
