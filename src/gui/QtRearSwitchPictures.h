#pragma once

#include <QPixmap>
#include <QSize>

namespace tdxx {

// Pictures of a keypad's rear switch, drawn here for the guide windows: a slide switch between a
// keyboard symbol on the left and, on the right, the letters PRG (keypads with a PRG/TMode
// position) or a flash-drive symbol (keypads with a flash-drive position). A red frame marks the
// position the window talks about, and the switch's knob stands at that position.
enum class RearSwitchKind { Prg, FlashDrive };
enum class RearSwitchPosition { Keyboard, Other };

inline constexpr QSize kRearSwitchPictureSize{90, 30};

// The picture at `scale` times 90 x 30 pixels.
QPixmap DrawRearSwitchPicture(RearSwitchKind kind, RearSwitchPosition framed, int scale = 1);

}  // namespace tdxx
