// Widget-box icons: small symbolic drawings on a transparent 32 x 32 pixmap, antialiased,
// so they stay crisp at 16 x 16 and at 32 x 32.
#include "QOR_WidgetIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>

namespace qordesign {

// A meter face: scale arc, needle and its anchor.
void PaintMeterIcon(QPainter& p)
{
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(250, 248, 236));
    p.drawRoundedRect(QRectF(2, 4, 28, 24), 3, 3);
    p.setPen(QPen(QColor(0, 0, 128), 2));
    p.drawArc(QRectF(6, 9, 20, 20), 30 * 16, 120 * 16);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(QPointF(16, 22), QPointF(22, 11));
    p.setBrush(QColor(90, 90, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 22), 2.5, 2.5);
}

namespace {

// An edit field with a number, with or without the up/down buttons.
void PaintFieldIcon(QPainter& p, const QString& text, bool buttons)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 8.5, buttons ? 21 : 29, 15));
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRectF(2, 9, buttons ? 19 : 27, 14), Qt::AlignRight | Qt::AlignVCenter, text);
    if (!buttons)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 70));
    p.drawPolygon(QPolygonF({QPointF(24, 15), QPointF(31, 15), QPointF(27.5, 10)}));
    p.drawPolygon(QPolygonF({QPointF(24, 17), QPointF(31, 17), QPointF(27.5, 22)}));
}

} // namespace

void PaintNumIOIcon(QPainter& p)
{
    PaintFieldIcon(p, QStringLiteral("42"), false);
}

void PaintNumIO2Icon(QPainter& p)
{
    PaintFieldIcon(p, QStringLiteral("1.5"), true);
}

// A report: header row, banded rows with check boxes, one row selected.
void PaintReportIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 3.5, 29, 25));
    p.fillRect(QRectF(2, 4, 28, 6), QColor(200, 200, 200));
    for (int r = 0; r < 3; ++r)
        p.fillRect(QRectF(2, 11 + r * 6, 28, 5), r == 1 ? QColor(237, 186, 148).rgb() : QColor(232, 239, 240).rgb());
    p.setPen(QColor(120, 120, 120));
    p.drawLine(QPointF(11.5, 4), QPointF(11.5, 28));
    p.setPen(QColor(0, 0, 0));
    for (int r = 0; r < 3; ++r)
        p.drawRect(QRectF(4.5, 11.5 + r * 6, 4, 4));
    p.drawLine(QPointF(5, 20), QPointF(8, 16));
}

// Bands from dark red to yellow in a grey outline.
void PaintGradFillIcon(QPainter& p)
{
    const int bands = 6;
    for (int i = 0; i < bands; ++i) {
        const int g = 255 * i / (bands - 1);
        p.fillRect(QRectF(3, 3 + i * 26.0 / bands, 26, 26.0 / bands + 0.5), QColor(128 + 127 * i / (bands - 1), g, 0));
    }
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 2.5, 27, 27));
}

// A framed bar two thirds full, blue to red, with grid lines.
void PaintProgBarIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(1.5, 9.5, 29, 13));
    QLinearGradient bar(QPointF(3, 0), QPointF(29, 0));
    bar.setColorAt(0, QColor(0, 0, 255));
    bar.setColorAt(1, QColor(255, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(bar);
    p.drawRect(QRectF(3, 11, 18, 10));
    p.setPen(QPen(QColor(0, 0, 0), 1));
    for (int x = 8; x < 21; x += 5)
        p.drawLine(QPointF(x + 0.5, 11), QPointF(x + 0.5, 21));
}

// A dark display with "A" in green dots on its raster.
void PaintRasterLabIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(16, 16, 16));
    p.drawRect(QRectF(1.5, 5.5, 29, 21));
    static const char* const glyph[] = {"..#..", ".#.#.", "#...#", "#####", "#...#", "#...#"};
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 9; ++k) {
            const bool lit = k >= 2 && k < 7 && glyph[r][k - 2] == '#';
            p.setBrush(lit ? QColor(0, 230, 0) : QColor(64, 64, 64));
            p.fillRect(QRectF(4 + k * 3, 8 + r * 3, 2, 2), p.brush());
        }
}

// A sunken value field with a number and a unit beside it.
void PaintNumLabIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 236, 236));
    p.drawRect(QRectF(2, 9, 21, 14));
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawLine(QPointF(2.5, 22.5), QPointF(2.5, 8.5));
    p.drawLine(QPointF(2.5, 8.5), QPointF(22.5, 8.5));
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(QPointF(23.5, 8.5), QPointF(23.5, 23.5));
    p.drawLine(QPointF(23.5, 23.5), QPointF(2.5, 23.5));
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0));
    p.drawText(QRectF(3, 9, 20, 14), Qt::AlignCenter, QStringLiteral("3.1"));
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRectF(24, 9, 8, 14), Qt::AlignCenter, QStringLiteral("V"));
}

// Text at an angle with a turning arrow.
void PaintRotLabIcon(QPainter& p)
{
    p.save();
    p.translate(16, 17);
    p.rotate(-40);
    QFont f = p.font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRectF(-14, -7, 28, 14), Qt::AlignCenter, QStringLiteral("Abc"));
    p.restore();
    p.setPen(QPen(QColor(200, 0, 0), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 26, 26), -20 * 16, -70 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 0, 0));
    p.drawPolygon(QPolygonF({QPointF(28.5, 15), QPointF(24.5, 13.5), QPointF(28.5, 10)}));
}

// A red slanted "8" on a dark panel, drawn segment by segment.
void PaintSevenSegIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(51, 51, 51));
    p.drawRoundedRect(QRectF(3, 1, 26, 30), 2, 2);
    p.setBrush(QColor(255, 0, 0));
    const double slant = 0.19;
    auto seg = [&](QPointF a, QPointF b) {
        // A bar from a to b, 2.6 pixels thick, leaning with the digit.
        auto lean = [&](QPointF q) { return QPointF(q.x() + (16 - q.y()) * slant, q.y()); };
        QPointF d = b - a;
        const double len = std::hypot(d.x(), d.y());
        const QPointF n(-d.y() / len * 1.3, d.x() / len * 1.3);
        p.drawPolygon(QPolygonF({lean(a + n), lean(b + n), lean(b - n), lean(a - n)}));
    };
    seg({12, 5}, {21, 5});      // top
    seg({10.5, 6.5}, {10.5, 14.5});
    seg({22.5, 6.5}, {22.5, 14.5});
    seg({12, 16}, {21, 16});    // middle
    seg({10.5, 17.5}, {10.5, 25.5});
    seg({22.5, 17.5}, {22.5, 25.5});
    seg({12, 27}, {21, 27});    // bottom
    p.drawEllipse(QPointF(25.5, 27), 1.3, 1.3);
}

// Four framed slides, one highlighted, one selected.
void PaintThumbnailsIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(212, 208, 200));
    p.drawRect(QRectF(1.5, 1.5, 29, 29));
    for (int k = 0; k < 4; ++k) {
        const QRectF slide(4.5 + (k % 2) * 13, 4.5 + (k / 2) * 13, 10, 10);
        p.setPen(QPen(k == 1 ? QColor(0, 0, 255) : QColor(60, 60, 60), 1));
        p.setBrush(k == 2 ? QColor(0, 0, 128) : QColor(192, 192, 192));
        p.drawRect(slide);
        p.fillRect(slide.adjusted(2.5, 2.5, -2, -2), k == 3 ? QColor(70, 140, 60) : QColor(240, 240, 240));
    }
}

// A root folder with two subfolders on dotted branch lines.
void PaintFolderTreeIcon(QPainter& p)
{
    auto folder = [&p](double x, double y, QColor c) {
        p.setPen(QPen(QColor(120, 90, 20), 1));
        p.setBrush(c);
        p.drawRect(QRectF(x + 0.5, y + 0.5, 4, 2));
        p.drawRect(QRectF(x + 0.5, y + 2.5, 10, 7));
    };
    p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    p.drawLine(QPointF(6.5, 12), QPointF(6.5, 26.5));
    p.drawLine(QPointF(6.5, 18.5), QPointF(13, 18.5));
    p.drawLine(QPointF(6.5, 26.5), QPointF(13, 26.5));
    folder(1, 2, QColor(250, 210, 90));
    folder(14, 13, QColor(250, 225, 130));
    folder(14, 21, QColor(250, 225, 130));
}

// A small table: a grey heading row and column, numbers, one cell marked red.
void PaintTableEditorIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 3.5, 29, 25));
    p.fillRect(QRectF(2, 4, 28, 6), QColor(212, 208, 200));
    p.fillRect(QRectF(2, 4, 8, 24), QColor(212, 208, 200));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (double x : {10.5, 20.5})
        p.drawLine(QPointF(x, 4), QPointF(x, 28));
    for (double y : {10.5, 16.5, 22.5})
        p.drawLine(QPointF(2, y), QPointF(30, y));
    p.setPen(Qt::NoPen);
    const QColor ink(0, 32, 0);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 2; ++c)
            p.fillRect(QRectF(12 + c * 10, 12.5 + r * 6, r == 1 && c == 1 ? 4 : 6, 2),
                       r == 2 && c == 0 ? QColor(255, 0, 0) : ink);
}

// A month sheet: a caption band with arrows, a row of weekday marks, the day grid with a
// selected day and today circled.
void PaintMiniCalIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(248, 248, 248));
    p.drawRect(QRectF(1.5, 2.5, 29, 27));
    p.fillRect(QRectF(2, 3, 28, 6), QColor(208, 208, 208));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(QPolygonF({QPointF(4, 6), QPointF(7, 4), QPointF(7, 8)}));
    p.drawPolygon(QPolygonF({QPointF(28, 6), QPointF(25, 4), QPointF(25, 8)}));
    p.fillRect(QRectF(2, 9, 28, 3), QColor(192, 192, 192));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 6; ++c) {
            const QRectF cell(3.5 + c * 4.5, 13.5 + r * 4, 3, 2.5);
            const QColor color = r == 1 && c == 2 ? QColor(0x40, 0xA0, 0xD0)
                                 : c >= 4          ? QColor(0xEE, 0xDD, 0xBB)
                                                   : QColor(130, 130, 130);
            p.fillRect(cell, color);
        }
    p.setPen(QPen(QColor(230, 0, 0), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14.5, 23.75), 3, 2.5);
}

// A slide switch, green and on.
void PaintOnOffButIcon(QPainter& p)
{
    p.setPen(QPen(QColor(20, 90, 20), 1));
    p.setBrush(QColor(40, 176, 40));
    p.drawRoundedRect(QRectF(2.5, 9.5, 27, 13), 6.5, 6.5);
    p.setPen(QPen(QColor(96, 96, 96), 1));
    QRadialGradient knob(QPointF(20, 13), 8);
    knob.setColorAt(0, Qt::white);
    knob.setColorAt(1, QColor(176, 176, 176));
    p.setBrush(knob);
    p.drawEllipse(QPointF(22.5, 16), 6, 6);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(9, 13), QPointF(9, 19));
}

// A raised button with a turning arrow: it repeats.
void PaintRepSpeedButtonIcon(QPainter& p)
{
    p.setPen(QPen(QColor(110, 110, 110), 1));
    p.setBrush(QColor(222, 222, 222));
    p.drawRoundedRect(QRectF(2.5, 2.5, 27, 27), 3, 3);
    p.setPen(QPen(QColor(0, 0, 128), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8, 8, 16, 16), 100 * 16, 280 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawPolygon(QPolygonF({QPointF(14, 4.5), QPointF(19.5, 8), QPointF(14, 11.5)}));
}

// A drop-down box with a colour bar beside a name.
void PaintColSelIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 8.5, 29, 15));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(220, 30, 30));
    p.drawRect(QRectF(3.5, 10.5, 8, 11));
    p.fillRect(QRectF(13, 15, 7, 2), QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 70));
    p.drawPolygon(QPolygonF({QPointF(23, 14), QPointF(29, 14), QPointF(26, 18)}));
}

// Markers on a grid, one of them selected.
void PaintMarkSelIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(236, 236, 236));
    p.drawRect(QRectF(1.5, 1.5, 29, 29));
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(11.5, 11.5, 9, 9));
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(7, 7), 2.5, 2.5);
    p.drawRect(QRectF(14, 4.5, 5, 5));
    p.drawLine(QPointF(23, 7), QPointF(28, 7));
    p.drawLine(QPointF(25.5, 4.5), QPointF(25.5, 9.5));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({QPointF(7, 13.5), QPointF(10, 18.5), QPointF(4, 18.5)}));
    p.drawEllipse(QPointF(25.5, 16), 2.5, 2.5);
    p.setPen(QPen(QColor(0, 0, 128), 1.2));
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(QRectF(14, 14, 4, 4));
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(QPointF(4.5, 23.5), QPointF(9.5, 28.5));
    p.drawLine(QPointF(4.5, 28.5), QPointF(9.5, 23.5));
}

// The data container: a sheet of rows behind a disk, for the data a report list shows.
void PaintRLDataIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 1.5, 21, 25));
    p.fillRect(QRectF(2, 2, 20, 5), QColor(200, 200, 200));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (double y : {11.5, 16.5, 21.5})
        p.drawLine(QPointF(2, y), QPointF(22, y));
    p.drawLine(QPointF(10.5, 2), QPointF(10.5, 26));
    p.setPen(QPen(QColor(40, 60, 120), 1));
    p.setBrush(QColor(90, 130, 200));
    p.drawRect(QRectF(16.5, 18.5, 13, 12));
    p.fillRect(QRectF(19, 19, 8, 4), QColor(230, 230, 230));
}

} // namespace qordesign
