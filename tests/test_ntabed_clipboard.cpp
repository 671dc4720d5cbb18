// Table editor: copy, paste and extraction in the clipboard formats, with the value range,
// locked cells and the block that becomes the selection.
#include <gtest/gtest.h>

#include <QOR_NumText.h>

#include "test_ntabed_support.h"

using namespace qor;
using ntest::Editor;

TEST(NTabEdClipboard, CopyWritesTheBlockInTheClipboardFormat)
{
    Editor f(3, 3);
    f.t.SetElem(1, 1, 1);
    f.t.SetElem(2, 1, 2);
    f.t.SetElem(1, 2, 3);
    f.t.SetPrecision(1, 0);
    f.t.SetPrecision(2, 0);
    f.t.SetClipboardUseFullPrec(false);
    f.SelectBlock(1, 1, 2, 2);
    f.t.CopySelection();
    EXPECT_EQ(ntest::Clipboard(), QStringLiteral(" 1\t2\r\n 3\t####\r\n"));
    EXPECT_TRUE(f.t.CopyHeld());
    f.t.SetClipboardUseFullPrec(true);
    f.SelectBlock(2, 1, 2, 1);
    f.t.CopySelection();
    const QString full = FormatRealStr(22, -1, 2.0);
    EXPECT_EQ(full.size(), 22);
    EXPECT_EQ(ntest::Clipboard(), QLatin1Char(' ') + full + QStringLiteral("\r\n"));
    // What is copied reads back as the same numbers.
    int nc = 0, nr = 0;
    EXPECT_TRUE(f.t.GetClipMatrixSize(nc, nr));
    EXPECT_EQ(nc, 1);
    EXPECT_EQ(nr, 1);
}

TEST(NTabEdClipboard, PasteCopiesValuesAndStatesIntoTheTableOnly)
{
    Editor f(4, 4);
    EXPECT_FALSE(f.t.PasteCopy());   // nothing copied yet
    f.t.SetElem(1, 1, 5);
    f.t.SetElem(2, 1, 50);
    f.t.SetCellState(2, 1, csMarkedA);
    f.t.SetElem(1, 2, 7);
    f.SelectBlock(1, 1, 2, 2);
    f.t.CopySelection();
    f.t.SetElem(4, 4, 1);
    f.t.SetCellState(4, 4, csLocked);
    f.t.SetVRangeLow(0);
    f.t.SetVRangeHigh(20);
    int changes = 0, states = 0, pastes = 0;
    f.t.OnChange = [&](QObject*) { ++changes; };
    f.t.OnCellStateChanged = [&](QObject*) { ++states; };
    f.t.OnPaste = [&](QObject*) { ++pastes; };
    f.SelectCell(3, 3);
    EXPECT_TRUE(f.t.PasteCopy());
    EXPECT_EQ(f.t.Elem(3, 3), 5.0);
    EXPECT_EQ(f.t.Elem(4, 3), 20.0);   // held to the range
    EXPECT_EQ(f.t.CellState(4, 3), csMarkedA);
    EXPECT_EQ(f.t.Elem(3, 4), 7.0);
    EXPECT_EQ(f.t.Elem(4, 4), 1.0);    // locked: untouched
    EXPECT_EQ(f.t.CellState(4, 4), csLocked);
    EXPECT_EQ(f.t.NrOfColumns(), 4);   // the block's rest fell outside
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(states, 1);
    EXPECT_EQ(pastes, 1);
    EXPECT_EQ(f.t.Selection(), (TGridRect{4, 3, 5, 4}));
}

TEST(NTabEdClipboard, ExtractStoresTheNumbersFromTheSelectedCellOn)
{
    Editor f(4, 3);
    f.t.SetCellState(2, 2, csInvalid | csEmpty | csMarkedB);
    f.t.SetElem(3, 3, 9);
    f.t.SetCellState(3, 3, csLocked);
    f.t.SetVRangeHigh(100);
    int pastes = 0;
    f.t.OnPaste = [&](QObject*) { ++pastes; };
    ntest::SetClipboard(QStringLiteral("x 1\t2.5 , -3\r\nnothing\r\n4e1 1e5 6 7\r\n"));
    f.SelectCell(2, 2);
    EXPECT_TRUE(f.t.ExtractFromClipboard());
    EXPECT_EQ(f.t.Elem(2, 2), 1.0);
    EXPECT_EQ(f.t.CellState(2, 2), csMarkedB);   // a number now, the mark kept
    EXPECT_EQ(f.t.Elem(3, 2), 2.5);
    EXPECT_EQ(f.t.Elem(4, 2), 0.0);              // -3 held to 0..100
    EXPECT_EQ(f.t.Elem(2, 3), 40.0);             // the line without numbers took no row
    EXPECT_EQ(f.t.Elem(3, 3), 9.0);              // locked
    EXPECT_EQ(pastes, 1);
    EXPECT_EQ(f.t.Selection(), (TGridRect{3, 2, 5, 3}));
    ntest::SetClipboard(QStringLiteral("- . +"));
    EXPECT_FALSE(f.t.ExtractFromClipboard());
    ntest::SetClipboard(QString());
    EXPECT_FALSE(f.t.ExtractFromClipboard());
    int nc = 7, nr = 7;
    EXPECT_FALSE(f.t.GetClipMatrixSize(nc, nr));
    EXPECT_EQ(nc, 0);
}

TEST(NTabEdClipboard, ClearAndEmptyStatesSpareLockedCells)
{
    Editor f(2, 2);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 2; ++c)
            f.t.SetElem(c, r, c + r);
    f.t.SetCellState(1, 1, csLocked | csMarkedA);
    f.t.SetCellState(2, 1, csMarkedA);
    f.t.SelectAllCells();
    f.t.ClearSelection();
    EXPECT_EQ(f.t.Elem(1, 1), 2.0);
    EXPECT_EQ(f.t.CellState(1, 1), csLocked | csMarkedA);
    EXPECT_EQ(f.t.Elem(2, 1), 0.0);
    EXPECT_EQ(f.t.CellState(2, 1), 0);
    f.t.ToggleEmptyStates();
    EXPECT_TRUE(f.t.IsEmpty(2, 2));
    int empties = 0;
    f.t.OnEmptyStChanged = [&](QObject*) { ++empties; };
    f.t.ResetAllEmptyStates();
    EXPECT_FALSE(f.t.IsEmpty(2, 2));
    EXPECT_EQ(empties, 1);
}
