// Helpers shared by the tests.
#pragma once

#include <QAccessible>
#include <QImage>
#include <functional>
#include <QString>
#include <QWidget>
#include <ostream>

#include <QOR_Graphics.h>

namespace qortest {

// The colour of a pixel of an image as a TColor ($00BBGGRR).
qor::TColor PixelAt(const QImage& img, int x, int y);
// Renders a widget at device pixel ratio 1 and returns the picture.
QImage Render(QWidget* w);
// A fresh scratch directory under the system temp folder, removed at exit.
QString ScratchDir();
// Writes bytes to a file; returns the path.
QString WriteFile(const QString& path, const QByteArray& bytes);
// Receives every accessibility event Qt sends (an empty function: none).
using AccessibilityListener = std::function<void(QAccessibleEvent*)>;
void SetAccessibilityListener(AccessibilityListener listener);

} // namespace qortest

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
