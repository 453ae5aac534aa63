// The rear-switch pictures: their size, and the red frame on the side each window talks about.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QLabel>

#include "GuiHarness.h"
#include "GuideWindowProbe.h"
#include "gui/QtRearSwitchPictures.h"

namespace tdxx::test {
namespace {

enum class Side { Left, Right };

// Strongly red pixels in the left or right third of a picture.
int RedPixels(const QImage& image, Side side) {
  const int third = image.width() / 3;
  const int from = side == Side::Left ? 0 : image.width() - third;
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = from; x < from + third; ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 180 && c.green() < 90 && c.blue() < 90)
        ++count;
    }
  }
  return count;
}

Side FramedSide(const QPixmap& picture) {
  const QImage image = picture.toImage();
  const int left = RedPixels(image, Side::Left);
  const int right = RedPixels(image, Side::Right);
  EXPECT_TRUE((left == 0) != (right == 0)) << left << " red pixels left, " << right << " right";
  return left > right ? Side::Left : Side::Right;
}

TEST(RearSwitchPictures, EachWindowFramesThePositionItTalksAbout) {
  GuiHarness gui;
  const struct {
    QWidget* window;
    const char* image;
    Side framed;
  } cases[] = {
      {&gui.frmTMode, "Image1", Side::Right},  // PRG, step 1
      {&gui.frmTMode, "Image2", Side::Left},   // back to keyboard, step 5
      {&gui.frmFlashDrive, "Image1", Side::Right},   {&gui.frmFlashDrive, "Image2", Side::Left},
      {&gui.frmDownloadFail, "Image1", Side::Right}, {&gui.frmDownloadFail, "Image2", Side::Right}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window->objectName().toStdString() + " " + c.image);
    auto* picture = Control<QLabel>(*c.window, c.image);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(90, 30));
    EXPECT_EQ(picture->size(), QSize(90, 30));
    EXPECT_EQ(FramedSide(picture->pixmap()), c.framed);
  }
}

TEST(RearSwitchPictures, TheTwoKindsDifferOnTheirRightSide) {
  const QImage prg =
      DrawRearSwitchPicture(RearSwitchKind::Prg, RearSwitchPosition::Keyboard).toImage();
  const QImage drive =
      DrawRearSwitchPicture(RearSwitchKind::FlashDrive, RearSwitchPosition::Keyboard).toImage();
  EXPECT_EQ(prg.copy(0, 0, 30, 30), drive.copy(0, 0, 30, 30));
  EXPECT_NE(prg.copy(60, 0, 30, 30), drive.copy(60, 0, 30, 30));
}

}  // namespace
}  // namespace tdxx::test
