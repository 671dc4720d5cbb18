// TFont, TCanvas and TBitmap: GDI drawing rules over QPainter.
#include "QOR_Graphics.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <cmath>
#include <vector>

namespace qor {

// =============================================================================================
// TFont

TFont::TFont()
{
    const QFont app = QApplication::instance() ? QApplication::font() : QFont();
    FName = app.family();
    if (app.pixelSize() > 0)
        FPixelHeight = -app.pixelSize();
    else if (app.pointSizeF() > 0)
        FSize = int(std::lround(app.pointSizeF()));
    if (FPixelHeight != 0)
        FSize = int(std::lround(-FPixelHeight * 72.0 / 96.0));
}

void TFont::SetName(const QString& v)
{
    if (v != FName) {
        FName = v;
        Changed();
    }
}

void TFont::SetSize(int v)
{
    if (v != FSize || FPixelHeight != 0) {
        FSize = v;
        FPixelHeight = 0;
        Changed();
    }
}

int TFont::Height() const
{
    if (FPixelHeight != 0)
        return FPixelHeight;
    return -int(std::lround(std::abs(FSize) * 96.0 / 72.0));
}

void TFont::SetHeight(int v)
{
    if (v != Height()) {
        FPixelHeight = v;
        FSize = int(std::lround(std::abs(v) * 72.0 / 96.0));
        Changed();
    }
}

void TFont::Assign(const TFont& f)
{
    FName = f.FName;
    FSize = f.FSize;
    FPixelHeight = f.FPixelHeight;
    FColor = f.FColor;
    FStyle = f.FStyle;
    FOrientation = f.FOrientation;
    FQuality = f.FQuality;
    Changed();
}

void TFont::AssignQFont(const QFont& f)
{
    FName = f.family();
    if (f.pixelSize() > 0) {
        FPixelHeight = -f.pixelSize();
        FSize = int(std::lround(f.pixelSize() * 72.0 / 96.0));
    } else {
        FPixelHeight = 0;
        FSize = int(std::lround(f.pointSizeF()));
    }
    TFontStyles st;
    if (f.bold())
        st.Include(fsBold);
    if (f.italic())
        st.Include(fsItalic);
    if (f.underline())
        st.Include(fsUnderline);
    if (f.strikeOut())
        st.Include(fsStrikeOut);
    FStyle = st;
    Changed();
}

QFont TFont::ToQFont() const
{
    QFont f(FName);
    f.setPixelSize(std::max(1, std::abs(Height())));
    f.setBold(FStyle.Contains(fsBold));
    f.setItalic(FStyle.Contains(fsItalic));
    f.setUnderline(FStyle.Contains(fsUnderline));
    f.setStrikeOut(FStyle.Contains(fsStrikeOut));
    f.setHintingPreference(QFont::PreferFullHinting);
    switch (FQuality) {
    case fqNonAntialiased: f.setStyleStrategy(QFont::NoAntialias); break;
    case fqAntialiased: f.setStyleStrategy(QFont::PreferAntialias); break;
    case fqDefault: break;
    }
    return f;
}

bool TFont::operator==(const TFont& o) const
{
    return FName == o.FName && Height() == o.Height() && FColor == o.FColor && FStyle == o.FStyle
        && FOrientation == o.FOrientation && FQuality == o.FQuality;
}

// =============================================================================================
// TCanvas

namespace {

QPainter::CompositionMode PenModeComposition(TPenMode m)
{
    using C = QPainter;
    switch (m) {
    case pmNot: return C::RasterOp_NotDestination;
    case pmNotCopy: return C::RasterOp_NotSource;
    case pmMergePenNot: return C::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return C::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return C::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return C::RasterOp_NotSourceAndDestination;
    case pmMerge: return C::RasterOp_SourceOrDestination;
    case pmNotMerge: return C::RasterOp_NotSourceAndNotDestination;
    case pmMask: return C::RasterOp_SourceAndDestination;
    case pmNotMask: return C::RasterOp_NotSourceOrNotDestination;
    case pmXor: return C::RasterOp_SourceXorDestination;
    case pmNotXor: return C::RasterOp_NotSourceXorDestination;
    default: return C::CompositionMode_SourceOver;
    }
}

QPainter::CompositionMode CopyModeComposition(TCopyMode m)
{
    using C = QPainter;
    switch (m) {
    case cmSrcAnd: return C::RasterOp_SourceAndDestination;
    case cmSrcPaint: return C::RasterOp_SourceOrDestination;
    case cmNotSrcCopy: return C::RasterOp_NotSource;
    case cmSrcInvert: return C::RasterOp_SourceXorDestination;
    default: return C::CompositionMode_SourceOver;
    }
}

Qt::BrushStyle QtBrushStyle(TBrushStyle s)
{
    switch (s) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::BDiagPattern;   // GDI's forward diagonal rises to the right
    case bsBDiagonal: return Qt::FDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

// The last pixel a 1-pixel line from a to b draws when it leaves out b.
QPoint LineEndBefore(QPoint a, QPoint b)
{
    const int dx = b.x() - a.x(), dy = b.y() - a.y();
    const int n = std::max(std::abs(dx), std::abs(dy));
    if (n <= 1)
        return a;
    const auto step = [n](int d) {
        // round((n-1) * d / n) to nearest, halves away from zero
        const long long num = (long long)(n - 1) * d;
        return int(num >= 0 ? (2 * num + n) / (2 * n) : -((-2 * num + n) / (2 * n)));
    };
    return QPoint(a.x() + step(dx), a.y() + step(dy));
}

// Parametric angle (degrees) on an ellipse with radii rx, ry of the ray at geometric angle
// theta (degrees, counter-clockwise on screen).
double ParametricAngle(double thetaDeg, double rx, double ry)
{
    const double th = thetaDeg * M_PI / 180.0;
    if (rx <= 0 || ry <= 0)
        return thetaDeg;
    return std::atan2(rx * std::sin(th), ry * std::cos(th)) * 180.0 / M_PI;
}

} // namespace

TCanvas::TCanvas(QImage* target)
    : FTarget(target)
{
    FPen.OnChange = [this] { InvalidateState(); };
    FBrush.OnChange = [this] { InvalidateState(); };
    FFont.OnChange = [this] { FontChanged(); };
}

void TCanvas::FontChanged()
{
    // A change of colour alone keeps the font and its metrics (text colour is set per call).
    if (FQFont && FFont.ToQFont() == *FQFont)
        return;
    FQFont.reset();
    FMetrics.reset();
    FFontDirty = true;
}

const QFont& TCanvas::CachedFont() const
{
    if (!FQFont)
        FQFont = std::make_unique<QFont>(FFont.ToQFont());
    return *FQFont;
}

const QFontMetrics& TCanvas::Metrics() const
{
    if (!FMetrics)
        FMetrics = std::make_shared<QFontMetrics>(CachedFont());
    return *FMetrics;
}

TCanvas::~TCanvas()
{
    Flush();
}

void TCanvas::SetTarget(QImage* target)
{
    Flush();
    FTarget = target;
}

void TCanvas::Flush() const
{
    if (FPainter) {
        FPainter->end();
        FPainter.reset();
    }
}

void TCanvas::SetAntialiasing(bool on)
{
    FAntialiasing = on;
    InvalidateState();
}

QPainter* TCanvas::Begin()
{
    if (!FTarget || FTarget->isNull())
        return nullptr;
    if (!FPainter) {
        FPainter = std::make_unique<QPainter>();
        if (!FPainter->begin(FTarget)) {
            FPainter.reset();
            return nullptr;
        }
        FStateDirty = true;
        FFontDirty = true;
    }
    if (FFontDirty) {
        FPainter->setFont(CachedFont());
        FFontDirty = false;
    }
    if (FStateDirty) {
        FPainter->setRenderHint(QPainter::Antialiasing, FAntialiasing);
        FPainter->setRenderHint(QPainter::SmoothPixmapTransform, FStretchMode == smHalftone);
        if (FClipped)
            FPainter->setClipRect(FClipRect);
        else
            FPainter->setClipping(false);
        FStateDirty = false;
    }
    return FPainter.get();
}

QPainter* TCanvas::Painter()
{
    QPainter* p = Begin();
    if (p) {
        ApplyPen(p);
        ApplyBrush(p);
        ApplyMode(p, FPen.Mode());
    }
    return p;
}

bool TCanvas::ScaledHairline() const
{
    return FPen.Width() <= 1 && FTarget && FTarget->devicePixelRatio() > 1.0;
}

namespace {

// A GDI pixel (x, y) is the square x..x+1 x y..y+1. A hairline drawn through its centre with
// a pen one unit wide covers exactly that square at any device pixel ratio.
class PixelCentres {
public:
    PixelCentres(QPainter* p, bool on) : FPainter(on ? p : nullptr)
    {
        if (FPainter)
            FPainter->translate(0.5, 0.5);
    }
    ~PixelCentres()
    {
        if (FPainter)
            FPainter->translate(-0.5, -0.5);
    }
    PixelCentres(const PixelCentres&) = delete;
    PixelCentres& operator=(const PixelCentres&) = delete;
private:
    QPainter* FPainter;
};

} // namespace

void TCanvas::ApplyPen(QPainter* p) const
{
    if (FPen.Style() == psClear || FPen.Mode() == pmNop) {
        p->setPen(Qt::NoPen);
        return;
    }
    QColor color = Resolve(FPen.Color());
    if (FPen.Mode() == pmBlack)
        color = Qt::black;
    else if (FPen.Mode() == pmWhite)
        color = Qt::white;
    QPen pen(color);
    const int w = FPen.Width();
    if (ScaledHairline()) {
        // One logical pixel on a surface with more device pixels: a pen one unit wide that
        // covers whole pixel squares (drawn through PixelCentres).
        pen.setWidthF(1.0);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else if (w <= 1) {
        pen.setWidth(0);   // cosmetic, one pixel
    } else {
        pen.setWidth(w);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    switch (FPen.Style()) {
    case psDash: pen.setDashPattern({18.0 / std::max(1, w), 6.0 / std::max(1, w)}); break;
    case psDot: pen.setDashPattern({3.0 / std::max(1, w), 3.0 / std::max(1, w)}); break;
    case psDashDot: pen.setDashPattern({9.0 / std::max(1, w), 6.0 / std::max(1, w), 3.0 / std::max(1, w), 6.0 / std::max(1, w)}); break;
    case psDashDotDot: pen.setDashPattern({9.0 / std::max(1, w), 3.0 / std::max(1, w), 3.0 / std::max(1, w), 3.0 / std::max(1, w), 3.0 / std::max(1, w), 3.0 / std::max(1, w)}); break;
    default: break;
    }
    if (FPen.Style() != psSolid && FPen.Style() != psInsideFrame)
        pen.setCapStyle(Qt::FlatCap);
    p->setPen(pen);
}

void TCanvas::ApplyBrush(QPainter* p) const
{
    if (FBrush.Style() == bsClear) {
        p->setBrush(Qt::NoBrush);
        return;
    }
    p->setBrush(QBrush(Resolve(FBrush.Color()), QtBrushStyle(FBrush.Style())));
}

void TCanvas::ApplyMode(QPainter* p, TPenMode m) const
{
    p->setCompositionMode(PenModeComposition(m));
}

void TCanvas::SetClipRect(const QRect& r)
{
    FClipped = true;
    FClipRect = r;
    InvalidateState();
}

void TCanvas::ResetClipRect()
{
    FClipped = false;
    InvalidateState();
}

// The logical pixels a device extent holds. A control's surface may end in part of a device
// pixel (at fractional ratios it covers the widget's last device pixel too); that part is no
// logical pixel, and a quotient a hair below a whole number is that number.
static int LogicalExtent(int device, qreal dpr)
{
    return int(std::floor(device / dpr + 1e-6));
}

int TCanvas::Width() const
{
    if (!FTarget || FTarget->isNull())
        return 0;
    return LogicalExtent(FTarget->width(), FTarget->devicePixelRatio());
}

int TCanvas::Height() const
{
    if (!FTarget || FTarget->isNull())
        return 0;
    return LogicalExtent(FTarget->height(), FTarget->devicePixelRatio());
}

QRect TCanvas::ClipRect() const
{
    const QRect all(0, 0, Width(), Height());
    return FClipped ? FClipRect.intersected(all) : all;
}

QPoint TCanvas::PenPos() const
{
    if (!FPenAfterText.isEmpty()) {
        FPenPos.rx() += FPenAfterMetrics->horizontalAdvance(FPenAfterText);
        FPenAfterText.clear();
        FPenAfterMetrics.reset();
    }
    return FPenPos;
}

void TCanvas::MoveTo(int x, int y)
{
    SetPenPos(QPoint(x, y));
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = PenPos(), to(x, y);
    SetPenPos(to);
    QPainter* p = Begin();
    if (!p || FPen.Style() == psClear || FPen.Mode() == pmNop || from == to)
        return;
    ApplyPen(p);
    ApplyMode(p, FPen.Mode());
    const PixelCentres centres(p, ScaledHairline());
    if (FPen.Width() <= 1 && !FAntialiasing) {
        const QPoint last = LineEndBefore(from, to);
        if (last == from)
            p->drawPoint(from);
        else
            p->drawLine(from, last);
    } else {
        p->drawLine(from, to);
    }
}

void TCanvas::Polyline(const QVector<QPoint>& pts)
{
    if (pts.isEmpty())
        return;
    MoveTo(pts[0].x(), pts[0].y());
    for (int i = 1; i < pts.size(); ++i)
        LineTo(pts[i].x(), pts[i].y());
}

void TCanvas::Polygon(const QVector<QPoint>& pts)
{
    QPainter* p = Begin();
    if (!p || pts.size() < 2)
        return;
    ApplyPen(p);
    ApplyBrush(p);
    ApplyMode(p, FPen.Mode());
    const PixelCentres centres(p, ScaledHairline());
    p->drawPolygon(pts.constData(), int(pts.size()), Qt::OddEvenFill);
}

// Boxes given right-to-left or bottom-to-top are drawn as if given the usual way.
static void NormalizeBox(int& l, int& t, int& r, int& b)
{
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
}

void TCanvas::Rectangle(int l, int t, int r, int b)
{
    QPainter* p = Begin();
    if (!p)
        return;
    NormalizeBox(l, t, r, b);
    const bool noPen = FPen.Style() == psClear || FPen.Mode() == pmNop;
    if (noPen) {
        // Without a pen the filled area is one pixel smaller on the right and bottom.
        if (FBrush.Style() != bsClear && r - l > 1 && b - t > 1) {
            p->setPen(Qt::NoPen);
            ApplyBrush(p);
            ApplyMode(p, pmCopy);
            p->drawRect(QRect(l, t, r - l - 1, b - t - 1));
        }
        return;
    }
    if (r - l < 1 || b - t < 1)
        return;
    const int w = FPen.Width();
    if (FBrush.Style() != bsClear && r - l > 2 && b - t > 2) {
        p->setPen(Qt::NoPen);
        ApplyBrush(p);
        ApplyMode(p, pmCopy);
        p->drawRect(QRect(l + 1, t + 1, r - l - 2, b - t - 2));
    }
    ApplyPen(p);
    p->setBrush(Qt::NoBrush);
    ApplyMode(p, FPen.Mode());
    if (w <= 1) {
        const PixelCentres centres(p, ScaledHairline());
        p->drawRect(QRect(l, t, r - l - 1, b - t - 1));
    } else {
        // A wide pen is centred on the outline; psInsideFrame keeps it inside the box.
        QPen pen = p->pen();
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setCapStyle(Qt::SquareCap);
        p->setPen(pen);
        const double inset = FPen.Style() == psInsideFrame ? w / 2.0 : 0.5;
        p->drawRect(QRectF(l + inset, t + inset, r - l - 2 * inset, b - t - 2 * inset));
    }
}

void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h)
{
    QPainter* p = Begin();
    if (!p || r - l < 1 || b - t < 1)
        return;
    ApplyPen(p);
    ApplyBrush(p);
    ApplyMode(p, FPen.Mode());
    const PixelCentres centres(p, ScaledHairline());
    p->drawRoundedRect(QRectF(l, t, r - l - 1, b - t - 1), w / 2.0, h / 2.0);
}

void TCanvas::FillRect(const QRect& r)
{
    QPainter* p = Begin();
    if (!p || r.isEmpty() || FBrush.Style() == bsClear)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(r, QBrush(Resolve(FBrush.Color()), QtBrushStyle(FBrush.Style())));
}

void TCanvas::FrameRect(const QRect& r)
{
    QPainter* p = Begin();
    if (!p || r.isEmpty())
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QColor c = Resolve(FBrush.Color());
    p->fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    p->fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
    p->fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

void TCanvas::Ellipse(int l, int t, int r, int b)
{
    QPainter* p = Begin();
    if (!p)
        return;
    NormalizeBox(l, t, r, b);
    if (r - l < 1 || b - t < 1)
        return;
    ApplyPen(p);
    ApplyBrush(p);
    ApplyMode(p, FPen.Mode());
    const PixelCentres centres(p, ScaledHairline());
    p->drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
}

void TCanvas::DrawArcShape(int kind, int l, int t, int r, int b, int x3, int y3, int x4, int y4)
{
    QPainter* p = Begin();
    if (!p)
        return;
    NormalizeBox(l, t, r, b);
    if (r - l < 2 || b - t < 2)
        return;
    // The arc is the part of Ellipse's own outline that lies in the sector between the two rays,
    // so an arc, pie or chord covers exactly the pixels of the ellipse of the same box.
    const QRect box(l, t, r - l - 1, b - t - 1);
    const double cx = (l + r - 1) / 2.0, cy = (t + b - 1) / 2.0;
    const double rx = box.width() / 2.0, ry = box.height() / 2.0;
    const double a1 = std::atan2(-(y3 - cy), x3 - cx) * 180.0 / M_PI;
    const double a2 = std::atan2(-(y4 - cy), x4 - cx) * 180.0 / M_PI;
    const double start = ParametricAngle(a1, rx, ry);
    double span = ParametricAngle(a2, rx, ry) - start;
    while (span <= 0)
        span += 360.0;
    if (span > 360.0)
        span -= 360.0;
    const auto onEllipse = [&](double deg, double scale) {
        const double rad = deg * M_PI / 180.0;
        return QPointF(cx + scale * rx * std::cos(rad), cy - scale * ry * std::sin(rad));
    };
    const QPointF p1 = onEllipse(start, 1.0), p2 = onEllipse(start + span, 1.0);
    const bool full = span >= 360.0 - 1e-9;

    // Clip region: from the centre (arc, pie) or along the chord (chord), out past the ellipse.
    // The sector is widened by about half a pixel so the pixels on the end rays are kept.
    QPainterPath clip;
    const double far = 2.0 + 4.0 / std::max(1.0, std::min(rx, ry));
    const double slack = std::atan(0.75 / std::max(1.0, std::min(rx, ry))) * 180.0 / M_PI;
    const double clipStart = start - slack, clipSpan = std::min(360.0, span + 2 * slack);
    clip.moveTo(kind == 2 ? p1 : QPointF(cx, cy));
    const int steps = std::max(2, int(std::ceil(clipSpan / 5.0)));
    for (int i = 0; i <= steps; ++i)
        clip.lineTo(onEllipse(clipStart + clipSpan * i / steps, far));
    if (kind == 2)
        clip.lineTo(p2);
    clip.closeSubpath();

    p->save();
    if (!full)
        p->setClipPath(clip, Qt::IntersectClip);
    ApplyPen(p);
    if (kind == 0)
        p->setBrush(Qt::NoBrush);
    else
        ApplyBrush(p);
    ApplyMode(p, FPen.Mode());
    {
        const PixelCentres centres(p, ScaledHairline());
        p->drawEllipse(box);
    }
    p->restore();

    if (kind == 0 || FPen.Style() == psClear)
        return;
    // The straight edges: the two radii of a pie, the chord of a chord.
    ApplyPen(p);
    ApplyMode(p, FPen.Mode());
    const QPoint q1 = p1.toPoint(), q2 = p2.toPoint(), c(int(std::lround(cx)), int(std::lround(cy)));
    const PixelCentres centres(p, ScaledHairline());
    if (kind == 1) {
        p->drawLine(c, q1);
        if (!full)
            p->drawLine(c, q2);
    } else if (!full) {
        p->drawLine(q1, q2);
    }
}

void TCanvas::Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4)
{
    DrawArcShape(0, l, t, r, b, x3, y3, x4, y4);
}

void TCanvas::Pie(int l, int t, int r, int b, int x3, int y3, int x4, int y4)
{
    DrawArcShape(1, l, t, r, b, x3, y3, x4, y4);
}

void TCanvas::Chord(int l, int t, int r, int b, int x3, int y3, int x4, int y4)
{
    DrawArcShape(2, l, t, r, b, x3, y3, x4, y4);
}

void TCanvas::TextOut(int x, int y, const QString& s)
{
    QPainter* p = Begin();
    if (!p || s.isEmpty())
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QFontMetrics& fm = Metrics();
    const int orientation = FFont.Orientation();
    QPoint at(x, y);
    if (orientation != 0) {
        // Rotated text turns about its top-left corner.
        p->save();
        p->translate(x, y);
        p->rotate(-orientation / 10.0);
        at = QPoint(0, 0);
    }
    if (FBrush.Style() != bsClear)
        p->fillRect(QRect(at.x(), at.y(), fm.horizontalAdvance(s), fm.height()), Resolve(FBrush.Color()));
    p->setPen(Resolve(FFont.Color()));
    p->drawText(QPoint(at.x(), at.y() + fm.ascent()), s);
    if (orientation != 0)
        p->restore();
    FPenPos = QPoint(x, y);
    FPenAfterText = s;
    FPenAfterMetrics = FMetrics;
}

void TCanvas::TextRect(const QRect& rect, int x, int y, const QString& s)
{
    QPainter* p = Begin();
    if (!p)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->save();
    p->setClipRect(FClipped ? rect.intersected(FClipRect) : rect);
    if (FBrush.Style() != bsClear)
        p->fillRect(rect, Resolve(FBrush.Color()));
    if (!s.isEmpty()) {
        const QFontMetrics& fm = Metrics();
        p->setPen(Resolve(FFont.Color()));
        p->drawText(QPoint(x, y + fm.ascent()), s);
    }
    p->restore();
}

int TCanvas::TextWidth(const QString& s) const
{
    return Metrics().horizontalAdvance(s);
}

int TCanvas::TextHeight(const QString&) const
{
    return Metrics().height();
}

QSize TCanvas::TextExtent(const QString& s) const
{
    return QSize(Metrics().horizontalAdvance(s), Metrics().height());
}

int TCanvas::TextAscent() const
{
    return Metrics().ascent();
}

// An image of bmp with the pixels of colour key turned into alpha 0.
static QImage MaskedImage(const TBitmap& bmp, QRgb key)
{
    QImage img = bmp.Image().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF))
                line[x] = 0;
    }
    return img;
}

void TCanvas::Draw(int x, int y, const TBitmap& bmp)
{
    if (bmp.Empty() || &bmp.Image() == FTarget)
        return;
    QPainter* p = Begin();
    if (!p)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QSize logical(bmp.Width(), bmp.Height());
    if (bmp.Transparent())
        p->drawImage(QRect(QPoint(x, y), logical), MaskedImage(bmp, Resolve(bmp.TransparentColor()).rgb()));
    else
        p->drawImage(QRect(QPoint(x, y), logical), bmp.Image());
}

void TCanvas::StretchDraw(const QRect& r, const TBitmap& bmp)
{
    if (bmp.Empty() || r.isEmpty() || &bmp.Image() == FTarget)
        return;
    QPainter* p = Begin();
    if (!p)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::SmoothPixmapTransform, FStretchMode == smHalftone);
    p->drawImage(r, bmp.Transparent() ? MaskedImage(bmp, Resolve(bmp.TransparentColor()).rgb()) : bmp.Image());
}

void TCanvas::CopyRect(const QRect& dest, const TCanvas& src, const QRect& srcRect)
{
    if (!src.FTarget || src.FTarget->isNull())
        return;
    src.Flush();
    if (src.FTarget == FTarget) {
        Flush();
        const QImage part = FTarget->copy(srcRect);
        CopyRect(dest, part, part.rect());
        return;
    }
    CopyRect(dest, *src.FTarget, srcRect);
}

void TCanvas::CopyRect(const QRect& dest, const QImage& src, const QRect& srcRect)
{
    QPainter* p = Begin();
    if (!p || dest.isEmpty() || srcRect.isEmpty())
        return;
    if (FCopyMode == cmBlackness || FCopyMode == cmWhiteness) {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        p->fillRect(dest, FCopyMode == cmBlackness ? Qt::black : Qt::white);
        return;
    }
    p->setCompositionMode(CopyModeComposition(FCopyMode));
    p->setRenderHint(QPainter::SmoothPixmapTransform, FStretchMode == smHalftone);
    p->drawImage(QRectF(dest), src, QRectF(srcRect));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QPoint TCanvas::PhysicalPoint(int x, int y) const
{
    const qreal dpr = FTarget ? FTarget->devicePixelRatio() : 1.0;
    return QPoint(int(x * dpr), int(y * dpr));
}

TColor TCanvas::Pixels(int x, int y) const
{
    if (!FTarget || FTarget->isNull() || !ClipRect().contains(x, y))
        return CLR_INVALID;
    Flush();
    const QPoint pp = PhysicalPoint(x, y);
    if (!FTarget->rect().contains(pp))
        return CLR_INVALID;
    const QRgb c = FTarget->pixel(pp);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TCanvas::SetPixels(int x, int y, TColor c)
{
    if (!FTarget || FTarget->isNull() || !ClipRect().contains(x, y))
        return;
    Flush();
    const qreal dpr = FTarget->devicePixelRatio();
    const QColor qc = Resolve(c);
    const QPoint pp = PhysicalPoint(x, y);
    const int n = std::max(1, int(dpr));
    for (int dy = 0; dy < n; ++dy)
        for (int dx = 0; dx < n; ++dx)
            if (FTarget->rect().contains(pp.x() + dx, pp.y() + dy))
                FTarget->setPixel(pp.x() + dx, pp.y() + dy, qc.rgb());
}

void TCanvas::FloodFill(int x, int y, TColor c, TFillStyle style)
{
    if (!FTarget || FTarget->isNull() || FBrush.Style() == bsClear)
        return;
    Flush();
    if (FTarget->format() != QImage::Format_RGB32 && FTarget->format() != QImage::Format_ARGB32
        && FTarget->format() != QImage::Format_ARGB32_Premultiplied)
        *FTarget = FTarget->convertToFormat(QImage::Format_RGB32);
    const qreal dpr = FTarget->devicePixelRatio();
    const QRect clip = FClipped ? QRect(PhysicalPoint(FClipRect.left(), FClipRect.top()),
                                        QSize(int(FClipRect.width() * dpr), int(FClipRect.height() * dpr)))
                                      .intersected(FTarget->rect())
                                : FTarget->rect();
    const QPoint seed = PhysicalPoint(x, y);
    if (!clip.contains(seed))
        return;
    const QRgb rgbMask = 0x00FFFFFF;
    const QRgb key = Resolve(c).rgb() & rgbMask;
    const QRgb fill = Resolve(FBrush.Color()).rgb() | 0xFF000000;
    uchar* const bits = FTarget->bits();   // detached once, not per pixel
    const qsizetype stride = FTarget->bytesPerLine();
    auto pix = [&](int px, int py) -> QRgb& { return reinterpret_cast<QRgb*>(bits + py * stride)[px]; };
    // A pixel belongs to the region when (surface) it has the colour c / (border) it is not c.
    auto inside = [&](int px, int py) {
        const bool isKey = (pix(px, py) & rgbMask) == key;
        return style == fsSurface ? isKey : !isKey;
    };
    if (!inside(seed.x(), seed.y()))
        return;
    if (style == fsSurface && (fill & rgbMask) != key) {
        // Filled pixels leave the region, so spans need no visited map.
        std::vector<QPoint> seeds{seed};
        while (!seeds.empty()) {
            const QPoint pt = seeds.back();
            seeds.pop_back();
            const int py = pt.y();
            if (!inside(pt.x(), py))
                continue;
            int l = pt.x(), r = pt.x();
            while (l > clip.left() && inside(l - 1, py))
                --l;
            while (r < clip.right() && inside(r + 1, py))
                ++r;
            for (int px = l; px <= r; ++px)
                pix(px, py) = fill;
            for (const int ny : {py - 1, py + 1}) {
                if (ny < clip.top() || ny > clip.bottom())
                    continue;
                bool open = false;
                for (int px = l; px <= r; ++px) {
                    const bool in = inside(px, ny);
                    if (in && !open)
                        seeds.push_back(QPoint(px, ny));
                    open = in;
                }
            }
        }
        return;
    }
    std::vector<bool> done(size_t(FTarget->width()) * size_t(FTarget->height()), false);
    std::vector<QPoint> stack;
    stack.push_back(seed);
    while (!stack.empty()) {
        const QPoint pt = stack.back();
        stack.pop_back();
        int px = pt.x();
        const int py = pt.y();
        if (done[size_t(py) * FTarget->width() + px] || !inside(px, py))
            continue;
        while (px > clip.left() && inside(px - 1, py) && !done[size_t(py) * FTarget->width() + px - 1])
            --px;
        bool upOpen = false, downOpen = false;
        for (; px <= clip.right() && inside(px, py) && !done[size_t(py) * FTarget->width() + px]; ++px) {
            pix(px, py) = fill;
            done[size_t(py) * FTarget->width() + px] = true;
            for (int dir = -1; dir <= 1; dir += 2) {
                const int ny = py + dir;
                bool& open = dir < 0 ? upOpen : downOpen;
                if (ny < clip.top() || ny > clip.bottom()) {
                    continue;
                }
                const bool in = inside(px, ny) && !done[size_t(ny) * FTarget->width() + px];
                if (in && !open)
                    stack.push_back(QPoint(px, ny));
                open = in;
            }
        }
    }
}

// =============================================================================================
// TBitmap

TBitmap::TBitmap()
    : FCanvas(&FImage)
{
}

TBitmap::TBitmap(int w, int h)
    : FCanvas(&FImage)
{
    SetSize(w, h);
}

TBitmap::~TBitmap()
{
    FCanvas.Flush();
}

void TBitmap::SetSize(int w, int h)
{
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height())
        return;
    FCanvas.Flush();
    if (w == 0 || h == 0) {
        FImage = QImage();
        return;
    }
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (!FImage.isNull()) {
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, FImage);
    }
    FImage = img;
}

const QImage& TBitmap::Image() const
{
    FCanvas.Flush();
    return FImage;
}

QImage& TBitmap::Image()
{
    FCanvas.Flush();
    return FImage;
}

void TBitmap::SetImage(const QImage& img)
{
    FCanvas.Flush();
    if (img.isNull()) {
        FImage = QImage();
        return;
    }
    FImage = img.hasAlphaChannel() ? img.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                   : img.convertToFormat(QImage::Format_RGB32);
}

bool TBitmap::LoadFromFile(const QString& FileName)
{
    QImage img;
    if (FileName.isEmpty() || !img.load(FileName))
        return false;
    SetImage(img);
    return true;
}

void TBitmap::LoadFromFileOrThrow(const QString& FileName)
{
    if (!LoadFromFile(FileName))
        throw EInOutError(QStringLiteral("Cannot load picture \"%1\"").arg(FileName));
}

bool TBitmap::LoadFromResourceName(const QString& Name)
{
    for (const char* ext : {".png", ".bmp"}) {
        const QString path = QStringLiteral(":/korvane/") + Name + QLatin1String(ext);
        if (QFile::exists(path))
            return LoadFromFile(path);
    }
    return false;
}

bool TBitmap::SaveToFile(const QString& FileName) const
{
    // Written beside the target and renamed over it only when complete, so a save that fails
    // (full disk, no permission, a format that cannot be written) leaves the previous file.
    QSaveFile f(FileName);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&f, QFileInfo(FileName).suffix().toLower().toLatin1());
    return writer.write(Image()) && f.commit();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentColor != clDefault || Empty())
        return FTransparentColor;
    const QRgb c = Image().pixel(0, FImage.height() - 1);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TBitmap::Assign(const TBitmap& src)
{
    if (&src == this)
        return;
    FCanvas.Flush();
    FImage = src.Image().copy();
    FTransparent = src.FTransparent;
    FTransparentColor = src.FTransparentColor;
}

} // namespace qor
