// Helpers shared by the tests.
#pragma once

#include <QAccessible>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <functional>
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
// The bytes of a file (empty when it cannot be read).
QByteArray ReadFile(const QString& path);

// Whether the address sanitizer watches the run: everything is several times slower, and
// operator new ends the program instead of throwing bad_alloc.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool UnderSanitizer = true;
#else
constexpr bool UnderSanitizer = false;
#endif
#else
constexpr bool UnderSanitizer = false;
#endif
// Whether the build is optimised (NDEBUG): timings of the two kinds of build differ severalfold.
#ifdef NDEBUG
constexpr bool OptimisedBuild = true;
#else
constexpr bool OptimisedBuild = false;
#endif
// How many times longer than in an optimised build a deadline of a test may be: Debug and
// sanitizer builds run slower, and a loaded machine slows everything down.
int TimeScale();
// CPU time of the calling thread in nanoseconds: what a piece of code costs, however often a
// busy machine preempts it (wall-clock time of anything longer than a time slice can grow
// tenfold there).
qint64 ThreadCpuNs();
// Timings compared within one run cancel the machine's speed, but not its load: a comparison
// passes when one of Attempts tries satisfies it (load only ever slows one side at random).
bool OneOf(int Attempts, const std::function<bool()>& Attempt);
// The share of its full size a load test runs: 1 in an optimised build without sanitizer, less
// in Debug and sanitizer builds, so the suite keeps its pace there. KORVANE_LOAD_SCALE overrides.
double LoadScale();
// Bytes the process holds on the heap (the sanitizer's count when it runs).
std::size_t HeapInUse();
// File descriptors the process has open.
int OpenHandles();
// Receives every accessibility event Qt sends (an empty function: none).
using AccessibilityListener = std::function<void(QAccessibleEvent*)>;
void SetAccessibilityListener(AccessibilityListener listener);

} // namespace qortest

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
