#pragma once

#include <QDialog>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

class QLabel;
class QPushButton;

namespace tdxx {

// The look the three guide windows share: a fixed-size tool window with a white client area and
// Tahoma 8 pt (a sans family where Tahoma is missing). As a child of the main window it is
// centred on it each time it is shown.
void SetUpGuideWindow(QDialog& window, const QString& objectName, const QString& caption,
                      QSize clientSize);

// Window flags of a guide window: a tool window with only its title and close box.
inline constexpr Qt::WindowFlags kGuideWindowFlags =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// The layout the two step-by-step guide windows (PRG/TMode and flash drive) share: pictures of
// the rear switch on the left, the steps beside them, the buttons right of the steps they serve.
namespace step_window {
inline constexpr int kPictureLeft = 12;
inline constexpr int kTextLeft = 112;
inline constexpr int kTextWidth = 407;
// A step with buttons on its right is narrower.
inline constexpr int kNarrowTextWidth = 270;
inline constexpr int kButtonLeft = 396;
inline constexpr int kButtonWidth = 123;
}  // namespace step_window

// Text styles of the guide windows' labels.
enum class GuideText { Normal, Large, LargeBold };

// A word-wrapped label at `geometry`, top-left aligned.
QLabel* AddGuideLabel(QWidget& window, const char* name, const char* text, GuideText style,
                      const QRect& geometry);
// A fixed picture at `topLeft`, in its own size.
QLabel* AddGuidePicture(QWidget& window, const char* name, const QPixmap& picture, QPoint topLeft);
// A push button at `geometry`; it does not take Enter as the window's default button.
QPushButton* AddGuideButton(QWidget& window, const char* name, const char* text,
                            const QRect& geometry);

}  // namespace tdxx
