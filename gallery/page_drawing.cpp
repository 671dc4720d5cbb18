// The "Drawing" page: the frame styles, the marker symbols and the predefined colours, each drawn
// through the library's own canvas so the page shows exactly what components get.
#include "GalleryPage.h"

#include <QOR_qorbase.h>
#include <QOR_qorcolors.h>

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QVBoxLayout>

using namespace qor;

namespace {

const TColor kFace = RGB(236, 236, 236);
const TColor kNumberText = RGB(110, 110, 110);

// A widget that renders itself into a TBitmap with a TCanvas and shows the bitmap.
class CanvasView : public QWidget {
public:
    using QWidget::QWidget;
protected:
    virtual void Render(TCanvas* c) = 0;
    void paintEvent(QPaintEvent*) override
    {
        FBitmap.SetSize(width(), height());
        TCanvas* c = FBitmap.Canvas();
        c->Font()->AssignQFont(font());
        c->Font()->SetColor(clBlack);
        c->Brush()->SetColor(kFace);
        c->FillRect(0, 0, width(), height());
        Render(c);
        QPainter(this).drawImage(0, 0, FBitmap.Image());
    }
    // The width of s as the canvas will draw it in this widget's font (its metrics differ a little
    // from the widget's own), for size hints computed before any painting.
    int CanvasTextWidth(const QString& s) const
    {
        TBitmap scratch(1, 1);
        scratch.Canvas()->Font()->AssignQFont(font());
        return scratch.Canvas()->TextWidth(s);
    }
    // Text centred on x with its top at y, transparent background.
    static void CentredText(TCanvas* c, int x, int y, const QString& s, TColor colour)
    {
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(colour);
        c->TextOut(x - c->TextWidth(s) / 2, y, s);
    }
private:
    TBitmap FBitmap;
};

// The six frame styles side by side, each framing a tile that names it.
class FrameStylesView : public CanvasView {
public:
    static constexpr int kTileW = 104, kTileH = 50, kGap = 12, kPerRow = 6;
    QSize sizeHint() const override
    {
        return {kPerRow * kTileW + (kPerRow + 1) * kGap, kTileH + 2 * kGap};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
protected:
    void Render(TCanvas* c) override
    {
        static const char* const names[] = {"fsNone", "fsSimple", "fsLowered", "fsRaised", "fsEmbossed", "fsEngraved"};
        for (int s = fsNone; s <= fsEngraved; ++s) {
            const int l = kGap + (s % kPerRow) * (kTileW + kGap);
            const int t = kGap + (s / kPerRow) * (kTileH + kGap);
            DrawFrame(c, TFrameStyle(s), l, t, l + kTileW - 1, t + kTileH - 1, clWhite, clSilver, clGray, clBlack, clBlack);
            const int th = c->TextHeight(QStringLiteral("0"));
            const int cx = l + kTileW / 2, cy = t + kTileH / 2;
            CentredText(c, cx, cy - th, QString::number(s), kNumberText);
            CentredText(c, cx, cy, QString::fromLatin1(names[s]), clBlack);
        }
    }
};

// The 52 markers in a grid with their numbers; hovering names a marker, a click selects it for
// the magnified view.
class MarkerGridView : public CanvasView {
public:
    static constexpr int kCols = 13, kCell = 40;
    std::function<void(int)> OnSelect;

    MarkerGridView()
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }
    QSize sizeHint() const override
    {
        return {kCols * kCell + 1, ((NumMarkers + kCols - 1) / kCols) * kCell + 1};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
    int Selected() const { return FSelected; }
    void Select(int m)
    {
        FSelected = m;
        update();
        if (OnSelect)
            OnSelect(m);
    }
protected:
    void Render(TCanvas* c) override
    {
        for (int m = 0; m < NumMarkers; ++m) {
            const QRect cell = CellRect(m);
            const bool sel = m == FSelected, hot = m == FHot;
            c->Brush()->SetColor(sel ? RGB(200, 220, 250) : hot ? RGB(250, 250, 250) : clWhite);
            c->Pen()->SetColor(sel ? RGB(60, 110, 200) : RGB(210, 210, 210));
            c->Rectangle(cell.left(), cell.top(), cell.right() + 2, cell.bottom() + 2);
            if (sel && hasFocus()) {
                c->Pen()->SetStyle(psDot);
                DrawRectangle(c, cell.left() + 2, cell.top() + 2, cell.right(), cell.bottom());
                c->Pen()->SetStyle(psSolid);
            }
            c->Pen()->SetColor(clNavy);
            DrawMarkOnCanvas(c, m, cell.left() + kCell / 2, cell.top() + 15);
            CentredText(c, cell.left() + kCell / 2, cell.top() + 26, QString::number(m), kNumberText);
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const int m = MarkAt(e->position().toPoint());
        if (m != FHot) {
            FHot = m;
            update();
        }
    }
    void leaveEvent(QEvent*) override
    {
        FHot = -1;
        update();
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        const int m = MarkAt(e->position().toPoint());
        if (m >= 0)
            Select(m);
    }
    // Arrow keys move the selection through the grid, Home and End jump to the first and last.
    void keyPressEvent(QKeyEvent* e) override
    {
        int m = FSelected;
        switch (e->key()) {
        case Qt::Key_Left: --m; break;
        case Qt::Key_Right: ++m; break;
        case Qt::Key_Up: m -= kCols; break;
        case Qt::Key_Down: m += kCols; break;
        case Qt::Key_Home: m = 0; break;
        case Qt::Key_End: m = NumMarkers - 1; break;
        default: CanvasView::keyPressEvent(e); return;
        }
        if (m >= 0 && m < NumMarkers)
            Select(m);
    }
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::ToolTip) {
            auto* he = static_cast<QHelpEvent*>(e);
            const int m = MarkAt(he->pos());
            if (m >= 0)
                QToolTip::showText(he->globalPos(), QString::number(m) + QStringLiteral(": ") + MarkerName(m), this);
            else
                QToolTip::hideText();
            return true;
        }
        return CanvasView::event(e);
    }
private:
    static QRect CellRect(int m) { return {(m % kCols) * kCell, (m / kCols) * kCell, kCell, kCell}; }
    static int MarkAt(QPoint p)
    {
        if (p.x() < 0 || p.y() < 0)
            return -1;
        const int col = p.x() / kCell, row = p.y() / kCell;
        const int m = row * kCols + col;
        return col < kCols && m < NumMarkers ? m : -1;
    }
    int FSelected = 6;
    int FHot = -1;
};

// One marker magnified so its pixels can be counted, with the point it is centred on.
class MarkerZoomView : public CanvasView {
public:
    static constexpr int kZoom = 9, kSpan = 13;   // 13 x 13 pixels around the point
    MarkerZoomView() { setFixedSize(sizeHint()); }
    QSize sizeHint() const override { return {kSpan * kZoom + 1, kSpan * kZoom + 1 + 36}; }
    QSize minimumSizeHint() const override { return sizeHint(); }
    void SetMark(int m)
    {
        FMark = m;
        update();
    }
protected:
    void Render(TCanvas* c) override
    {
        TBitmap small(kSpan, kSpan);
        small.Canvas()->Pen()->SetColor(clNavy);
        DrawMarkOnCanvas(small.Canvas(), FMark, kSpan / 2, kSpan / 2);
        const QImage& img = small.Image();
        for (int y = 0; y < kSpan; ++y)
            for (int x = 0; x < kSpan; ++x) {
                const bool centre = x == kSpan / 2 && y == kSpan / 2;
                TColor px = FromQColor(QColor::fromRgb(img.pixel(x, y)));
                if (px == clWhite && centre)
                    px = RGB(255, 220, 220);   // mark the point itself when the symbol leaves it open
                c->Pen()->SetColor(RGB(225, 225, 225));
                c->Brush()->SetColor(px);
                c->Rectangle(x * kZoom, y * kZoom, x * kZoom + kZoom + 1, y * kZoom + kZoom + 1);
            }
        const int y0 = kSpan * kZoom + 6;
        CentredText(c, width() / 2, y0, QStringLiteral("marker %1").arg(FMark), clBlack);
        CentredText(c, width() / 2, y0 + c->TextHeight(QStringLiteral("0")) + 2, MarkerName(FMark), kNumberText);
    }
private:
    int FMark = 6;
};

// The predefined colours in three columns: swatch, index and identifier; the tooltip gives the
// RGB value the colour resolves to.
class ColorTableView : public CanvasView {
public:
    static constexpr int kCols = 3, kRowH = 18, kSwatchW = 28, kNumW = 22, kGapW = 8;
    QSize sizeHint() const override { return {kCols * ColumnWidth(), Rows() * kRowH + 4}; }
    QSize minimumSizeHint() const override { return sizeHint(); }
protected:
    static int Rows() { return (NumPredefinedColors + kCols - 1) / kCols; }
    int ColumnWidth() const
    {
        int nameW = 0;
        for (int i = 0; i < NumPredefinedColors; ++i)
            nameW = std::max(nameW, CanvasTextWidth(QString::fromLatin1(PredefinedColors(i).Name)));
        return kSwatchW + kNumW + 4 * kGapW + nameW;
    }
    int IndexAt(QPoint p) const
    {
        const int col = p.x() / ColumnWidth(), row = (p.y() - 2) / kRowH;
        const int i = col * Rows() + row;
        return p.x() >= 0 && p.y() >= 2 && col < kCols && row < Rows() && i < NumPredefinedColors ? i : -1;
    }
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::ToolTip)
            return CanvasView::event(e);
        auto* he = static_cast<QHelpEvent*>(e);
        const int i = IndexAt(he->pos());
        if (i < 0) {
            QToolTip::hideText();
            return true;
        }
        const TColor rgb = ColorToRGB(PredefinedColors(i).Color);
        QToolTip::showText(he->globalPos(),
                           QString::fromLatin1(PredefinedColors(i).Name)
                               + QString::asprintf(": R %d, G %d, B %d", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)),
                           this);
        return true;
    }
    void Render(TCanvas* c) override
    {
        const int th = c->TextHeight(QStringLiteral("0"));
        const int colW = ColumnWidth();
        for (int i = 0; i < NumPredefinedColors; ++i) {
            const TPredefinedColor& p = PredefinedColors(i);
            const int x = (i / Rows()) * colW + 2, y = (i % Rows()) * kRowH + 2;
            c->Pen()->SetColor(RGB(90, 90, 90));
            c->Brush()->SetColor(p.Color);
            c->Rectangle(x, y + 3, x + kSwatchW, y + kRowH - 2);
            const int ty = y + (kRowH - th) / 2;
            c->Brush()->SetStyle(bsClear);
            c->Font()->SetColor(kNumberText);
            const QString num = QString::number(i);
            c->TextOut(x + kSwatchW + kGapW + kNumW - c->TextWidth(num), ty, num);
            c->Font()->SetColor(clBlack);
            c->TextOut(x + kSwatchW + kNumW + 2 * kGapW, ty, QString::fromLatin1(p.Name));
        }
    }
};

QWidget* Note(const QString& text)
{
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    l->setStyleSheet(QStringLiteral("color: #555;"));
    return l;
}

class DrawingPage : public QWidget {
public:
    DrawingPage()
    {
        auto* lay = new QVBoxLayout(this);

        auto* frames = new QWidget;
        auto* fl = new QVBoxLayout(frames);
        fl->addWidget(new FrameStylesView);
        fl->addWidget(Note(QStringLiteral("DrawFrame with white, $C0C0C0, $808080, black and a black outline; "
                                          "the number is the style's ordinal.")));
        lay->addWidget(gallery::Framed(QStringLiteral("Frame styles"), frames));

        auto* markers = new QWidget;
        auto* ml = new QHBoxLayout(markers);
        auto* grid = new MarkerGridView;
        auto* zoom = new MarkerZoomView;
        grid->OnSelect = [zoom](int m) { zoom->SetMark(m); };
        ml->addWidget(grid, 0, Qt::AlignTop);
        auto* zl = new QVBoxLayout;
        zl->addWidget(zoom);
        auto* hint = Note(QStringLiteral("Click a marker or use the arrow keys to magnify it."));
        hint->setFixedWidth(zoom->width());
        zl->addWidget(hint);
        zl->addStretch();
        ml->addLayout(zl);
        ml->addStretch();
        lay->addWidget(gallery::Framed(QStringLiteral("Markers (DrawMarkOnCanvas)"), markers));

        auto* colours = new ColorTableView;
        lay->addWidget(gallery::Framed(QStringLiteral("Predefined colours"), colours));
        lay->addStretch();
    }
};

const bool registered = gallery::RegisterPage(0, QStringLiteral("Drawing"), QStringLiteral("drawing"),
                                              [] { return new DrawingPage; });

} // namespace
