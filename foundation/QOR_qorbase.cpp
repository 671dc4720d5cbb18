#include "QOR_qorbase.h"

#include <QOR_DateUtils.h>

#include <QPainter>
#include <QVarLengthArray>

#include <array>
#include <cstdlib>
#include <utility>
#include <vector>

namespace qor {

// ---------------------------------------------------------------------------------------------
// Small helpers

QChar CSVDelimiterChar(TCSVDelimiters d)
{
    switch (d) {
    case csvComma: return QLatin1Char(',');
    case csvSemicolon: return QLatin1Char(';');
    case csvTab: return QLatin1Char('\t');
    case csvSpace: return QLatin1Char(' ');
    case csvBar: return QLatin1Char('|');
    }
    return QLatin1Char(',');
}

namespace {

// Saves the pen (and pen position) on construction and puts it back on destruction, so the
// drawing services leave the caller's canvas as they found it.
class TPenKeeper {
public:
    explicit TPenKeeper(TCanvas* c) : FCanvas(c), FPos(c->PenPos()) { FPen.Assign(*c->Pen()); }
    ~TPenKeeper()
    {
        FCanvas->Pen()->Assign(FPen);
        FCanvas->SetPenPos(FPos);
    }
    TPenKeeper(const TPenKeeper&) = delete;
    TPenKeeper& operator=(const TPenKeeper&) = delete;
private:
    TCanvas* FCanvas;
    QPoint FPos;
    TPen FPen;
};

// Pixels (x1, y1)..(x2, y2), both inclusive, of a one-pixel row or column.
void Span(QPainter* p, int x1, int y1, int x2, int y2, const QColor& c)
{
    if (x1 <= x2 && y1 <= y2)
        p->fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), c);
}

// One ring of a frame on the inclusive box (l, t, r, b); see the header for which pixels belong
// to which half.
void DrawRing(QPainter* p, int l, int t, int r, int b, TColor topLeft, TColor bottomRight)
{
    if (l > r || t > b)
        return;
    const QColor tl = ToQColor(topLeft), br = ToQColor(bottomRight);
    Span(p, l, t, r - 1, t, tl);
    Span(p, l, t, l, b - 1, tl);
    Span(p, l, b, r, b, br);
    Span(p, r, t, r, b, br);
}

} // namespace

void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor cLight, TColor cLightGray, TColor cDarkGray, TColor cDark, TColor cOutline)
{
    if (!Canvas || FrameWidth(Style) == 0)
        return;
    if (Right < Left)
        std::swap(Left, Right);
    if (Bottom < Top)
        std::swap(Top, Bottom);

    struct Colours { TColor OuterTL, OuterBR, InnerTL, InnerBR; };
    Colours k{};
    switch (Style) {
    case fsSimple: k = {cOutline, cOutline, 0, 0}; break;
    case fsLowered: k = {cDarkGray, cLight, cDark, cLightGray}; break;
    case fsRaised: k = {cLightGray, cDark, cLight, cDarkGray}; break;
    case fsEmbossed: k = {cLight, cDarkGray, cDarkGray, cLight}; break;
    case fsEngraved: k = {cDarkGray, cLight, cLight, cDarkGray}; break;
    default: return;
    }

    // The rings are filled spans on the canvas's painter, set to copy mode through the pen.
    TPenKeeper keep(Canvas);
    Canvas->Pen()->SetMode(pmCopy);
    QPainter* p = Canvas->Painter();
    if (!p)
        return;
    DrawRing(p, Left, Top, Right, Bottom, k.OuterTL, k.OuterBR);
    if (FrameWidth(Style) == 2)
        DrawRing(p, Left + 1, Top + 1, Right - 1, Bottom - 1, k.InnerTL, k.InnerBR);
}

int FrameWidth(TFrameStyle Style)
{
    switch (Style) {
    case fsNone: return 0;
    case fsSimple: return 1;
    case fsLowered:
    case fsRaised:
    case fsEmbossed:
    case fsEngraved: return 2;
    }
    return 0;
}

void DrawRectangle(TCanvas* Canvas, int Left, int Top, int Right, int Bottom)
{
    if (!Canvas)
        return;
    TBrush saved;
    saved.Assign(*Canvas->Brush());
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(Left, Top, Right, Bottom);
    Canvas->Brush()->Assign(saved);
}

// ---------------------------------------------------------------------------------------------
// Markers
//
// Every symbol is a mask of pixels computed once from integer formulas that are symmetric in dx
// and dy, then kept as horizontal runs that do not overlap; drawing paints each run once, so
// each pixel is painted exactly once (which keeps xor pen modes correct), never antialiased.

namespace {

enum class TShape { Dot, Circle, Square, Diamond, TriUp, TriDown, TriLeft, TriRight, Cross, XCross, Star };

struct TMarkerDef {
    TShape Shape;
    bool Filled;
    int Half;   // half-size: the box is 2 * Half + 1 pixels square
};

constexpr std::array<int, 3> kHalfSizes{2, 3, 5};
constexpr int kAreaShapes = 7;     // circle .. triangle right, each hollow and filled
constexpr int kFirstLineMark = 1 + kAreaShapes * 6;   // 43

TMarkerDef MarkerDef(int mark)
{
    if (mark == 0)
        return {TShape::Dot, true, 0};
    if (mark < kFirstLineMark) {
        const int k = mark - 1;
        return {TShape(int(TShape::Circle) + k / 6), (k % 2) == 1, kHalfSizes[size_t((k % 6) / 2)]};
    }
    const int k = mark - kFirstLineMark;
    return {TShape(int(TShape::Cross) + k / 3), false, kHalfSizes[size_t(k % 3)]};
}

// Whether (dx, dy) lies in the filled area of a shape of half-size h.
bool InArea(TShape shape, int h, int dx, int dy)
{
    if (std::abs(dx) > h || std::abs(dy) > h)
        return false;
    // The triangles share one profile: a one-pixel tip, then the half-width grows by one every
    // two rows (1, 3, 3, 5, 5 ... pixels), which keeps the tip free of a one-pixel stalk.
    auto inTriangle = [h](int along, int across) { return std::abs(across) <= (along + h + 1) / 2; };
    switch (shape) {
    case TShape::Dot: return dx == 0 && dy == 0;
    case TShape::Circle: return dx * dx + dy * dy <= h * h + h;
    case TShape::Square: return true;
    case TShape::Diamond: return std::abs(dx) + std::abs(dy) <= h;
    case TShape::TriUp: return inTriangle(dy, dx);
    case TShape::TriDown: return inTriangle(-dy, dx);
    case TShape::TriLeft: return inTriangle(dx, dy);
    case TShape::TriRight: return inTriangle(-dx, dy);
    case TShape::Cross: return dx == 0 || dy == 0;
    case TShape::XCross: return std::abs(dx) == std::abs(dy);
    case TShape::Star: return dx == 0 || dy == 0 || std::abs(dx) == std::abs(dy);
    }
    return false;
}

bool InMarker(const TMarkerDef& d, int dx, int dy)
{
    if (!InArea(d.Shape, d.Half, dx, dy))
        return false;
    const bool lineShape = d.Shape == TShape::Cross || d.Shape == TShape::XCross || d.Shape == TShape::Star;
    if (d.Filled || lineShape || d.Shape == TShape::Dot)
        return true;
    // Hollow: the pixels of the area that touch the outside through an edge.
    return !(InArea(d.Shape, d.Half, dx - 1, dy) && InArea(d.Shape, d.Half, dx + 1, dy)
             && InArea(d.Shape, d.Half, dx, dy - 1) && InArea(d.Shape, d.Half, dx, dy + 1));
}

struct TRun {
    int Dy, X1, X2;   // row offset and inclusive column offsets
};

std::vector<TRun> BuildRuns(int mark)
{
    const TMarkerDef d = MarkerDef(mark);
    std::vector<TRun> runs;
    for (int dy = -d.Half; dy <= d.Half; ++dy) {
        int dx = -d.Half;
        while (dx <= d.Half) {
            if (!InMarker(d, dx, dy)) {
                ++dx;
                continue;
            }
            const int start = dx;
            while (dx + 1 <= d.Half && InMarker(d, dx + 1, dy))
                ++dx;
            runs.push_back({dy, start, dx});
            ++dx;
        }
    }
    return runs;
}

const std::vector<TRun>& MarkerRuns(int mark)
{
    static const auto table = [] {
        std::array<std::vector<TRun>, NumMarkers> t;
        for (int m = 0; m < NumMarkers; ++m)
            t[size_t(m)] = BuildRuns(m);
        return t;
    }();
    return table[size_t(mark)];
}

QString ShapeName(TShape s)
{
    switch (s) {
    case TShape::Dot: return QStringLiteral("dot");
    case TShape::Circle: return QStringLiteral("circle");
    case TShape::Square: return QStringLiteral("square");
    case TShape::Diamond: return QStringLiteral("diamond");
    case TShape::TriUp: return QStringLiteral("triangle up");
    case TShape::TriDown: return QStringLiteral("triangle down");
    case TShape::TriLeft: return QStringLiteral("triangle left");
    case TShape::TriRight: return QStringLiteral("triangle right");
    case TShape::Cross: return QStringLiteral("cross");
    case TShape::XCross: return QStringLiteral("x-cross");
    case TShape::Star: return QStringLiteral("star");
    }
    return {};
}

bool ValidMark(int mark) { return mark >= 0 && mark < NumMarkers; }

} // namespace

void DrawMarkOnCanvas(TCanvas* Canvas, int Mark, int X, int Y)
{
    if (!Canvas || !ValidMark(Mark))
        return;
    TPenKeeper keep(Canvas);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetStyle(psSolid);
    // One painter call for all runs instead of a line call per run: the painter comes set up with
    // the pen colour and pen mode; antialiasing is switched off for the symbol and restored after.
    QPainter* p = Canvas->Painter();
    if (!p)
        return;
    QVarLengthArray<QLine, 48> lines;
    QVarLengthArray<QPoint, 16> points;
    for (const TRun& r : MarkerRuns(Mark)) {
        if (r.X1 == r.X2)
            points.append(QPoint(X + r.X1, Y + r.Dy));
        else
            lines.append(QLine(X + r.X1, Y + r.Dy, X + r.X2, Y + r.Dy));
    }
    const bool aa = p->testRenderHint(QPainter::Antialiasing);
    p->setRenderHint(QPainter::Antialiasing, false);
    if (!lines.isEmpty())
        p->drawLines(lines.constData(), int(lines.size()));
    if (!points.isEmpty())
        p->drawPoints(points.constData(), int(points.size()));
    p->setRenderHint(QPainter::Antialiasing, aa);
}

QString MarkerName(int Mark)
{
    if (!ValidMark(Mark))
        return {};
    const TMarkerDef d = MarkerDef(Mark);
    if (d.Shape == TShape::Dot)
        return ShapeName(d.Shape);
    static const char* const sizes[] = {"small", "medium", "large"};
    const char* size = sizes[d.Half == kHalfSizes[0] ? 0 : d.Half == kHalfSizes[1] ? 1 : 2];
    const bool area = Mark < kFirstLineMark;
    QString name = area ? QString::fromLatin1(d.Filled ? "filled " : "hollow ") : QString();
    return name + ShapeName(d.Shape) + QStringLiteral(", ") + QLatin1String(size);
}

int MarkerHalfSize(int Mark)
{
    return ValidMark(Mark) ? MarkerDef(Mark).Half : 0;
}

// ---------------------------------------------------------------------------------------------
// Name tables

namespace {

// The platform's running-text name with a capital first letter, as it heads a calendar.
QString CalendarName(TLanguage Lang, TDateNameKind Kind, int Ix)
{
    QString s = DateName(int(Lang), Kind, Ix);
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

} // namespace

QString MonthShort(TLanguage Lang, int Month) { return CalendarName(Lang, dnMonthShort, Month); }
QString MonthLong(TLanguage Lang, int Month) { return CalendarName(Lang, dnMonthLong, Month); }
QString WeekDayShort(TLanguage Lang, int Day) { return CalendarName(Lang, dnDayShort, Day); }

} // namespace qor
