// Table editor: drawing at the stated pixels — data cells, the rings and texts of the fixed
// cells, the top-left cell, the empty message and the inverted frame of a heading menu.
#include <gtest/gtest.h>

#include <QMenu>

#include "test_ntabed_support.h"

using namespace qor;
using ntest::Editor;

namespace {

// The first column and row of a cell's area holding a pixel of another colour than Back.
QPoint FirstInk(const QImage& img, const QRect& area, TColor Back)
{
    QPoint first(-1, -1);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qortest::PixelAt(img, x, y) != Back) {
                first.setX(first.x() < 0 ? x : std::min(first.x(), x));
                first.setY(first.y() < 0 ? y : std::min(first.y(), y));
            }
    return first;
}

bool HasColour(const QImage& img, const QRect& area, TColor c)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qortest::PixelAt(img, x, y) == c)
                return true;
    return false;
}

} // namespace

TEST(NTabEdPaint, DataCellsShowTextStateAndSelection)
{
    Editor f(3, 3);
    f.t.SetElem(1, 1, 1);
    f.t.SetElem(2, 1, 1);
    f.t.SetCellState(2, 1, csMarkedA);
    f.t.SetElem(3, 1, 1);
    f.t.SetCellState(3, 1, csMarkedA | csMarkedB);
    f.SelectBlock(1, 3, 2, 3);
    f.t.SetElem(1, 3, 1);
    f.t.clearFocus();
    const QImage img = f.Img();
    const TColor window = ColorToRGB(clWindow);
    const QRect plain = f.Cell(1, 1);
    EXPECT_EQ(qortest::PixelAt(img, plain.left(), plain.top()), window);
    // The text stands at (left + 2, top + 1) or right of and below it.
    const QPoint ink = FirstInk(img, plain, window);
    EXPECT_GE(ink.x(), plain.left() + 2);
    EXPECT_GE(ink.y(), plain.top() + 1);
    EXPECT_LE(ink.x(), plain.left() + 4);
    EXPECT_TRUE(HasColour(img, plain, 0x002000));
    EXPECT_TRUE(HasColour(img, f.Cell(2, 1), 0x0000FF));
    EXPECT_TRUE(HasColour(img, f.Cell(3, 1), 0xCC00BB));
    const QRect sel = f.Cell(1, 3);
    EXPECT_EQ(qortest::PixelAt(img, sel.left(), sel.top()), 0xF8E8E0);
    EXPECT_TRUE(HasColour(img, sel, 0x80552C));
    EXPECT_EQ(qortest::PixelAt(img, f.Cell(2, 3).right(), f.Cell(2, 3).bottom()), 0xF8E8E0);
    // An empty cell shows nothing; an invalid one "-nan-".
    EXPECT_EQ(FirstInk(img, f.Cell(2, 2), window), QPoint(-1, -1));
    // OnBeforeRenderCell has the last word.
    f.t.OnBeforeRenderCell = [](QObject*, int c, int r, QString& text, TColor& fg, TColor& bg, TFontStyles&) {
        if (c == 2 && r == 2) {
            text = QStringLiteral("HI");
            fg = clRed;
            bg = clYellow;
        }
    };
    const QImage img2 = f.Img();
    EXPECT_EQ(qortest::PixelAt(img2, f.Cell(2, 2).left(), f.Cell(2, 2).top()), clYellow);
    EXPECT_TRUE(HasColour(img2, f.Cell(2, 2), clRed));
}

TEST(NTabEdPaint, FixedCellsHaveTheirRingAndHeadingTexts)
{
    Editor f(3, 3);
    f.t.SetColName(1, QStringLiteral("Hz"));
    f.t.SetColName(2, QStringLiteral("Hz"));
    f.t.SetRowName(2, QStringLiteral("Hz"));
    f.SelectCell(2, 2);
    const TColor face = ColorToRGB(clBtnFace), shadow = ColorToRGB(clBtnShadow);
    QImage img = f.Img();
    const QRect head = f.GridCell(2, 0);   // the name of column 1
    const int L = head.left(), T = head.top(), R = head.right(), B = head.bottom();
    EXPECT_EQ(qortest::PixelAt(img, L, T), face);     // themed: flat top and left
    EXPECT_EQ(qortest::PixelAt(img, L + 5, B), shadow);
    EXPECT_EQ(qortest::PixelAt(img, R, T + 5), shadow);
    EXPECT_EQ(qortest::PixelAt(img, L + 1, T + 1), face);
    // The name in ColorNormal from (left + 3, top + 2) on, clipped 2 pixels short of the inner
    // right edge.
    const QPoint ink = FirstInk(img, QRect(L + 1, T + 1, head.width() - 2, head.height() - 2), face);
    EXPECT_GE(ink.x(), L + 3);
    EXPECT_GE(ink.y(), T + 2);
    EXPECT_TRUE(HasColour(img, head, 0x002000));
    // The heads of the selection's column and row in ColorSelected.
    EXPECT_TRUE(HasColour(img, f.GridCell(3, 0), 0x404040));
    EXPECT_TRUE(HasColour(img, f.GridCell(0, 2), 0x404040));
    EXPECT_FALSE(HasColour(img, f.GridCell(0, 2), 0x002000));
    // "Attrib" over the attribute column.
    EXPECT_NE(FirstInk(img, f.GridCell(1, 0).adjusted(1, 1, -1, -1), face), QPoint(-1, -1));
    f.t.SetColName(1, QString(40, QLatin1Char('W')));
    img = f.Img();
    for (int y = T + 1; y < B; ++y)
        for (int x = R - 2; x < R; ++x)
            EXPECT_EQ(qortest::PixelAt(img, x, y), face) << x << "," << y;

    f.t.SetDrawingStyle(gdsClassic);
    img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, L, T + 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(qortest::PixelAt(img, R, T + 5), shadow);
    f.t.SetGradientStartColor(clRed);
    f.t.SetGradientEndColor(clBlue);
    f.t.SetDrawingStyle(gdsGradient);
    img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, R, T), clRed);
    EXPECT_EQ(qortest::PixelAt(img, R, B), clBlue);
}

TEST(NTabEdPaint, TheTopLeftCellShowsTheCurrentCell)
{
    Editor f(3, 5);
    f.SelectCell(2, 5);
    QImage img = f.Img();
    const QRect tl = f.GridCell(0, 0);
    const TColor window = ColorToRGB(clWindow);
    EXPECT_EQ(qortest::PixelAt(img, tl.left(), tl.top()), window);
    const QPoint ink = FirstInk(img, tl, window);
    EXPECT_GE(ink.x(), 3);
    EXPECT_GE(ink.y(), 2);
    TCanvas* cv = f.t.Canvas();
    cv->Font()->Assign(*f.t.Font());
    const int w = cv->TextWidth(QStringLiteral("2:5"));
    EXPECT_LE(ink.x(), 4);
    EXPECT_EQ(FirstInk(img, QRect(3 + w + 1, 0, tl.width() - 4 - w, tl.height()), window), QPoint(-1, -1));
    f.t.SetShowCellCursor(false);
    img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, tl.left() + 3, tl.top() + 3), ColorToRGB(clBtnFace));
}

TEST(NTabEdPaint, ATableWithoutRowsShowsTheEmptyMessageCentred)
{
    Editor f(3, 0, 400, 300);
    f.t.SetEmptyMessage(QStringLiteral("first|second|third"));
    f.t.SetColorEmptyMsg(clRed);
    const QImage img = f.Img();
    TCanvas* cv = f.t.Canvas();
    cv->Font()->Assign(*f.t.Font());
    const int h = cv->TextHeight(QStringLiteral("X"));
    const int top = (300 - 3 * h) / 2 - 2;
    const TColor back = ColorToRGB(clWindow);
    EXPECT_EQ(qortest::PixelAt(img, 1, 1), back);   // headings covered too
    for (int i = 0; i < 3; ++i) {
        const QRect line(0, top + i * h, 400, h);
        EXPECT_TRUE(HasColour(img, line, clRed)) << i;
    }
    EXPECT_EQ(FirstInk(img, QRect(0, 0, 400, top), back), QPoint(-1, -1));
    EXPECT_EQ(FirstInk(img, QRect(0, top + 3 * h, 400, 300 - top - 3 * h), back), QPoint(-1, -1));
    // "second" is centred.
    const int w = cv->TextWidth(QStringLiteral("second"));
    const QPoint ink = FirstInk(img, QRect(0, top + h, 400, h), back);
    EXPECT_NEAR(ink.x(), (400 - w) / 2, 2);
}

TEST(NTabEdPaint, AnOpenHeadingMenuInvertsItsCellsFrame)
{
    Editor f(3, 3);
    const QRect head = f.GridCell(2, 0);
    const QImage before = f.Img();
    f.RightPress(head.center());
    ASSERT_TRUE(f.t.HeadingPopupMenu()->isVisible());
    const QImage open = f.Img();
    for (QPoint p : {head.topLeft(), head.bottomRight(), QPoint(head.left() + 7, head.bottom())}) {
        const QRgb a = before.pixel(p), b = open.pixel(p);
        EXPECT_EQ(b & 0xFFFFFF, ~a & 0xFFFFFF) << p.x() << "," << p.y();
    }
    EXPECT_EQ(open.pixel(head.center()), before.pixel(head.center()));
    f.t.HeadingPopupMenu()->hide();
    EXPECT_EQ(f.Img().pixel(head.topLeft()), before.pixel(head.topLeft()));
}
