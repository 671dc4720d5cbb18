#include "QOR_sevenseg.h"
#include "QOR_WidgetFactory.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qor {

namespace {

constexpr int kGlyphW = 312;
constexpr int kGlyphH = 432;
constexpr int kDotGlyph = SevenSegGlyphCount - 1;   // the "." cell

enum TShape { shVert, shHorz, shDot, shPlus, shDeg, shColon, kShapeCount };

const char* const kShapeNames[kShapeCount] = {"SEGVERT", "SEGHORZ", "SEGDOT", "SEGPLUS", "SEGDEG", "SEGCOLON"};

struct TPlacement {
    TShape Shape;
    QPoint At;
};

// Segments 1..7 (top, upper left, upper right, middle, lower left, lower right, bottom).
const TPlacement kSegments[7] = {
    {shHorz, {94, 0}},  {shVert, {37, 23}},  {shVert, {244, 23}}, {shHorz, {57, 197}},
    {shVert, {0, 220}}, {shVert, {207, 220}}, {shHorz, {20, 394}},
};
const TPlacement kPoint{shDot, {269, 394}};
const TPlacement kPlus{shPlus, {57, 120}};
const TPlacement kColon{shColon, {122, 121}};
const TPlacement kDegree{shDeg, {150, 0}};

// Lit segments per character, bit n - 1 for segment n.
int SegmentMask(QChar ch)
{
    constexpr auto bits = [](std::initializer_list<int> segs) {
        int m = 0;
        for (int s : segs)
            m |= 1 << (s - 1);
        return m;
    };
    switch (ch.toUpper().unicode()) {
    case '0': return bits({1, 2, 3, 5, 6, 7});
    case '1': return bits({3, 6});
    case '2': return bits({1, 3, 4, 5, 7});
    case '3': return bits({1, 3, 4, 6, 7});
    case '4': return bits({2, 3, 4, 6});
    case '5': return bits({1, 2, 4, 6, 7});
    case '6': return bits({1, 2, 4, 5, 6, 7});
    case '7': return bits({1, 3, 6});
    case '8': return bits({1, 2, 3, 4, 5, 6, 7});
    case '9': return bits({1, 2, 3, 4, 6, 7});
    case '-': return bits({4});
    case 'A': return bits({1, 2, 3, 4, 5, 6});
    case 'B': return bits({2, 4, 5, 6, 7});
    case 'C': return bits({1, 2, 5, 7});
    case 'D': return bits({3, 4, 5, 6, 7});
    case 'E': return bits({1, 2, 4, 5, 7});
    case 'F': return bits({1, 2, 4, 5});
    default: return 0;
    }
}

bool IsPoint(QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(','); }

int GlyphIndex(QChar c)
{
    const QChar up = c.toUpper();
    for (int k = 0; k < SevenSegGlyphCount; ++k)
        if (QChar(SevenSegCharList[k]) == up)
            return k;
    return -1;
}

} // namespace

QVector<TSevenSegCell> SevenSegCells(const QString& Caption, int NumDigits)
{
    QVector<TSevenSegCell> cells;
    const int n = int(Caption.size());
    for (int i = 0; i < n && cells.size() < NumDigits;) {
        TSevenSegCell cell;
        const QChar ch = Caption[i++];
        if (IsPoint(ch)) {
            cell.Point = true;
        } else {
            // A character outside the basic plane is one (unknown) character, not two.
            if (ch.isHighSurrogate() && i < n && Caption[i].isLowSurrogate())
                ++i;
            else
                cell.Glyph = GlyphIndex(ch);
            if (i < n && IsPoint(Caption[i])) {
                cell.Point = true;
                ++i;
            }
        }
        cells.append(cell);
    }
    return cells;
}

// ---------------------------------------------------------------------------------------------

struct TSevenSeg::TShapes {
    std::array<TBitmap, kShapeCount> Shape;
    TBitmap Glyph{kGlyphW, kGlyphH};
};

QOR_REGISTER_WIDGET(qor::TSevenSeg);

TSevenSeg::TSevenSeg(QWidget* AOwner) : TGraphicControl(AOwner), FShapes(std::make_unique<TShapes>())
{
    for (int i = 0; i < kShapeCount; ++i)
        FShapes->Shape[size_t(i)].LoadFromResourceName(QString::fromLatin1(kShapeNames[i]));
    resize(216, 76);
}

TSevenSeg::~TSevenSeg() = default;

template <class T> void TSevenSeg::Set(T& field, T v)
{
    if (Store(field, v))
        Invalidate();
}

// The settings that decide the smallest size the digits draw in.
template <class T> void TSevenSeg::SetLayout(T& field, T v)
{
    if (Store(field, v)) {
        Invalidate();
        updateGeometry();
    }
}

QSize TSevenSeg::MinimumDrawSize() const
{
    return QSize(2 * FMargin + FNumDigits * (1 + FInterDigDist), 2 * FMargin + 1);
}

void TSevenSeg::SetCaption(const QString& v)
{
    if (Store(FCaption, v)) {
        Invalidate();
        AccessibleValueChanged();
    }
}

void TSevenSeg::SetNumDigits(int v)
{
    if (v >= 1 && v <= 32)
        SetLayout(FNumDigits, v);
}

void TSevenSeg::SetColorText(TColor v) { Set(FColorText, v); }
void TSevenSeg::SetColorBackGnd(TColor v) { Set(FColorBackGnd, v); }

void TSevenSeg::SetMargin(int v)
{
    if (v >= 0)
        SetLayout(FMargin, std::max(0, std::min(v, height() / 2 - 1)));
}

void TSevenSeg::SetInterDigDist(int v)
{
    if (v >= 0)
        SetLayout(FInterDigDist, std::min(v, 255));
}
void TSevenSeg::SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v > fsEngraved ? fsNone : v); }
void TSevenSeg::SetColorScheme(TColorScheme v) { Set(FColorScheme, v > csSystemColors ? csGrayWhite : v); }

int TSevenSeg::CellWidth() const { return std::max(0, (width() - 2 * FMargin) / FNumDigits - FInterDigDist); }
int TSevenSeg::CellHeight() const { return std::max(0, height() - 2 * FMargin); }

// ---------------------------------------------------------------------------------------------
// The glyph strip

TSevenSeg::TStripKey TSevenSeg::CurrentKey() const
{
    return {size(), devicePixelRatioF(), FMargin, FInterDigDist, FNumDigits, ColorToRGB(FColorText),
            ColorToRGB(FColorBackGnd)};
}

const QImage& TSevenSeg::GlyphStrip() const
{
    const TStripKey key = CurrentKey();
    if (!FStripValid || !(key == FStripKey)) {
        FStripKey = key;
        FStripValid = true;
        BuildStrip();
    }
    return FStrip;
}

// White text would vanish in the white working background of the glyph canvas.
void TSevenSeg::ColourShapes() const
{
    const TColor text = FStripKey.Text == clWhite ? 0xFEFEFE : FStripKey.Text;
    auto fill = [text](TBitmap& bmp, int x, int y) {
        TCanvas* c = bmp.Canvas();
        c->Brush()->SetColor(text);
        c->FloodFill(x, y, c->Pixels(x, y), fsSurface);
    };
    for (TShape s : {shVert, shHorz, shDot, shPlus}) {
        TBitmap& bmp = FShapes->Shape[s];
        fill(bmp, bmp.Width() / 2, bmp.Height() / 2);
    }
    TBitmap& deg = FShapes->Shape[shDeg];
    fill(deg, 18, deg.Height() - 18);
    fill(deg, deg.Width() - 18, 18);
    TBitmap& colon = FShapes->Shape[shColon];
    fill(colon, 25, colon.Height() / 2);
}

void TSevenSeg::ComposeGlyph(QChar ch, bool point) const
{
    TCanvas* g = FShapes->Glyph.Canvas();
    g->SetCopyMode(cmSrcCopy);
    g->Brush()->SetColor(clWhite);
    g->FillRect(0, 0, kGlyphW, kGlyphH);
    g->SetCopyMode(cmSrcAnd);
    auto put = [&](const TPlacement& p) {
        const TBitmap& bmp = FShapes->Shape[p.Shape];
        g->CopyRect(QRect(p.At, QSize(bmp.Width(), bmp.Height())), *bmp.Canvas(),
                    QRect(0, 0, bmp.Width(), bmp.Height()));
    };
    const int mask = SegmentMask(ch);
    for (int s = 0; s < 7; ++s)
        if (mask & (1 << s))
            put(kSegments[s]);
    if (ch == QLatin1Char('+'))
        put(kPlus);
    else if (ch == QLatin1Char(':'))
        put(kColon);
    else if (ch == QChar(0x00B0))
        put(kDegree);
    if (point || IsPoint(ch))
        put(kPoint);
    g->SetCopyMode(cmSrcCopy);
    g->Brush()->SetColor(FStripKey.Back);
    g->FloodFill(1, 1, clWhite, fsSurface);
}

void TSevenSeg::BuildStrip() const
{
    ++FStripBuilds;
    const int w = CellWidth(), h = CellHeight();
    if (w <= 0 || h <= 0) {
        FStrip = QImage();
        return;
    }
    const qreal ratio = FStripKey.Ratio;
    const int pw = std::max(1, qRound(w * ratio)), ph = std::max(1, qRound(h * ratio));
    FStrip = QImage(SevenSegGlyphCount * pw, ph, QImage::Format_RGB32);
    FStrip.fill(ToQColor(FStripKey.Back));
    ColourShapes();
    QPainter p(&FStrip);
    for (int k = 0; k < SevenSegGlyphCount; ++k) {
        ComposeGlyph(QChar(SevenSegCharList[k]), false);
        // Area-averaging reduction: the halftone stretch of the classic canvas.
        p.drawImage(k * pw, 0, FShapes->Glyph.Image().scaled(pw, ph, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
}

// ---------------------------------------------------------------------------------------------

void TSevenSeg::Paint()
{
    const QImage& strip = GlyphStrip();
    TCanvas* c = Canvas();
    const int W = width(), H = height();
    c->SetCopyMode(cmSrcCopy);
    c->Brush()->SetColor(FColorBackGnd);
    c->FillRect(0, 0, W, H);
    const int w = CellWidth(), h = CellHeight();
    if (!strip.isNull()) {
        const int pw = strip.width() / SevenSegGlyphCount, ph = strip.height();
        // The point's corner of a cell: from 5/6 of its width and height on.
        const int dx = w * 5 / 6, dy = h * 5 / 6;
        const int pdx = qRound(dx * qreal(pw) / w), pdy = qRound(dy * qreal(ph) / h);
        const QVector<TSevenSegCell> cells = SevenSegCells(FCaption, FNumDigits);
        for (int n = 0; n < cells.size(); ++n) {
            const int x = FMargin + n * (FInterDigDist + w);
            if (cells[n].Glyph >= 0)
                c->CopyRect(QRect(x, FMargin, w, h), strip, QRect(cells[n].Glyph * pw, 0, pw, ph));
            if (cells[n].Point)
                c->CopyRect(QRect(x + dx, FMargin + dy, w - dx, h - dy), strip,
                            QRect(kDotGlyph * pw + pdx, pdy, pw - pdx, ph - pdy));
        }
    }
    DrawFrame(c, FFrameStyle, 0, 0, W - 1, H - 1, clWhite, clSilver, clGray, clBlack, 0);
}

void TSevenSeg::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TSevenSeg*>(Source);
    if (!src) {
        TGraphicControl::Assign(Source);
        return;
    }
    if (src == this)
        return;
    FColorText = src->FColorText;
    FColorBackGnd = src->FColorBackGnd;
    FNumDigits = src->FNumDigits;
    FCaption = src->FCaption;
    FFrameStyle = src->FFrameStyle;
    FColorScheme = src->FColorScheme;
    FMargin = src->FMargin;
    FInterDigDist = src->FInterDigDist;
    Invalidate();
    AccessibleValueChanged();
}

void TSevenSeg::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TSevenSeg>(Dest))
        TGraphicControl::AssignTo(Dest);
}

} // namespace qor
