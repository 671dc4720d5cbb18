// The colour selector: its entries and their range rules, names and item texts, palettes,
// SelColor by exact value first, selection by keyboard and type-ahead, the drawing of an item,
// and the colour dialog opened over the colour bar (answered from a timer), never from a stale
// pointer position.
#include <gtest/gtest.h>

#include <QOR_Colsel.h>
#include "test_labels_support.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace qor;
using qortest::PixelAt;

namespace {

int EntryOf(TColor c)
{
    for (int i = 0; i < NumPredefinedColors; ++i)
        if (PredefinedColors(i).Color == c)
            return i + 1;
    return 0;
}

TEST(ColSel, StartsWithThePredefinedColoursAndListsEachUnderItsOwnName)
{
    TColSel cs;
    EXPECT_EQ(cs.NumColors(), 20);
    EXPECT_EQ(cs.count(), 20);
    EXPECT_EQ(cs.ColorBarWidth(), 30);
    EXPECT_EQ(cs.DropDownCount(), 8);
    EXPECT_EQ(cs.Color(), clWindow);
    EXPECT_TRUE(cs.OwnerDraw());
    EXPECT_EQ(cs.SelColorIx(), 1);
    EXPECT_EQ(cs.currentIndex(), 0);
    EXPECT_EQ(cs.SelColor(), clBlack);
    EXPECT_EQ(cs.SelColorID(), QStringLiteral("clBlack"));
    cs.SetNumColors(47);
    for (int i = 1; i <= 47; ++i) {
        EXPECT_EQ(cs.Colors(i), PredefinedColors(i - 1).Color) << i;
        EXPECT_EQ(cs.ColorNames(i), ColorToString(PredefinedColors(i - 1).Color)) << i;
        EXPECT_EQ(cs.itemText(i - 1), cs.ColorNames(i)) << i;   // item i names entry i + 1
        EXPECT_FALSE(cs.ColorEditAllowed(i));
    }
}

TEST(ColSel, WhileLoadingTheListWaitsForLoaded)
{
    TColSel cs;
    cs.BeginLoading();
    cs.SetNumColors(30);
    cs.SetSelColor(clRed);
    EXPECT_EQ(cs.count(), 20);
    cs.Loaded();
    EXPECT_EQ(cs.count(), 30);
    EXPECT_EQ(cs.currentIndex(), EntryOf(clRed) - 1);
    EXPECT_EQ(cs.SelColor(), clRed);
}

TEST(ColSel, EntriesOutsideTheRangeReadEmptyAndIgnoreWrites)
{
    TColSel cs;
    cs.SetNumColors(0);
    cs.SetNumColors(48);
    EXPECT_EQ(cs.NumColors(), 20);
    EXPECT_EQ(cs.Colors(0), 0);
    EXPECT_EQ(cs.Colors(21), 0);
    EXPECT_EQ(cs.ColorNames(21), QString());
    EXPECT_EQ(cs.ColorNames(-5), QString());
    EXPECT_FALSE(cs.ColorEditAllowed(0));
    int names = 0;
    cs.OnColorNameChange = [&](QObject*, QString&) { ++names; };
    cs.SetColors(21, clRed);
    cs.SetColorNames(0, QStringLiteral("x"));
    cs.SetColorEditAllowed(48, true);
    EXPECT_EQ(names, 0);
    cs.SetNumColors(21);
    EXPECT_EQ(cs.Colors(21), PredefinedColors(20).Color);   // untouched
    EXPECT_FALSE(cs.ColorEditAllowed(21));

    cs.SetAllColorEditFlags();
    EXPECT_TRUE(cs.ColorEditAllowed(21));
    cs.ResetAllColorEditFlags();
    EXPECT_FALSE(cs.ColorEditAllowed(1));
    // The search covers all 47 entries, in use or not.
    EXPECT_EQ(cs.FindColorEntry(clInfoBk), EntryOf(clInfoBk));
    EXPECT_EQ(cs.FindColorEntry(0x123456), 0);
}

TEST(ColSel, WrittenColoursAndNamesPassTheNameEventAndShowInTheList)
{
    TColSel cs;
    QStringList offered;
    cs.OnColorNameChange = [&](QObject* s, QString& name) {
        EXPECT_EQ(s, &cs);
        offered << name;
        if (name == QStringLiteral("clLime"))
            name = QStringLiteral("Signal green");
    };
    cs.SetColors(3, clLime);
    EXPECT_EQ(offered, QStringList{QStringLiteral("clLime")});
    EXPECT_EQ(cs.ColorNames(3), QStringLiteral("Signal green"));
    EXPECT_EQ(cs.itemText(2), QStringLiteral("Signal green"));
    cs.SetColors(4, 0x123456);
    EXPECT_EQ(cs.ColorNames(4), QStringLiteral("$00123456"));
    cs.SetColorNames(4, QStringLiteral("Mud"));
    EXPECT_EQ(offered.last(), QStringLiteral("Mud"));
    EXPECT_EQ(cs.itemText(3), QStringLiteral("Mud"));

    cs.SetItemIndex(3);
    EXPECT_EQ(cs.SelColorID(), QStringLiteral("Mud"));
    EXPECT_EQ(cs.SelColor(), 0x123456);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&cs);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("Mud"));
    cs.SetItemIndex(-1);
    EXPECT_EQ(cs.SelColorID(), QString());
}

TEST(ColSel, PalettesFillTheirEntriesAndLeaveTheRest)
{
    TColSel cs;
    cs.SetNumColors(47);
    cs.SetColors(30, 0x123456);
    cs.SetItemIndex(5);
    int names = 0;
    cs.OnColorNameChange = [&](QObject*, QString&) { ++names; };

    cs.LoadBasicVGAPalette();
    EXPECT_EQ(cs.NumColors(), 16);
    EXPECT_EQ(cs.count(), 16);
    EXPECT_EQ(cs.SelColorIx(), 1);
    EXPECT_EQ(names, 16);
    cs.LoadExtendedPalette();
    EXPECT_EQ(cs.NumColors(), 20);
    EXPECT_EQ(cs.Colors(20), clMedGray);
    cs.LoadWindowsSystemPalette();
    EXPECT_EQ(cs.NumColors(), 27);
    for (int i = 1; i <= 27; ++i)
        EXPECT_EQ(cs.Colors(i), PredefinedColors(19 + i).Color) << i;
    EXPECT_EQ(cs.itemText(0), QStringLiteral("clScrollBar"));
    EXPECT_EQ(cs.FindColorEntry(0x123456), 30);   // entries 28..47 as they were
    cs.LoadStandardPalette();
    EXPECT_EQ(cs.NumColors(), 47);
    EXPECT_EQ(cs.Colors(30), PredefinedColors(29).Color);
    EXPECT_EQ(names, 16 + 20 + 27 + 47);
}

TEST(ColSel, SelColorPrefersTheExactValueThenTheLookThenOverwrites)
{
    TColSel cs;
    cs.SetNumColors(47);
    QSignalSpy changed(&cs, &TColSel::selColorChanged);
    cs.SetSelColor(clRed);
    EXPECT_EQ(cs.SelColorIx(), EntryOf(clRed));
    EXPECT_EQ(cs.currentIndex(), EntryOf(clRed) - 1);
    EXPECT_EQ(changed.count(), 1);

    // Two entries that look alike on this palette: the one asked for is taken.
    int first = 0, second = 0;
    for (int i = 1; i <= 47 && !second; ++i)
        for (int j = i + 1; j <= 47 && !second; ++j)
            if (ColorToRGB(cs.Colors(i)) == ColorToRGB(cs.Colors(j))) {
                first = i;
                second = j;
            }
    ASSERT_NE(second, 0) << "no two colours look alike";
    cs.SetSelColor(cs.Colors(second));
    EXPECT_EQ(cs.SelColorIx(), second);
    EXPECT_EQ(cs.SelColor(), cs.Colors(second));
    // A plain value that only looks like an entry takes the first that looks like it.
    int look = 0;
    const TColor plain = ColorToRGB(cs.Colors(second));
    for (int i = 1; i <= 47 && !look; ++i)
        if (ColorToRGB(cs.Colors(i)) == plain)
            look = i;
    if (cs.FindColorEntry(plain) == 0) {
        cs.SetSelColor(plain);
        EXPECT_EQ(cs.SelColorIx(), look);
    }

    // Not in the list: the selected entry takes it, named by its value.
    cs.SetSelColor(clYellow);
    const int at = cs.SelColorIx();
    QString offered;
    cs.OnColorNameChange = [&](QObject*, QString& name) { offered = name; };
    cs.SetSelColor(0x0A0B0C);
    EXPECT_EQ(cs.SelColorIx(), at);
    EXPECT_EQ(cs.SelColor(), 0x0A0B0C);
    EXPECT_EQ(offered, QStringLiteral("$000A0B0C"));
    EXPECT_EQ(cs.itemText(at - 1), offered);
    EXPECT_EQ(changed.last().at(0).value<QColor>(), QColor(0x0C, 0x0B, 0x0A));

    // NumColors selects entry 1 again.
    cs.SetNumColors(30);
    EXPECT_EQ(cs.SelColorIx(), 1);
    EXPECT_EQ(cs.currentIndex(), 0);
}

TEST(ColSel, KeyboardAndTypeAheadSelectTheEntryTheyName)
{
    TColSel cs;
    cs.show();
    QApplication::setActiveWindow(&cs);
    cs.setFocus();
    int clicks = 0, changes = 0;
    cs.OnClick = [&](QObject*) { ++clicks; };
    cs.OnChange = [&](QObject*) { ++changes; };
    QTest::keyClick(&cs, Qt::Key_Down);
    EXPECT_EQ(cs.SelColor(), clMaroon);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
    QTest::keyClicks(&cs, QStringLiteral("clNa"));
    EXPECT_EQ(cs.SelColor(), clNavy);
    EXPECT_EQ(cs.SelColorID(), QStringLiteral("clNavy"));
    EXPECT_EQ(cs.currentText(), QStringLiteral("clNavy"));
}

// One item drawn by the list's delegate, 120 x 18 at ratio 1.
QImage DrawnItem(TColSel& cs, int row, QStyle::State state = QStyle::State_Enabled)
{
    QImage img(120, 18, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QStyleOptionViewItem opt;
    opt.rect = img.rect();
    opt.state = state;
    opt.font = cs.font();
    QPainter p(&img);
    cs.itemDelegate()->paint(&p, opt, cs.model()->index(row, 0));
    return img;
}

TEST(ColSel, AnItemIsABarWithItsEditMarkThenTheName)
{
    TColSel cs;
    cs.SetColor(0xF0F8FF);
    const int B = 18, CBW = 30;
    QImage img = DrawnItem(cs, EntryOf(clRed) - 1);
    EXPECT_EQ(PixelAt(img, 3, 2), clBlack);              // the bar's outline
    EXPECT_EQ(PixelAt(img, CBW + 2, B - 3), clBlack);
    EXPECT_EQ(PixelAt(img, 10, 9), clRed);               // its inside
    EXPECT_EQ(PixelAt(img, CBW + 3 + 1, 1), 0xF0F8FF);   // the name area in Color
    EXPECT_EQ(PixelAt(img, CBW + 3, 1), 0xF0F8FF);
    const QRect name = labeltest::InkBox(img, QRect(CBW + 3, 0, 120 - CBW - 3, B), 0xF0F8FF);
    const QRect ink = labeltest::TextInk(*cs.Font(), QStringLiteral("clRed"));
    const int th = labeltest::TextHeightOf(*cs.Font());
    EXPECT_EQ(name, ink.translated(CBW + 6, (B - th) / 2).intersected(QRect(CBW + 3, 0, 120, B)));

    // The edit mark: white on a dark colour, black on a light one.
    cs.SetAllColorEditFlags();
    img = DrawnItem(cs, EntryOf(clNavy) - 1);
    EXPECT_EQ(PixelAt(img, 5, 4), clWhite);
    EXPECT_EQ(PixelAt(img, 5, B - 6), clWhite);
    EXPECT_EQ(PixelAt(img, 11, 8), clWhite);
    EXPECT_EQ(PixelAt(img, 8, 9), clNavy);
    img = DrawnItem(cs, EntryOf(clYellow) - 1);
    EXPECT_EQ(PixelAt(img, 5, 4), clBlack);
    cs.SetColorBarWidth(11);   // too narrow for the mark
    img = DrawnItem(cs, EntryOf(clNavy) - 1);
    EXPECT_EQ(PixelAt(img, 5, 4), clNavy);

    // Without a bar the name starts at once.
    cs.SetColorBarWidth(-4);
    EXPECT_EQ(cs.ColorBarWidth(), 11);
    cs.SetColorBarWidth(0);
    img = DrawnItem(cs, EntryOf(clNavy) - 1);
    EXPECT_EQ(labeltest::CountColor(img, img.rect(), clNavy), 0);
    EXPECT_EQ(PixelAt(img, 3, 1), 0xF0F8FF);

    // Disabled: grey on silver, no mark.
    cs.SetColorBarWidth(30);
    cs.setEnabled(false);
    img = DrawnItem(cs, EntryOf(clNavy) - 1, QStyle::State_None);
    EXPECT_EQ(PixelAt(img, 0, 0), clSilver);
    EXPECT_EQ(PixelAt(img, 3, 2), clGray);
    EXPECT_EQ(PixelAt(img, 10, 9), clSilver);
    EXPECT_EQ(PixelAt(img, 5, 4), clSilver);
    EXPECT_EQ(PixelAt(img, 110, 1), clSilver);
    EXPECT_GT(labeltest::CountColor(img, img.rect(), clGray), 20);   // the grey name
}

// Answers the next modal colour dialog with a colour, or cancels it.
void AnswerColorDialog(const QColor& c, bool* opened)
{
    QTimer::singleShot(20, [c, opened] {
        auto* d = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        if (!d)
            return;
        *opened = true;
        if (c.isValid()) {
            d->setCurrentColor(c);
            d->accept();
        } else {
            d->reject();
        }
    });
}

TEST(ColSel, AnEditableEntryOpenedOverTheBarAsksForItsColourFirst)
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    TColSel cs;
    cs.resize(160, 24);
    cs.show();
    cs.SetColorEditAllowed(1, true);
    QStringList order;
    cs.OnChange = [&](QObject*) { order << QStringLiteral("change"); };
    cs.OnColorNameChange = [&](QObject*, QString& n) { order << n; };
    cs.OnDropDown = [&](QObject*) { order << QStringLiteral("dropdown"); };
    QTest::mouseMove(&cs, QPoint(100, 12));
    QTest::mouseMove(&cs, QPoint(10, 12));
    ASSERT_TRUE(cs.MouseOverColorBar());

    bool opened = false;
    AnswerColorDialog(QColor(1, 2, 3), &opened);
    QTest::mouseClick(&cs, Qt::LeftButton, {}, QPoint(10, 12));
    EXPECT_TRUE(opened);
    EXPECT_EQ(order, (QStringList{"change", "$00030201", "dropdown"}));
    EXPECT_EQ(cs.Colors(1), RGB(1, 2, 3));
    EXPECT_EQ(cs.SelColor(), RGB(1, 2, 3));
    EXPECT_EQ(cs.itemText(0), QStringLiteral("$00030201"));
    EXPECT_TRUE(cs.view()->isVisible());   // the list opens afterwards
    cs.hidePopup();

    // Cancelled: nothing changes, the list still opens.
    order.clear();
    opened = false;
    AnswerColorDialog(QColor(), &opened);
    QTest::mouseClick(&cs, Qt::LeftButton, {}, QPoint(10, 12));
    EXPECT_TRUE(opened);
    EXPECT_EQ(order, QStringList{"dropdown"});
    EXPECT_EQ(cs.Colors(1), RGB(1, 2, 3));
    cs.hidePopup();

    // Over the name, or on an entry the user may not change: no dialog.
    opened = false;
    AnswerColorDialog(QColor(9, 9, 9), &opened);
    QTest::mouseClick(&cs, Qt::LeftButton, {}, QPoint(100, 12));
    QTest::qWait(40);
    EXPECT_FALSE(opened);
    cs.hidePopup();
}

TEST(ColSel, AListOpenedFromTheKeyboardAfterThePointerLeftAsksNothing)
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    TColSel cs;
    cs.resize(160, 24);
    cs.show();
    QApplication::setActiveWindow(&cs);
    cs.setFocus();
    cs.SetAllColorEditFlags();
    QTest::mouseMove(&cs, QPoint(100, 12));
    QTest::mouseMove(&cs, QPoint(10, 12));
    ASSERT_TRUE(cs.MouseOverColorBar());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&cs, &leave);
    EXPECT_FALSE(cs.MouseOverColorBar());
    bool opened = false;
    AnswerColorDialog(QColor(9, 9, 9), &opened);
    QTest::keyClick(&cs, Qt::Key_F4);
    QTest::qWait(40);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(cs.view()->isVisible());
    EXPECT_LT(cs.view()->height(), 10 * cs.view()->sizeHintForRow(0));   // DropDownCount rows, not 20
    EXPECT_EQ(cs.Colors(1), clBlack);
    cs.hidePopup();
}

} // namespace
