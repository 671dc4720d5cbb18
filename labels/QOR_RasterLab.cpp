#include "QOR_RasterLab.h"
#include "QOR_WidgetFactory.h"

#include "QOR_RasterFont_p.h"

#include <QPainter>

#include <algorithm>
#include <bit>
#include <climits>
#include <utility>

namespace qor {

using rasterlab_detail::RasterFontRecords;

namespace {

// Offsets and lengths stay far from the int range, so nothing overflows however long a text
// without loop scrolls away or however long the text is.
constexpr qint64 Limit = qint64(1) << 30;

int Saturated(qint64 v) { return int(std::clamp(v, -Limit, Limit)); }

// Windows-1252 in 128..159; the five positions it leaves free keep their C1 code.
constexpr char32_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

TRDCharMatrix BuildBuiltInMatrix()
{
    TRDCharMatrix m;
    m.FontHeight = 12;
    m.FontWidth = 7;
    for (int i = 0; i < 224; ++i) {
        const std::uint8_t* rec = RasterFontRecords[i];
        const std::size_t ch = std::size_t(32 + i);
        m.LeftMostBit[ch] = rec[0];
        m.RightMostBit[ch] = rec[1];
        for (int r = 0; r < 12; ++r)
            m.BitData[ch][std::size_t(r)] = rec[2 + r];
    }
    return m;
}

const TRDCharMatrix& BuiltInMatrix()
{
    static const TRDCharMatrix m = BuildBuiltInMatrix();
    return m;
}

QByteArray SlotsOf(const QString& s)
{
    QByteArray result;
    result.reserve(s.size());
    for (char32_t c : s.toUcs4())
        result.append(char(TRasterLab::CharSlot(c)));
    return result;
}

} // namespace

// =============================================================================================
// Construction and the character font

QOR_REGISTER_WIDGET(qor::TRasterLab);

TRasterLab::TRasterLab(QWidget* AOwner) : TGraphicControl(AOwner)
{
    FSlots = SlotsOf(FText);
    FCharMatrix = BuiltInMatrix();
    FTimer = new TWindowTimer(this);
    FTimer->OnTimer = [this] { ScrollTick(); };
    resize(400, 68);
    Font()->SetName(QStringLiteral("default"));
    Font()->SetSize(8);
    FontChanged();
}

TRasterLab::~TRasterLab() = default;

std::uint8_t TRasterLab::CharSlot(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return std::uint8_t(c);
    for (int i = 0; i < 32; ++i)
        if (Cp1252High[i] == c)
            return std::uint8_t(0x80 + i);
    return '?';
}

char32_t TRasterLab::SlotChar(std::uint8_t slot)
{
    return slot >= 0x80 && slot <= 0x9F ? Cp1252High[slot - 0x80] : char32_t(slot);
}

TRDCharMatrix TRasterLab::CreateBitFont(const TFont* Font)
{
    if (!Font || Font->Name().compare(QStringLiteral("default"), Qt::CaseInsensitive) == 0)
        return BuiltInMatrix();
    TRDCharMatrix m;
    TBitmap bmp(65, 65);
    TCanvas* c = bmp.Canvas();
    c->Font()->Assign(*Font);
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    int lastRow = -1;
    for (int ch = 32; ch <= 255; ++ch) {
        bmp.Image().fill(Qt::white);
        const char32_t u = SlotChar(std::uint8_t(ch));
        c->TextOut(0, 0, QString::fromUcs4(&u, 1));
        const QImage& img = std::as_const(bmp).Image();
        int left = 31, right = 0;
        auto& rows = m.BitData[std::size_t(ch)];
        for (int y = 0; y < 32; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            std::uint32_t bits = 0;
            for (int x = 0; x < 32; ++x)
                if ((line[x] & 0xFFFFFFu) != 0xFFFFFFu)
                    bits |= 1u << x;
            rows[std::size_t(y)] = bits;
            if (bits) {
                lastRow = std::max(lastRow, y);
                left = std::min(left, std::countr_zero(bits));
                right = std::max(right, 31 - std::countl_zero(bits));
            }
        }
        m.LeftMostBit[std::size_t(ch)] = std::uint8_t(left);
        m.RightMostBit[std::size_t(ch)] = std::uint8_t(right);
        m.FontWidth = std::max(m.FontWidth, right - left + 1);
    }
    m.FontHeight = lastRow + 1;
    m.LeftMostBit[32] = 0;
    m.RightMostBit[32] = std::uint8_t(m.FontWidth / 2);
    return m;
}

void TRasterLab::SetCharMatrix(const TRDCharMatrix& m)
{
    FCharMatrix = m;
    FCharMatrix.FontWidth = std::clamp(m.FontWidth, 0, 32);
    FCharMatrix.FontHeight = std::clamp(m.FontHeight, 0, 32);
    for (auto* cols : {&FCharMatrix.LeftMostBit, &FCharMatrix.RightMostBit})
        for (auto& v : *cols)
            v = std::min<std::uint8_t>(v, 31);
    // Only a real change of the font replaces this matrix again.
    FMatrixFont.Assign(*Font());
    FontLayoutChanged();
}

void TRasterLab::FontChanged()
{
    // Font change events also come for changes that leave the font as it was.
    if (FMatrixFromFont && FMatrixFont == *Font()) {
        Invalidate();
        return;
    }
    FCharMatrix = CreateBitFont(Font());
    FMatrixFont.Assign(*Font());
    FMatrixFromFont = true;
    FontLayoutChanged();
}

// =============================================================================================
// Properties

template <class T> void TRasterLab::Set(T& field, T v)
{
    if (Store(field, v))
        Invalidate();
}

void TRasterLab::SetText(const QString& v)
{
    if (!Store(FText, v))
        return;
    FSlots = SlotsOf(v);
    ApplyAutoCenter();
    Invalidate();
    AccessibleValueChanged();
}

void TRasterLab::SetDotSize(int v)
{
    if (Store(FDotSize, std::clamp(v, 1, 32)))
        FontLayoutChanged();
}

void TRasterLab::SetDotSpacing(int v)
{
    if (Store(FDotSpacing, std::clamp(v, 0, 3)))
        FontLayoutChanged();
}

void TRasterLab::StorePosX(int v)
{
    if (!Store(FPosX, v))
        return;
    Invalidate();
    emit posXChanged(v);
}

void TRasterLab::SetPosX(int v) { StorePosX(v); }
void TRasterLab::SetPosY(int v) { Set(FPosY, v); }

void TRasterLab::SetProportional(bool v)
{
    if (!Store(FProportional, v))
        return;
    ApplyAutoCenter();
    Invalidate();
}

void TRasterLab::SetCharBlockMode(TRDBlockMode v) { Set(FCharBlockMode, v); }
void TRasterLab::SetColorDotOn(TColor v) { Set(FColorDotOn, v); }
void TRasterLab::SetColorDotOff(TColor v) { Set(FColorDotOff, v); }
void TRasterLab::SetColorLabBakG(TColor v) { Set(FColorLabBakG, v); }
void TRasterLab::SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v); }
void TRasterLab::SetColorScheme(TColorScheme v) { Set(FColorScheme, v); }

void TRasterLab::SetAutoHeight(bool v)
{
    if (!Store(FAutoHeight, v))
        return;
    // While on, a layout keeps the fitted height instead of stretching the label.
    QSizePolicy policy = sizePolicy();
    if (v) {
        FVerticalPolicy = policy.verticalPolicy();
        policy.setVerticalPolicy(QSizePolicy::Fixed);
    } else {
        policy.setVerticalPolicy(FVerticalPolicy);
    }
    setSizePolicy(policy);   // asks the layout again
    ApplyAutoHeight();
}

void TRasterLab::SetAutoCenter(bool v)
{
    if (!Store(FAutoCenter, v))
        return;
    if (v)
        ApplyAutoCenter();
    else
        StorePosX(1);
}

void TRasterLab::SetScrollMode(TRDScrollMode v)
{
    if (v > rdsmUp)
        v = rdsmOff;
    if (!Store(FScrollMode, v))
        return;
    if (!Designing())
        FTimerEnabled = v != rdsmOff;
    UpdateTimer();
    if (v == rdsmOff) {
        FScrollX = 0;
        FScrollY = 0;
        Invalidate();
    }
}

void TRasterLab::SetScrollInterval(int v)
{
    if (Store(FScrollInterval, std::max(v, 10)))
        UpdateTimer();
}

void TRasterLab::SetScrollIncrement(int v)
{
    if (v == 0)
        v = 1;
    else if (v < 0)
        v = v == INT_MIN ? INT_MAX : -v;
    if (Store(FScrollIncrement, v))
        UpdateTimer();
}

void TRasterLab::SetScrollLoop(bool v)
{
    FScrollLoop = v;
    Invalidate();
}

void TRasterLab::SetDesigning(bool v)
{
    TGraphicControl::SetDesigning(v);
    FTimerEnabled = !v && FScrollMode != rdsmOff;
    UpdateTimer();
}

void TRasterLab::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TRasterLab*>(Source);
    if (!src) {
        TGraphicControl::Assign(Source);
        return;
    }
    if (src == this)
        return;
    SetFrameStyle(src->FFrameStyle);
    SetText(src->FText);
    SetColorLabBakG(src->FColorLabBakG);
    SetColorDotOn(src->FColorDotOn);
    SetColorScheme(src->FColorScheme);   // the frame line colours follow the scheme
    Invalidate();
}

void TRasterLab::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TRasterLab>(Dest))
        TGraphicControl::AssignTo(Dest);
}

// =============================================================================================
// Layout

int TRasterLab::CharColumns(std::uint8_t slot, int& first) const
{
    if (!FProportional) {
        first = 0;
        return FCharMatrix.FontWidth;
    }
    first = FCharMatrix.LeftMostBit[slot];
    // A scanned character without dots has its first column right of its last.
    return std::max(0, FCharMatrix.RightMostBit[slot] - first + 1);
}

qint64 TRasterLab::TextLength64() const
{
    const qint64 p = FDotSize + FDotSpacing;
    qint64 len = 0;
    int first = 0;
    for (char s : FSlots)
        len += p * (CharColumns(std::uint8_t(s), first) + 1);
    return len;
}

int TRasterLab::TextLength() const { return Saturated(TextLength64()); }
int TRasterLab::PaintedTextLength() const { return Saturated(TextLength64() + 1); }

int TRasterLab::LayoutFrameWidth() const
{
    switch (FFrameStyle) {
    case fsSimple:
    case fsLowered:
    case fsRaised: return 1;
    case fsEmbossed:
    case fsEngraved: return 2;
    default: return 0;
    }
}

int TRasterLab::AutoHeightValue() const
{
    return LayoutFrameWidth() + (FDotSize + FDotSpacing) * FCharMatrix.FontHeight;
}

void TRasterLab::ApplyAutoHeight()
{
    if (!FAutoHeight)
        return;
    CreationSize();   // the size a layout gives the label when AutoHeight is off again
    resize(width(), AutoHeightValue());
    updateGeometry();   // a layout asks for the size again
}

QSize TRasterLab::PreferredSize() const
{
    const QSize created = CreationSize();
    return FAutoHeight ? QSize(created.width(), AutoHeightValue()) : created;
}

void TRasterLab::ApplyAutoCenter()
{
    if (FAutoCenter)
        StorePosX(Saturated((width() - TextLength64()) / 2 + LayoutFrameWidth() + 1));
}

void TRasterLab::FontLayoutChanged()
{
    ApplyAutoHeight();
    ApplyAutoCenter();
    Invalidate();
}

void TRasterLab::Resized()
{
    ApplyAutoCenter();
    Invalidate();
}

// =============================================================================================
// Scrolling

void TRasterLab::VisibleChanged()
{
    UpdateTimer();
}

void TRasterLab::UpdateTimer()
{
    FTimer->Stop();
    // A label that is not visible (a hidden page of a panel) does not scroll.
    if (FScrollInterval > 0 && FScrollMode != rdsmOff && FTimerEnabled && isVisible()) {
        FTimer->Start(FScrollInterval);
        if (!FTimer->Active())
            throw EQORRasterLabError(QStringLiteral("Component \"") + Name() +
                                     QStringLiteral("\": no timer available"));
    }
}

void TRasterLab::ScrollTick()
{
    ScrollStep();
    Notify(this, OnScrollTimer, &TRasterLab::scrollTimer);
}

void TRasterLab::Restart(int& offset, qint64 value)
{
    offset = Saturated(value);
    Notify(this, OnScrollLoopRestart, &TRasterLab::scrollLoopRestart);
}

void TRasterLab::ScrollStep()
{
    const qint64 inc = FScrollIncrement;
    const qint64 textHeight = qint64(FDotSize + FDotSpacing) * FCharMatrix.FontHeight;
    switch (FScrollMode) {
    case rdsmRight:
        FScrollX = Saturated(FScrollX + inc);
        if (FScrollLoop && FScrollX > width())
            Restart(FScrollX, -qint64(PaintedTextLength()));
        break;
    case rdsmLeft:
        FScrollX = Saturated(FScrollX - inc);
        if (FScrollLoop && FScrollX < -qint64(PaintedTextLength()))
            Restart(FScrollX, width());
        break;
    case rdsmDown:
        FScrollY = Saturated(FScrollY + inc);
        if (FScrollLoop && FScrollY > height())
            Restart(FScrollY, -textHeight);
        break;
    case rdsmUp:
        FScrollY = Saturated(FScrollY - inc);
        if (FScrollLoop && FScrollY < -textHeight)
            Restart(FScrollY, height());
        break;
    default:
        FTimerEnabled = false;
        FScrollX = 0;
        FScrollY = 0;
        UpdateTimer();
        break;
    }
    Invalidate();
}

// =============================================================================================
// Painting

void TRasterLab::TRectBatch::Add(int l, int t, int r, int b)
{
    if (r > l && b > t)
        FRects.append(QRect(l, t, r - l, b - t));
}

void TRasterLab::TRectBatch::Flush(TCanvas* c, TColor color)
{
    if (FRects.isEmpty())
        return;
    QImage* img = c->Target();
    const qreal dpr = img->devicePixelRatio();
    const int scale = int(dpr);
    if (scale == dpr && (img->format() == QImage::Format_RGB32 || img->format() == QImage::Format_ARGB32_Premultiplied)) {
        // Whole device pixels: plain stores into the scan lines are many times faster than
        // a painter call per square.
        c->Flush();
        const QRgb px = ToQColor(color).rgb();
        const QRect bounds = img->rect();
        uchar* bits = img->bits();
        const qsizetype stride = img->bytesPerLine();
        for (const QRect& r : FRects) {
            const QRect d = QRect(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale) & bounds;
            for (int y = d.top(); y <= d.bottom(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
                std::fill(line + d.left(), line + d.right() + 1, px);
            }
        }
    } else if (QPainter* painter = c->Painter()) {   // none on an empty surface
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter->setPen(Qt::NoPen);
        painter->setBrush(ToQColor(color));
        painter->drawRects(FRects.constData(), int(FRects.size()));
    }
    FRects.clear();
}

void TRasterLab::Paint()
{
    TCanvas* c = Canvas();
    const int W = width(), H = height();
    const int p = FDotSize + FDotSpacing;
    const qint64 ox = qint64(FPosX) + FScrollX, oy = qint64(FPosY) + FScrollY;
    const bool framed = FFrameStyle >= fsSimple && FFrameStyle <= fsEngraved;
    if (framed) {
        c->Brush()->SetColor(FColorLabBakG);
        c->FillRect(0, 0, W, H);
    }
    const int border = framed ? 1 : 0;
    c->Brush()->SetColor(FCharBlockMode != rdbmOff ? FColorDotOff : FColorLabBakG);
    c->FillRect(border, border, W - border, H - border);
    if (FCharBlockMode != rdbmOff)
        PaintRaster(c, ox, oy, p);
    PaintText(c, ox, oy, p);
    PaintFrame(c);
}

void TRasterLab::PaintRaster(TCanvas* c, qint64 ox, qint64 oy, int p)
{
    if (FDotSpacing == 0)
        return;
    const int W = width(), H = height();
    // The DotSpacing lines before each dot row and column, for k = 0 .. (size div p) + 1;
    // C++'s % keeps the sign of the dividend, so a negative offset shifts the raster up or
    // left.
    const int ry = int(oy % p), rx = int(ox % p);
    for (int k = 0; k <= H / p + 1; ++k) {
        const int y = ry + k * p;
        FBatch.Add(0, y - FDotSpacing, W, y);
    }
    for (int k = 0; k <= W / p + 1; ++k) {
        const int x = rx + k * p;
        FBatch.Add(x - FDotSpacing, 0, x, H);
    }
    FBatch.Flush(c, FColorLabBakG);
}

void TRasterLab::PaintText(TCanvas* c, qint64 ox, qint64 oy, int p)
{
    const int W = width(), H = height();
    const int rows = std::min(FCharMatrix.FontHeight, 32);
    const bool blocks = FCharBlockMode == rdbmOn;
    // In block mode the column before each character and after the last one is cleared over
    // the whole height: the platform Rectangle (x - p, 0, x - 1, H) in the background colour,
    // which covers x - p .. x - 2. Gaps and dots never overlap, so each kind is drawn at once.
    auto blockGap = [&](qint64 x) {
        if (blocks && x - 1 > 0 && x - p < W)
            FGaps.Add(int(x - p), 0, int(x - 1), H);
    };
    qint64 x = ox;
    blockGap(x);
    for (char s : FSlots) {
        const std::uint8_t slot = std::uint8_t(s);
        int first = 0;
        const int n = CharColumns(slot, first);
        if (x < W && x + qint64(n) * p > 0) {
            const auto& bits = FCharMatrix.BitData[slot];
            for (int r = 0; r < rows; ++r) {
                const qint64 y = oy + qint64(r) * p;
                if (y >= H || y + FDotSize <= 0 || bits[std::size_t(r)] == 0)
                    continue;
                for (int k = first; k < first + n && k < 32; ++k) {
                    if (!(bits[std::size_t(r)] & (1u << k)))
                        continue;
                    const qint64 dx = x + qint64(k - first) * p;
                    if (dx < W && dx + FDotSize > 0)
                        FBatch.Add(int(dx), int(y), int(dx) + FDotSize, int(y) + FDotSize);
                }
            }
        }
        x += qint64(p) * (n + 1);
        blockGap(x);
    }
    FGaps.Flush(c, FColorLabBakG);
    FBatch.Flush(c, FColorDotOn);
}

void TRasterLab::PaintFrame(TCanvas* c)
{
    const int W = width(), H = height();
    const TColor gray = FColorScheme == csGrayWhite ? clGray : clBtnShadow;
    const TColor white = FColorScheme == csGrayWhite ? clWhite : clBtnHighlight;
    auto line = [&](TColor color, const QVector<QPoint>& pts) {
        c->Pen()->SetColor(color);
        c->Polyline(pts);   // leaves out the last point, like each LineTo
    };
    auto outline = [&](TColor color, int l, int t, int r, int b) {
        line(color, {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}});
    };
    switch (FFrameStyle) {
    case fsSimple:
        outline(gray, 0, 0, W - 1, H - 1);
        break;
    case fsLowered:
    case fsRaised: {
        const TColor upper = FFrameStyle == fsLowered ? clBlack : white;
        const TColor lower = FFrameStyle == fsLowered ? white : clBlack;
        line(upper, {{1, H - 3}, {1, 1}, {W - 2, 1}});
        line(lower, {{2, H - 1}, {W - 1, H - 1}, {W - 1, 0}});
        outline(gray, 0, 0, W - 2, H - 2);
        break;
    }
    case fsEmbossed:
    case fsEngraved: {
        const TColor inner = FFrameStyle == fsEmbossed ? gray : white;
        const TColor outer = FFrameStyle == fsEmbossed ? white : gray;
        outline(inner, 1, 1, W - 1, H - 1);
        outline(outer, 0, 0, W - 2, H - 2);
        break;
    }
    default:
        break;
    }
}

} // namespace qor
