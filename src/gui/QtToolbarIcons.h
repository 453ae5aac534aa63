#pragma once

#include <QIcon>
#include <QPixmap>

namespace tdxx {

// The seven 16 x 16 tool-bar images, drawn here: 0 open folder, 1 plug (connect), 2 arrow into a
// tray (download), 3 option list, 4 circular arrow (reboot), 5 eraser, 6 door with arrow (exit).
inline constexpr int kToolbarImageCount = 7;
inline constexpr int kToolbarImageSize = 16;

// Image `index` (0 to 6) at `scale` times 16 pixels; an index out of range gives a blank image.
QPixmap DrawToolbarImage(int index, int scale = 1);
// The image as an icon, with a doubled copy for high-density screens.
QIcon ToolbarIcon(int index);

}  // namespace tdxx
