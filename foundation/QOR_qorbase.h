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
    using Exception::Exception;
};

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
enum TOrientation : std::uint8_t { orHorizontal, orVertical };
// Background bitmap placement: natural size at the top-left, stretched, tiled.
enum TBkgFill : std::uint8_t { bfSimple, bfStretch, bfTile };
// Interface language; ordinal 0 is unused, 1..4 select the texts.
enum TLanguage : std::uint8_t { lgNone, lgEnglish, lgGerman, lgFrench, lgSpanish };

// The character of a CSV delimiter.
KORVANE_EXPORT QChar CSVDelimiterChar(TCSVDelimiters d);

using TIntArray = QVector<int>;
using TDoubleArray = QVector<double>;

// Progress of a long operation, 0..100.
using TOnPercentDoneEvent = std::function<void(QObject* Sender, int Percent)>;
// A line of exported text, offered to the host before it is written.
using TExportTextEvent = std::function<void(QObject* Sender, QString& Text)>;

// Draws a frame of the given style on the rectangle l..r-1 x t..b-1. The five colours are the
// light, light-grey, dark-grey, dark and (for fsSimple) outline colours; callers pass
// clWhite, $C0C0C0, $808080, clBlack, 0.
//  fsNone:     nothing
//  fsSimple:   a 1-pixel outline in cOutline
//  fsLowered:  outer dark-grey top/left + white bottom/right, inner black top/left + light-grey
//              bottom/right (a 2-pixel sunken bevel)
//  fsRaised:   the mirror image of fsLowered (white/light-grey top-left, black/dark-grey
//              bottom-right)
//  fsEmbossed: an etched ridge: white outline offset by one pixel over a dark-grey outline
//  fsEngraved: an etched groove: dark-grey outline offset by one pixel over a white outline
KORVANE_EXPORT void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
                              TColor cLight, TColor cLightGray, TColor cDarkGray, TColor cDark, TColor cOutline);
// The width in pixels the frame of each style takes on every side.
KORVANE_EXPORT int FrameWidth(TFrameStyle Style);
// Outline of l..r-1 x t..b-1 in the canvas pen, inside untouched.
KORVANE_EXPORT void DrawRectangle(TCanvas* Canvas, int Left, int Top, int Right, int Bottom);

// Marker symbols 0..51, centred on (X, Y), in the canvas pen (outline) and brush (fill) colours:
//   0..3    circle, hollow / filled, radius 3 and 5
//   ...     see MarkerName() for the whole table
// Numbers outside 0..51 draw nothing.
constexpr int NumMarkers = 52;
KORVANE_EXPORT void DrawMarkOnCanvas(TCanvas* Canvas, int Mark, int X, int Y);
// A short English description of a marker ("filled circle, small").
KORVANE_EXPORT QString MarkerName(int Mark);

// Name tables, index [language 1..4][0-based position]; English, German, French, Spanish.
// WeekDayShort is Monday first, at most 3 characters; MonthShort at most 4, MonthLong at most 10.
KORVANE_EXPORT QString MonthShort(TLanguage Lang, int Month);     // Month 1..12
KORVANE_EXPORT QString MonthLong(TLanguage Lang, int Month);      // Month 1..12
KORVANE_EXPORT QString WeekDayShort(TLanguage Lang, int Day);     // Day 1 (Monday) .. 7 (Sunday)

} // namespace qor
