// Report list view: drawing at the stated pixels.
#include <gtest/gtest.h>

#include "test_rlview_support.h"

using namespace qor;
using rlvtest::View;

namespace {

// The sub-image of a cell's text area, for comparing what two cells show.
QImage CellPixels(View& f, int gridCol, int gridRow)
{
    return f.Img().copy(f.Cell(gridCol, gridRow));
}

bool HasInk(const QImage& img, QRect area, TColor background)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qortest::PixelAt(img, x, y) != background)
                return true;
    return false;
}

} // namespace

TEST(RLViewDraw, NewViewHasDefaultsAndBandsStartShaded)
{
    View f;
    EXPECT_EQ(f.v.NrOfColumns(), 5);
    EXPECT_EQ(f.v.NrOfRows(), 4);
    EXPECT_EQ(f.v.CountHeadRows(), 1);
    EXPECT_EQ(f.v.RowCount(), 5);
    EXPECT_EQ(f.v.FixedRows(), 1);
    EXPECT_EQ(f.v.RowHeights(0), 20);
    const QImage img = f.Img();
    const QRect r1 = f.Cell(0, 1), r2 = f.Cell(0, 2);
    EXPECT_EQ(qortest::PixelAt(img, r1.left() + 2, r1.top() + 2), 0xF0EFE8);
    EXPECT_EQ(qortest::PixelAt(img, r2.left() + 2, r2.top() + 2), clWhite);
    // No vertical grid lines in the data area: the fill covers the gap after the cell.
    EXPECT_EQ(qortest::PixelAt(img, r1.left() + r1.width(), r1.top() + 2), 0xF0EFE8);
    // Fixed lines around the column headers are black.
    EXPECT_EQ(qortest::PixelAt(img, 30, 20), clBlack);
}

TEST(RLViewDraw, RowColPatternSetsTheBandHeight)
{
    View f;
    f.v.SetNrOfRows(8);
    f.v.SetRowColPattern(3);
    QImage img = f.Img();
    auto bg = [&](int gridRow) { const QRect r = f.Cell(0, gridRow); return qortest::PixelAt(img, r.left() + 2, r.top() + 2); };
    EXPECT_EQ(bg(1), 0xF0EFE8);
    EXPECT_EQ(bg(3), 0xF0EFE8);
    EXPECT_EQ(bg(4), clWhite);
    EXPECT_EQ(bg(6), clWhite);
    EXPECT_EQ(bg(7), 0xF0EFE8);
    f.v.SetRowColPattern(0);
    img = f.Img();
    EXPECT_EQ(bg(1), clWhite);
    EXPECT_EQ(bg(2), clWhite);
}

TEST(RLViewDraw, SelectionDisabledAndHighlightPrecedence)
{
    View f;
    auto bg = [&](int gridCol, int gridRow) {
        const QRect r = f.Cell(gridCol, gridRow);
        return f.Px(r.left() + 1, r.top() + 1);
    };
    f.v.SelectRow(2);
    EXPECT_EQ(bg(1, 2), 0x94BAED);
    f.v.SetColumnSelected(2, true);
    EXPECT_EQ(bg(1, 2), clBlack);   // both: ColorSelectedBoth, black by default
    EXPECT_EQ(bg(1, 1), clBlack);   // column only
    f.v.SetColorSelectedCol(clYellow);
    EXPECT_EQ(bg(1, 1), clYellow);
    EXPECT_EQ(bg(1, 2), clBlack);
    f.v.SetHighLightRow(2);
    EXPECT_EQ(bg(3, 2), 0xCC9966);  // highlight over selection
    f.v.SetRowEnabled(2, false);
    EXPECT_EQ(bg(3, 2), 0xF0F0F0);  // a disabled row ignores selection and highlight
    f.v.SetHighLightRow(0);
    f.v.SetHighLightColumn(4);
    EXPECT_EQ(bg(3, 3), 0xCC9966);
}

TEST(RLViewDraw, DisabledViewDrawsTextInInactiveCaption)
{
    View f;
    f.v.SetElem(1, 1, QStringLiteral("WWWW"));
    f.v.SetColorBkgdShaded(clWhite);
    f.v.SetEnabled(false);
    const QImage img = f.Img();
    const QRect r = f.Cell(0, 1);
    const TColor expect = ColorToRGB(clInactiveCaption);
    bool found = false;
    for (int x = r.left() + 4; x < r.left() + 30 && !found; ++x)
        for (int y = r.top() + 2; y < r.bottom() && !found; ++y)
            found = qortest::PixelAt(img, x, y) == expect;
    EXPECT_TRUE(found);
    // Header background in the disabled colour.
    EXPECT_EQ(qortest::PixelAt(img, 50, 10), 0xF0F0F0);
}

TEST(RLViewDraw, CheckBoxAndRadioMarksAtTheStatedPixels)
{
    View f;
    f.v.SetColorBkgdShaded(clWhite);
    f.v.SetColumnCheckMode(1, cmBox);
    f.v.SetColumnCheckMode(2, cmRadio);
    f.v.SetElem(1, 1, QStringLiteral("a"));
    f.v.SetElemChecked(1, 1, true);
    f.v.SetElem(1, 2, QStringLiteral("b"));
    f.v.SetElemChecked(2, 1, true);
    const QImage img = f.Img();
    const TColor shadow = ColorToRGB(clBtnShadow);
    {
        const QRect r = f.Cell(0, 1);
        const int L = r.left(), T = r.top();
        EXPECT_EQ(qortest::PixelAt(img, L + 4, T + 4), shadow);     // box corner
        EXPECT_EQ(qortest::PixelAt(img, L + 14, T + 14), shadow);
        EXPECT_EQ(qortest::PixelAt(img, L + 15, T + 15), clWhite);  // outside the box
        EXPECT_EQ(qortest::PixelAt(img, L + 6, T + 8), 0x002000);   // tick, first stroke
        EXPECT_EQ(qortest::PixelAt(img, L + 8, T + 12), 0x002000);
        EXPECT_EQ(qortest::PixelAt(img, L + 12, T + 8), 0x002000);  // second stroke
        EXPECT_EQ(qortest::PixelAt(img, L + 10, T + 5), clWhite);
    }
    {
        const QRect r = f.Cell(0, 2);   // unchecked box: outline only
        EXPECT_EQ(qortest::PixelAt(img, r.left() + 4, r.top() + 4), shadow);
        EXPECT_EQ(qortest::PixelAt(img, r.left() + 8, r.top() + 10), clWhite);
    }
    {
        const QRect r = f.Cell(1, 1);   // checked radio: a filled dot
        const int L = r.left(), T = r.top();
        for (auto [x, y] : {std::pair{8, 7}, {10, 7}, {7, 8}, {11, 9}, {9, 10}, {8, 11}, {10, 11}})
            EXPECT_EQ(qortest::PixelAt(img, L + x, T + y), 0x002000) << x << "," << y;
        EXPECT_EQ(qortest::PixelAt(img, L + 11, T + 7), clWhite);
        EXPECT_EQ(qortest::PixelAt(img, L + 9, T + 4), shadow);    // top of the circle
    }
    {
        // Empty cells show empty boxes only while ShowEmptyCheckBoxes is set.
        const QRect r = f.Cell(0, 3);
        EXPECT_EQ(qortest::PixelAt(img, r.left() + 4, r.top() + 4), shadow);
        f.v.SetShowEmptyCheckBoxes(false);
        EXPECT_EQ(f.Px(r.left() + 4, r.top() + 4), clWhite);
    }
}

TEST(RLViewDraw, LongTextIsCutWithDotsAndPasswordsAreMasked)
{
    const QString longText = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789ABCD");
    View a;
    a.v.SetColorBkgdShaded(clWhite);
    a.v.SetColWidths(1, 60);
    a.v.SetElem(1, 1, longText);
    a.v.SetColumnAlignment(2, taRightJustify);
    a.v.SetColWidths(2, 60);
    a.v.SetElem(2, 1, longText);

    // The expected cut, from the same font's metrics.
    TBitmap bmp(10, 10);
    bmp.Canvas()->Font()->Assign(*a.v.Font());
    const int w = bmp.Canvas()->TextWidth(longText.mid(1));
    const int n = int(std::nearbyint(40.0 * (60 - 9) / w - 4));
    View b;
    b.v.SetColorBkgdShaded(clWhite);
    b.v.SetColWidths(1, 60);
    b.v.SetElem(1, 1, longText.left(n) + "...");
    b.v.SetColumnAlignment(2, taRightJustify);
    b.v.SetColWidths(2, 60);
    b.v.SetElem(2, 1, longText.left(1) + "..." + longText.right(n));
    EXPECT_EQ(CellPixels(a, 0, 1), CellPixels(b, 0, 1));
    EXPECT_EQ(CellPixels(a, 1, 1), CellPixels(b, 1, 1));
    EXPECT_NE(CellPixels(a, 0, 1), CellPixels(a, 1, 1));

    View p;
    p.v.SetColorBkgdShaded(clWhite);
    p.v.SetColWidths(1, 200);
    p.v.SetColumnIsPwd(1, true);
    p.v.SetElem(1, 1, QStringLiteral("x"));
    p.v.SetElem(1, 2, QString(50, QLatin1Char('y')));
    p.v.SetElem(1, 3, QStringLiteral("******"));
    p.v.SetColumnIsPwd(1, false);
    const QImage plain = CellPixels(p, 0, 3);
    p.v.SetColumnIsPwd(1, true);
    EXPECT_EQ(CellPixels(p, 0, 1), plain);
    EXPECT_EQ(CellPixels(p, 0, 2), plain);
}

TEST(RLViewDraw, SortArrowPointsTheSortDirection)
{
    View f;
    f.FillColumn(2, [](int r) { return QString::number(r); });
    f.v.Sort(2, -1, true);
    TBitmap bmp(10, 10);
    bmp.Canvas()->Font()->Assign(*f.v.Font());
    const QRect hd = f.Cell(1, 0);
    const int h = bmp.Canvas()->TextHeight(QStringLiteral("C-2"));
    const int x = hd.left() + 4 + bmp.Canvas()->TextWidth(QStringLiteral("C-2")) + 10;
    const int y = hd.top() + 2 + h / 2;
    QImage img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, x, y - 3), clWhite);   // apex at the top
    EXPECT_EQ(qortest::PixelAt(img, x - 4, y + 3), clGray);
    EXPECT_EQ(qortest::PixelAt(img, x, y + 3), clWhite);   // base
    f.v.Sort(2, -1, false);
    img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, x, y - 3), clGray);    // flat top
    EXPECT_EQ(qortest::PixelAt(img, x, y + 3), clGray);    // apex at the bottom
    // Only the sorted column has an arrow.
    const QRect other = f.Cell(0, 0);
    EXPECT_NE(qortest::PixelAt(img, other.left() + 4 + bmp.Canvas()->TextWidth("C-1") + 10, y - 3), clGray);
}

TEST(RLViewDraw, EmptyMessageLinesAreCentredBelowTheHeaders)
{
    View f;
    f.v.SetNrOfRows(0);
    f.v.SetEmptyMessage(QStringLiteral("Nothing here|try again"));
    f.v.SetColorEmptyMsg(clRed);
    const QImage img = f.Img();
    TBitmap bmp(10, 10);
    bmp.Canvas()->Font()->Assign(*f.v.Font());
    const int h = bmp.Canvas()->TextHeight(QStringLiteral("Nothing here|try again"));
    const int top = 20 - h * 2;
    const int H = f.v.ClientHeight(), W = f.v.ClientWidth();
    const TColor bg = ColorToRGB(f.v.Color());
    for (int k = 0; k < 2; ++k) {
        const QString line = k == 0 ? QStringLiteral("Nothing here") : QStringLiteral("try again");
        const int y = top + (H - top) / 2 + h * k - 2;
        const int tw = bmp.Canvas()->TextWidth(line);
        const int x = (W - tw) / 2;
        EXPECT_TRUE(HasInk(img, QRect(x, y, tw, h), bg)) << k;
        EXPECT_FALSE(HasInk(img, QRect(0, y, x - 1, h), bg)) << k;       // nothing left of it
        EXPECT_FALSE(HasInk(img, QRect(x + tw + 2, y, W - x - tw - 3, h), bg)) << k;
    }
    // The grid's one empty data row is painted over with the control colour.
    EXPECT_EQ(qortest::PixelAt(img, 5, 30), bg);
    // Empty parts are no lines (the message is tokenized): the same two lines, placed the same.
    f.v.SetEmptyMessage(QStringLiteral("|Nothing here||try again|"));
    EXPECT_EQ(f.Img(), img);
}

TEST(RLViewDraw, InterRowIndicatorIsALineAboveTheRow)
{
    View f;
    f.v.SetColorBkgdShaded(clWhite);
    f.v.SetInterRowIndicatorPos(2);
    const int y = (1 + 2 - 1 - 1) * (f.v.DefaultRowHeight() + 1) + 20;
    const QImage img = f.Img();
    EXPECT_EQ(qortest::PixelAt(img, 100, y), clRed);
    EXPECT_EQ(qortest::PixelAt(img, 100, y - 1), clRed);
    EXPECT_EQ(qortest::PixelAt(img, 100, y + 1), clRed);
    EXPECT_EQ(qortest::PixelAt(img, 100, y + 3), clWhite);
    f.v.SetInterRowIndicatorPos(9);   // beyond NrOfRows + 1: nothing
    EXPECT_EQ(f.Px(100, y), clWhite);
}

TEST(RLViewDraw, CommonHeaderSpansTheColumnsWithEdges)
{
    View f;
    f.v.SetCommonHeaderVisible(true);
    f.v.SetColorCommonHd(clAqua);
    EXPECT_EQ(f.v.CountHeadRows(), 2);
    EXPECT_EQ(f.v.TopRow(), 1);
    EXPECT_EQ(f.v.FixedRows(), 2);
    const QImage img = f.Img();
    const int E = 5 * 65 - 1;   // right end of the five visible columns
    EXPECT_EQ(qortest::PixelAt(img, 0, 5), clWhite);
    EXPECT_EQ(qortest::PixelAt(img, 100, 0), clWhite);
    EXPECT_EQ(qortest::PixelAt(img, 100, 19), clGray);
    EXPECT_EQ(qortest::PixelAt(img, E - 1, 10), clGray);
    EXPECT_EQ(qortest::PixelAt(img, E, 10), clBlack);
    EXPECT_EQ(qortest::PixelAt(img, 64, 10), clAqua);   // no column line through the band
    // The column header row follows below.
    EXPECT_EQ(f.v.CellRect(0, 1).top(), 21);
}

TEST(RLViewDraw, CellTextSitsWhereTextOutPutsItAndFollowsAlignment)
{
    View f;
    f.v.SetColorBkgdShaded(clWhite);
    f.v.SetColWidths(1, 120);
    f.v.SetElem(1, 1, QStringLiteral("Hg sample"));
    const QRect cell = f.Cell(0, 1);
    const QImage img = f.Img();
    // The same text drawn by the canvas at the text rectangle's left, one pixel above its top.
    TBitmap ref(cell.width() + 1, cell.height() + 1);
    TCanvas* cv = ref.Canvas();
    cv->Brush()->SetColor(clWhite);
    cv->FillRect(0, 0, ref.Width(), ref.Height());
    cv->Font()->Assign(*f.v.Font());
    cv->Font()->SetColor(0x002000);
    cv->Brush()->SetStyle(bsClear);
    cv->TextOut(4, 2 - 1, QStringLiteral("Hg sample"));
    const QImage expect = ref.Image().copy(0, 0, cell.width(), cell.height()).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(img.copy(cell).convertToFormat(QImage::Format_RGB32), expect);

    // Right alignment: the text ends 6 pixels before the cell's right edge.
    f.v.SetColumnAlignment(1, taRightJustify);
    const QImage right = f.Img();
    const int tw = cv->TextWidth(QStringLiteral("Hg sample"));
    EXPECT_EQ(right.copy(cell.left() + cell.width() - 6 - tw, cell.top(), tw, cell.height()),
              img.copy(cell.left() + 4, cell.top(), tw, cell.height()));
}

// A password column shows and measures its mask only; as a check column it keeps its marks.
TEST(RLViewDraw, PasswordColumnsGiveAwayNeitherLengthNorMarks)
{
    View f;
    f.v.SetColorBkgdShaded(clWhite);
    f.v.SetColumnIsPwd(1, true);
    f.v.SetHeader(1, QString());
    f.v.SetElem(1, 1, QStringLiteral("x"));
    const int shortSecret = f.v.DetermineMaxColWidth(1, true);
    f.v.SetElem(1, 2, QString(40, QLatin1Char('W')));
    EXPECT_EQ(f.v.DetermineMaxColWidth(1, true), shortSecret);
    TBitmap bmp(10, 10);
    bmp.Canvas()->Font()->Assign(*f.v.Font());
    EXPECT_EQ(shortSecret, bmp.Canvas()->TextWidth(QStringLiteral("******")) + 10);

    // Check column and password column at once: the box shows the real state.
    f.v.SetColumnCheckMode(2, cmBox);
    f.v.SetColumnIsPwd(2, true);
    f.v.SetColWidths(2, 120);
    f.v.SetElem(2, 1, QStringLiteral("secret"));
    f.v.SetElem(2, 2, QStringLiteral("secret"));
    f.v.SetElemChecked(2, 2, true);
    const QImage img = f.Img();
    const QRect unchecked = f.Cell(1, 1), checked = f.Cell(1, 2);
    // A point on the tick's first stroke, (L + 6, T + 8) to (L + 9, T + 11).
    EXPECT_EQ(qortest::PixelAt(img, unchecked.left() + 7, unchecked.top() + 9), clWhite);
    EXPECT_EQ(qortest::PixelAt(img, checked.left() + 7, checked.top() + 9), f.v.ColorText());
    // The text beside the box is the mask.
    f.v.SetColumnIsPwd(2, false);
    f.v.SetElem(2, 3, QStringLiteral("******"));
    const QImage maskShown = f.Img().copy(f.Cell(1, 3).adjusted(16, 0, 0, 0));
    f.v.SetColumnIsPwd(2, true);
    EXPECT_EQ(f.Img().copy(f.Cell(1, 1).adjusted(16, 0, 0, 0)), maskShown);
    // Measured as shown: the widest is the checked row's mark with the mask.
    EXPECT_EQ(f.v.DetermineMaxColWidth(2, false), bmp.Canvas()->TextWidth(QStringLiteral("X******")) + 16 + 10);
}

// Widths kept from earlier paints belong to the font they were measured with.
TEST(RLViewDraw, FontSizeChangeThroughTheClassicFontRemeasuresTheTexts)
{
    auto setup = [](View& f) {
        f.v.SetColWidths(1, 90);
        f.v.SetColumnAlignment(2, taRightJustify);
        f.v.SetColWidths(2, 90);
        f.v.SetElem(1, 1, QStringLiteral("fits small"));
        f.v.SetElem(2, 1, QStringLiteral("right"));
    };
    View a, b;
    setup(a);
    setup(b);
    a.Img();   // measured at the first size
    a.v.Font()->SetSize(16);
    b.v.Font()->SetSize(16);
    EXPECT_EQ(a.Img().copy(a.Cell(0, 1)), b.Img().copy(b.Cell(0, 1)));   // cut as for the new size
    EXPECT_EQ(a.Img().copy(a.Cell(1, 1)), b.Img().copy(b.Cell(1, 1)));   // right-aligned by the new width
}
