#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

namespace tdxx {

// The look the three guide windows share: a fixed-size tool window with a white client area and
// Tahoma 8 pt (a sans family where Tahoma is missing). As a child of the main window it is
// centred on it each time it is shown.
void SetUpGuideWindow(QDialog& window, const QString& objectName, const QString& caption,
                      QSize clientSize);

// Window flags of a guide window: a tool window with only its title and close box.
inline constexpr Qt::WindowFlags kGuideWindowFlags =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace tdxx
