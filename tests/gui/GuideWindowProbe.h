#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "gui/QtGuideDialog.h"
#include "protocol/MainWindowPort.h"

namespace tdxx::test {

// A control of `window` by its object name; fails the test when it is missing. A guide window
// makes its controls when first shown; a look before that makes them first.
template <typename T>
T* Control(QWidget& window, const char* name) {
  if (auto* guide = dynamic_cast<QtGuideDialog*>(&window))
    guide->EnsureContents();
  T* control = window.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(control, nullptr) << name;
  return control;
}

// Clicks the push button `button` of `window`.
inline void Click(QWidget& window, const char* button) {
  QTest::mouseClick(Control<QPushButton>(window, button), Qt::LeftButton);
}

// Shows `window` as the Download command does (the port's modal window `which`) and runs `act`
// on it once it is shown; returns once it has closed.
template <typename Harness, typename Act>
void ShowGuide(Harness& gui, QWidget& window, ModalWindow which, Act act) {
  bool shown = false;
  gui.OnNextModal([&window, &shown, act](QWidget* modal) {
    ASSERT_EQ(modal, &window);
    shown = true;
    act(window);
  });
  gui.frmMain.ShowModalWindow(which);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(window.isVisible());
}

// The widget that Tab moves to from `widget`.
inline QWidget* NextTabStop(QWidget* widget) {
  QWidget* next = widget->nextInFocusChain();
  while (next != widget && !(next->focusPolicy() & Qt::TabFocus))
    next = next->nextInFocusChain();
  return next;
}

// Every control lies inside the window, no two overlap, and each text fits its control in the
// fonts at hand (a wrapped label's lines fit its height, a button's caption its width).
inline void ExpectLaidOutCleanly(QWidget& window) {
  std::vector<QWidget*> controls;
  for (QObject* child : window.children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (control != nullptr && !control->isWindow() && !control->objectName().isEmpty())
      controls.push_back(control);
  }
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const QWidget* a = controls[i];
    const std::string name = a->objectName().toStdString();
    EXPECT_TRUE(window.rect().contains(a->geometry())) << name;
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      EXPECT_FALSE(a->geometry().intersects(controls[j]->geometry()))
          << name << " overlaps " << controls[j]->objectName().toStdString();
    }
    if (const auto* label = qobject_cast<const QLabel*>(a);
        label != nullptr && label->pixmap().isNull()) {
      EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(a)) {
      const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
      EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + icon + 12,
                button->width())
          << name;
    }
  }
}

// Answers every message box shown while it lives with its OK (or default) button, and keeps
// their titles and texts.
class MessageBoxWatcher {
 public:
  struct Box {
    std::string title;
    std::string text;
  };

  MessageBoxWatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr)
        return;
      boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString()});
      if (QAbstractButton* ok = box->button(QMessageBox::Ok))
        ok->click();
      else
        box->accept();
    });
    timer_.start();
  }

  std::vector<Box> boxes;

 private:
  QTimer timer_;
};

}  // namespace tdxx::test
