// Base-package essentials shared by every component: the root exception, the shared
// enumerations and event types, frame, rectangle and marker drawing, and the name tables of
// the four interface languages.
#pragma once

#include <QOR_Graphics.h>
#include <QOR_SysUtils.h>

#include <QObject>
#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>

namespace qor {

// Parent of every component exception.
class KORVANE_EXPORT EQORError : public Exception {
public:
    // Carries the message text.
    using Exception::Exception;
};

// The shared enumerations, registered with Qt's meta-object system so that Designer and .ui
// files show and store their names (qor::QOR_qorbase::fsRaised; qor::fsRaised in code).
inline namespace QOR_qorbase {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)

// Frame style of a control, used by ordinal: 0 no frame, 1 a simple outline, 2 sunken,
// 3 raised, 4 and 5 etched (embossed, engraved).
enum TFrameStyle : std::uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
// Colours of frame lines: ordinal 0 grey $808080 and white $FFFFFF, 1 clBtnShadow and
// clBtnHighlight.
enum TColorScheme : std::uint8_t { csGrayWhite, csSystemColors };
// CSV field delimiter: comma, semicolon, tab, space, vertical bar.
enum TCSVDelimiters : std::uint8_t { csvComma, csvSemicolon, csvTab, csvSpace, csvBar };
// Decimal separator choice: the platform's, point, comma, point or comma.
enum TDecPSep : std::uint8_t { dpsOS, dpsPoint, dpsComma, dpsBoth };
// Growth direction (ordinal 0 upward, 3 to the right).
enum TDirection : std::uint8_t { dirUp, dirDown, dirLeft, dirRight };
// Direction along which a control is laid out.
enum TOrientation : std::uint8_t { orHorizontal, orVertical };
// Background bitmap placement: natural size at the top-left, stretched, tiled.
enum TBkgFill : std::uint8_t { bfSimple, bfStretch, bfTile };
// Interface language; ordinal 0 is unused, 1..4 select the texts.
enum TLanguage : std::uint8_t { lgNone, lgEnglish, lgGerman, lgFrench, lgSpanish };

Q_ENUM_NS(TFrameStyle)
Q_ENUM_NS(TColorScheme)
Q_ENUM_NS(TCSVDelimiters)
Q_ENUM_NS(TDecPSep)
Q_ENUM_NS(TDirection)
Q_ENUM_NS(TOrientation)
Q_ENUM_NS(TBkgFill)
Q_ENUM_NS(TLanguage)
} // namespace QOR_qorbase

// The character of a CSV delimiter: ',', ';', tab, space, '|'; a comma for values outside the
// enumeration.
KORVANE_EXPORT QChar CSVDelimiterChar(TCSVDelimiters d);

// A growable list of integers.
using TIntArray = QVector<int>;
// A growable list of doubles.
using TDoubleArray = QVector<double>;

// Progress of a long operation, 0..100.
using TOnPercentDoneEvent = std::function<void(QObject* Sender, int Percent)>;
// A line of exported text, offered to the host before it is written.
using TExportTextEvent = std::function<void(QObject* Sender, QString& Text)>;

// Frames. DrawFrame draws the frame of Style on the box whose corner pixels are (Left, Top) and
// (Right, Bottom): Right and Bottom are inclusive, so callers pass (0, 0, Width - 1, Height - 1)
// to frame a whole bitmap. A reversed box is normalised. Only frame pixels are touched: the
// inside is not filled (callers fill it first) and the canvas pen, brush and pen position are left
// as they were. Lines are 1 pixel wide and drawn in copy mode.
//
// The five colours: cLight, cLightGray, cDarkGray, cDark for the bevels and cOutline for
// fsSimple; callers normally pass clWhite, $C0C0C0, $808080, clBlack and an outline colour.
//
// A ring on a box (l, t, r, b) is two halves:
//   top-left half:     row t from l to r-1, and column l from t to b-1;
//   bottom-right half: row b from l to r,   and column r from t to b
// so the top-right corner (r, t) and the bottom-left corner (l, b) belong to the bottom-right
// half. Two-pixel styles draw an outer ring on (l, t, r, b) and an inner ring on
// (l+1, t+1, r-1, b-1) (skipped when the box is too small to hold it):
//
//   style       outer top-left  outer bottom-right  inner top-left  inner bottom-right
//   fsNone      nothing
//   fsSimple    cOutline        cOutline            -               -
//   fsLowered   cDarkGray       cLight              cDark           cLightGray
//   fsRaised    cLightGray      cDark               cLight          cDarkGray
//   fsEmbossed  cLight          cDarkGray           cDarkGray       cLight      (a ridge)
//   fsEngraved  cDarkGray       cLight              cLight          cDarkGray   (a groove)
//
// Styles outside 0..5 draw nothing.
KORVANE_EXPORT void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
                              TColor cLight, TColor cLightGray, TColor cDarkGray, TColor cDark, TColor cOutline);
// The width in pixels the frame of each style takes on every side: 0, 1, 2, 2, 2, 2 (0 for
// values outside the enumeration).
KORVANE_EXPORT int FrameWidth(TFrameStyle Style);
// Outline of l..r-1 x t..b-1 in the canvas pen (colour, width, mode), inside untouched (the brush
// is left as it was).
KORVANE_EXPORT void DrawRectangle(TCanvas* Canvas, int Left, int Top, int Right, int Bottom);

// Marker symbols 0..51, centred on (X, Y): the symbol's bounding box is (X - s .. X + s) x
// (Y - s .. Y + s) with the half-size s = 2 (small), 3 (medium) or 5 (large), and every symbol
// is mirror-symmetric about its own axes through (X, Y). All pixels are drawn once, in the canvas
// pen colour and pen mode, with a 1-pixel solid line whatever the pen width and style; filled
// symbols are filled in the pen colour too, hollow ones leave their inside untouched. The brush,
// pen and pen position are left as they were.
//    0       dot (the single pixel (X, Y))
//    1..6    circle      hollow small, filled small, hollow medium, filled medium,
//                        hollow large, filled large
//    7..12   square      same order
//   13..18   diamond     same order
//   19..24   triangle pointing up     same order
//   25..30   triangle pointing down   same order
//   31..36   triangle pointing left   same order
//   37..42   triangle pointing right  same order
//   43..45   cross "+"   small, medium, large
//   46..48   x-cross     small, medium, large
//   49..51   star (both crosses)  small, medium, large
// Numbers outside 0..51 draw nothing.
constexpr int NumMarkers = 52;
// Draws marker Mark centred on (X, Y) as described at NumMarkers; nothing for a null canvas or a
// number outside 0..51.
KORVANE_EXPORT void DrawMarkOnCanvas(TCanvas* Canvas, int Mark, int X, int Y);
// A short English description of a marker ("filled circle, small"); empty outside 0..51.
KORVANE_EXPORT QString MarkerName(int Mark);
// The half-size s of a marker (its box is 2s + 1 pixels wide and high); 0 for the dot and for
// numbers outside 0..51.
KORVANE_EXPORT int MarkerHalfSize(int Mark);

// Name tables of the interface languages 1..4 (English, German, French, Spanish), capitalised as
// they stand at the head of a calendar. WeekDayShort is Monday first, at most 3 characters;
// MonthShort at most 4, MonthLong at most 10. A language or position out of range gives "".
KORVANE_EXPORT QString MonthShort(TLanguage Lang, int Month);     // Month 1..12
KORVANE_EXPORT QString MonthLong(TLanguage Lang, int Month);      // Month 1..12
KORVANE_EXPORT QString WeekDayShort(TLanguage Lang, int Day);     // Day 1 (Monday) .. 7 (Sunday)

} // namespace qor
