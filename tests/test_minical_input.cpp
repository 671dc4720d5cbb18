// Month calendar: clicks on days and buttons, double clicks, the mouse-up state, keyboard,
// wheel, the holiday tool tip and what assistive technology reads.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QToolTip>

#include "test_accessibility_support.h"
#include "test_minical_support.h"

using namespace qor;
using mctest::Cal;
using mctest::D;
using mctest::Ymd;

TEST(MiniCalMouse, DayCellsSelectAndNeighbourDaysSwitchOnlyWithAutoSwitch)
{
    Cal f;   // April 2024, Monday first: row 2 starts on 1 April; row 6 ends in May
    int changes = 0;
    f.c.OnChange = [&](QObject*) { ++changes; };
    f.Click(4, 4);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 18));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.c.LastClickedCell(), (TGridCoord{4, 4}));
    f.c.SetAutoSwitch(false);
    f.Click(4, 6);   // 2 May
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 18));
    EXPECT_EQ(changes, 1);
    f.c.SetAutoSwitch(true);
    f.Click(4, 6);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 5, 2));
    // May 2024 starts on a Wednesday: 29 April sits in column 1.
    f.Click(1, 2);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 29));
    // Across the year: January's leading days are December's, December's trailing January's.
    f.c.SetDate(D(2025, 1, 15));   // 1 January 2025 is a Wednesday
    f.Click(1, 2);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 12, 30));
    f.c.SetDate(D(2024, 12, 15));  // 1 December 2024 is a Sunday: rows 2..7 end on 5 January
    f.Click(7, 7);
    EXPECT_EQ(Ymd(f.c), std::tuple(2025, 1, 5));
}

TEST(MiniCalMouse, ButtonsStepAndTodayComesBackWithoutTheTime)
{
    Cal f(D(2024, 3, 31));
    f.Click(6, 0);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 30));
    f.Click(2, 0);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 3, 30));
    f.Click(7, 0);
    EXPECT_EQ(Ymd(f.c), std::tuple(2025, 3, 30));
    f.Click(1, 0);
    f.Click(1, 0);
    EXPECT_EQ(Ymd(f.c), std::tuple(2023, 3, 30));
    for (int col : {3, 4, 5}) {   // the caption
        f.Click(col, 0);
        EXPECT_EQ(Ymd(f.c), std::tuple(2023, 3, 30));
    }
    f.Click(3, 1);   // a weekday name
    f.Click(0, 4);   // a week number
    EXPECT_EQ(Ymd(f.c), std::tuple(2023, 3, 30));
    f.Click(0, 1);
    EXPECT_EQ(f.c.Date(), qor::Date());
    f.c.SetDate(D(2000, 1, 1));
    f.Click(0, 0);   // the upper half of the "today" button
    EXPECT_EQ(f.c.Date(), qor::Date());
}

TEST(MiniCalMouse, OnlyALeftPressInsideTheCellsCounts)
{
    Cal f;
    QTest::mouseClick(f.c.viewport(), Qt::RightButton, {}, f.Cell(4, 4).center());
    QTest::mouseClick(f.c.viewport(), Qt::MiddleButton, {}, f.Cell(6, 0).center());
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 10));
    EXPECT_EQ(f.c.LastClickedCell(), (TGridCoord{0, 0}));
    // The left column and top row of pixels are outside (0 < X, 0 < Y).
    QTest::mouseClick(f.c.viewport(), Qt::LeftButton, {}, QPoint(0, 5));
    QTest::mouseClick(f.c.viewport(), Qt::LeftButton, {}, QPoint(5, 0));
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 10));
    EXPECT_EQ(f.c.LastClickedCell(), (TGridCoord{0, 0}));
    // Below the cells of a calendar whose grid is cut short nothing happens either.
    f.c.SetRowHeights(7, 2);
    QTest::mouseClick(f.c.viewport(), Qt::LeftButton, {}, QPoint(f.Cell(4, 7).center().x(), f.c.ClientHeight() - 2));
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 10));
}

TEST(MiniCalMouse, DoubleClickFiresOnlyOnDayCellsAndKeepsTheFirstPressesDay)
{
    Cal f;
    int dbl = 0;
    f.c.OnDblClick = [&](QObject*) { ++dbl; };
    QSignalSpy signal(&f.c, &TMiniCal::doubleClicked);
    // As a mouse does it: press, release, double-click press, release.
    auto doubleClick = [&](int col, int row) {
        QTest::mouseClick(f.c.viewport(), Qt::LeftButton, {}, f.Cell(col, row).center());
        QTest::mouseDClick(f.c.viewport(), Qt::LeftButton, {}, f.Cell(col, row).center());
        QTest::mouseRelease(f.c.viewport(), Qt::LeftButton, {}, f.Cell(col, row).center());
    };
    doubleClick(6, 0);   // ">" twice
    EXPECT_EQ(dbl, 0);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 6, 10));
    f.c.SetDate(D(2024, 4, 10));
    // A double click on 2 May: the first press switches to May, the second selects nothing new.
    doubleClick(4, 6);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 5, 2));
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(signal.count(), 1);
    doubleClick(2, 3);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 5, 7));
    EXPECT_EQ(dbl, 2);
}

TEST(MiniCalMouse, MouseUpIsSilentButEndsTheDrag)
{
    Cal f;
    int ups = 0, downs = 0, clicks = 0;
    f.c.OnMouseUp = [&](QObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    f.c.OnMouseDown = [&](QObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    f.c.OnClick = [&](QObject*) { ++clicks; };
    QSignalSpy upSignal(&f.c, &TMiniCal::mouseUp);
    f.Click(4, 4);
    EXPECT_EQ(std::tuple(downs, ups, upSignal.count(), clicks), std::tuple(1, 0, 0, 1));
    EXPECT_EQ(f.c.GridState(), gsNormal);
    // Hovering afterwards moves neither the grid's current cell nor repaints.
    QSignalSpy current(&f.c, &TMiniCal::currentCellChanged);
    QTest::mouseMove(f.c.viewport(), f.Cell(2, 6).center());
    QTest::mouseMove(f.c.viewport(), f.Cell(6, 3).center());
    EXPECT_EQ(current.count(), 0);
    EXPECT_EQ(std::pair(f.c.Col(), f.c.Row()), std::pair(4, 4));   // the cell of the 18th
}

TEST(MiniCalKeyboard, ArrowsPagesHomeAndEndMoveTheDate)
{
    Cal f(D(2024, 1, 31));
    f.c.setFocus();
    f.Key(Qt::Key_Right);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 2, 1));
    f.Key(Qt::Key_Left);
    f.Key(Qt::Key_Left);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 1, 30));
    f.Key(Qt::Key_Down);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 2, 6));
    f.Key(Qt::Key_Up);
    f.Key(Qt::Key_Up);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 1, 23));
    f.c.SetDate(D(2024, 1, 31));
    f.Key(Qt::Key_PageDown);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 2, 29));
    f.Key(Qt::Key_PageUp);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 1, 29));
    f.Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Ymd(f.c), std::tuple(2025, 1, 29));
    f.Key(Qt::Key_PageUp, Qt::ControlModifier);
    f.Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Ymd(f.c), std::tuple(2023, 1, 29));
    f.Key(Qt::Key_End);
    EXPECT_EQ(Ymd(f.c), std::tuple(2023, 1, 31));
    f.Key(Qt::Key_Home);
    EXPECT_EQ(Ymd(f.c), std::tuple(2023, 1, 1));
    // The grid's own movement does not run underneath: the current cell is the date's.
    EXPECT_EQ(std::pair(f.c.Col(), f.c.Row()), std::pair(7, 2));   // 1 January 2023, a Sunday
    f.c.SetDate(D(9999, 12, 31));
    f.Key(Qt::Key_Right);
    f.Key(Qt::Key_Down);
    EXPECT_EQ(Ymd(f.c), std::tuple(9999, 12, 31));
    f.c.SetDate(D(1, 1, 1));
    f.Key(Qt::Key_Left);
    f.Key(Qt::Key_Home);
    EXPECT_EQ(Ymd(f.c), std::tuple(1, 1, 1));
}

TEST(MiniCalKeyboard, KeysItDoesNotUseGoOnAndOnKeyDownMayTakeAKey)
{
    Cal f;
    QWidget parent;
    struct Sink : QObject {
        int Keys = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::KeyPress)
                ++Keys;
            return false;
        }
    } sink;
    f.c.setParent(&parent);
    parent.installEventFilter(&sink);
    parent.show();
    f.c.setFocus();
    QApplication::processEvents();
    auto reachesParent = [&](int key, Qt::KeyboardModifiers m = Qt::NoModifier) {
        f.Key(Qt::Key_Shift);   // a key nobody takes, after any modifier presses
        const int before = sink.Keys;
        f.Key(key, m);
        return sink.Keys > before;
    };
    EXPECT_TRUE(reachesParent(Qt::Key_Left, Qt::ControlModifier));
    EXPECT_TRUE(reachesParent(Qt::Key_A));
    EXPECT_TRUE(reachesParent(Qt::Key_Escape));
    EXPECT_TRUE(reachesParent(Qt::Key_Tab));
    EXPECT_FALSE(reachesParent(Qt::Key_Left));
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 9));
    f.c.OnKeyDown = [](QObject*, WORD& Key, TShiftState) {
        if (Key == VK_RIGHT)
            Key = 0;
    };
    f.Key(Qt::Key_Right);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 4, 9));
    f.c.setParent(nullptr);
}

TEST(MiniCalMouse, WheelStepsMonthsUnlessAHandlerTakesIt)
{
    Cal f;
    auto wheel = [&](int delta) {
        QWheelEvent e(f.Cell(4, 4).center(), f.c.viewport()->mapToGlobal(f.Cell(4, 4).center()), {}, QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.c.viewport(), &e);
    };
    wheel(-120);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 5, 10));
    wheel(120);
    wheel(120);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 3, 10));
    f.c.OnMouseWheel = [](QObject*, TShiftState, int, QPoint, bool& Handled) { Handled = true; };
    wheel(-120);
    EXPECT_EQ(Ymd(f.c), std::tuple(2024, 3, 10));
}

TEST(MiniCalHint, ToolTipNamesTheHolidayOfTheSelectedDate)
{
    Cal f(D(2024, 12, 25));
    EXPECT_EQ(f.c.Hint(), "Christmas Day");
    EXPECT_EQ(f.c.toolTip(), "Christmas Day");
    f.c.SetDate(D(2024, 12, 27));
    EXPECT_EQ(f.c.Hint(), "");
    f.c.SetDate(D(2024, 3, 31));
    EXPECT_EQ(f.c.Hint(), "Easter Day");
    f.c.SetIndicateHolidays(false);
    EXPECT_EQ(f.c.Hint(), "");
    f.c.SetIndicateHolidays(true);
    // The hint follows the language.
    f.c.SetLanguage(lgGerman);
    EXPECT_EQ(f.c.Hint(), "Ostersonntag");
    // Without ShowHolidayHint the program's own hint stays.
    f.c.SetShowHint(false);
    f.c.SetShowHolidayHint(false);
    EXPECT_EQ(f.c.Hint(), "");
    EXPECT_FALSE(f.c.ShowHint());
    f.c.SetHint(QStringLiteral("Pick a day"));
    f.c.SetDate(D(2024, 12, 25));
    EXPECT_EQ(f.c.Hint(), "Pick a day");
    f.c.SetShowHolidayHint(true);   // ShowHint comes on with it
    EXPECT_TRUE(f.c.ShowHint());
    EXPECT_EQ(f.c.Hint(), "Weihnachten");

    // The tool tip event shows the hint while ShowHint is on.
    auto ask = [&] {
        const QPoint p = f.Cell(4, 4).center();
        QHelpEvent e(QEvent::ToolTip, p, f.c.viewport()->mapToGlobal(p));
        QApplication::sendEvent(f.c.viewport(), &e);
        const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        return shown;
    };
    EXPECT_EQ(ask(), "Weihnachten");
    f.c.SetShowHint(false);
    f.c.SetHint(QStringLiteral("Hidden"));
    EXPECT_NE(ask(), "Hidden");
}

TEST(MiniCalAccessibility, DaysAreATableOfNamedDatesUnderTheMonthAndWeekdays)
{
    Cal f(D(2024, 4, 1));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&f.c);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Table);
    EXPECT_EQ(a->text(QAccessible::Name), "Monday, 1 April 2024, Easter Monday");
    QAccessibleTableInterface* t = a->tableInterface();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(std::pair(t->rowCount(), t->columnCount()), std::pair(6, 7));
    ASSERT_NE(t->caption(), nullptr);
    EXPECT_EQ(t->caption()->text(QAccessible::Name), "April 2024");
    EXPECT_EQ(t->columnDescription(0), "Monday");
    EXPECT_EQ(t->columnDescription(6), "Sunday");
    QAccessibleTableCellInterface* cell = t->cellAt(0, 1)->tableCellInterface();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(t->cellAt(0, 1)->text(QAccessible::Name), "Tuesday, 2 April 2024");
    ASSERT_EQ(cell->columnHeaderCells().size(), 1);
    EXPECT_EQ(cell->columnHeaderCells()[0]->text(QAccessible::Name), "Tuesday");
    EXPECT_EQ(t->cellAt(4, 2)->text(QAccessible::Name), "Wednesday, 1 May 2024");   // no holiday there
    EXPECT_EQ(t->selectedCellCount(), 0);   // the selection is the current cell
    // Cells and headers where the calendar draws them.
    const QPoint tuesday = f.c.viewport()->mapTo(&f.c, f.Cell(2, 2).center());
    EXPECT_EQ(a->childAt(f.c.mapToGlobal(tuesday).x(), f.c.mapToGlobal(tuesday).y()), t->cellAt(0, 1));
    const QPoint header = f.c.viewport()->mapTo(&f.c, f.Cell(2, 1).center());
    EXPECT_EQ(a->childAt(f.c.mapToGlobal(header).x(), f.c.mapToGlobal(header).y()), cell->columnHeaderCells()[0]);
    // The selected day is the current cell, where the reader stands while the calendar has the focus.
    f.c.setFocus();
    QApplication::processEvents();
    ASSERT_NE(a->focusChild(), nullptr);
    EXPECT_EQ(a->focusChild()->text(QAccessible::Name), "Monday, 1 April 2024, Easter Monday");
    EXPECT_TRUE(a->focusChild()->state().focused);

    f.c.SetLanguage(lgGerman);
    f.c.SetFirstDayOfWeek(dwSun);
    EXPECT_EQ(a->text(QAccessible::Name), "Montag, 1. April 2024, Ostermontag");
    EXPECT_EQ(t->columnDescription(0), "Sonntag");
    EXPECT_EQ(t->caption()->text(QAccessible::Name), "April 2024");
    f.c.SetLanguage(lgSpanish);
    EXPECT_EQ(a->text(QAccessible::Name), "lunes, 1 de abril de 2024, Lunes de Pascua");
    f.c.SetLanguage(lgFrench);
    f.c.SetDate(D(2024, 4, 2));
    EXPECT_EQ(a->text(QAccessible::Name), "mardi 2 avril 2024");
    EXPECT_EQ(t->caption()->text(QAccessible::Name), "Avril 2024");   // as the caption shows it
    // A program's name for the calendar comes first; the selected date is the description.
    f.c.setAccessibleName(QStringLiteral("Delivery"));
    EXPECT_EQ(a->text(QAccessible::Name), "Delivery");
    EXPECT_EQ(a->text(QAccessible::Description), "mardi 2 avril 2024");
}

TEST(MiniCalAccessibility, AReaderHearsTheNewDayAndANewMonth)
{
    qortest::EventRecorder rec;
    Cal f(D(2024, 4, 10));
    f.c.setFocus();
    QApplication::processEvents();
    rec.Clear();
    f.Key(Qt::Key_Right);   // 11 April: another cell
    EXPECT_GE(rec.Count(QAccessible::Focus, QStringLiteral("Thursday, 11 April 2024")), 1);
    EXPECT_EQ(rec.Count(QAccessible::NameChanged), 1);
    EXPECT_EQ(rec.Count(QAccessible::TableModelChanged), 0);
    rec.Clear();
    f.c.SetDate(D(2024, 7, 11));   // 11 July 2024 lies in the same cell as 11 April
    EXPECT_EQ(f.c.CellText(4, 3), "11");
    EXPECT_EQ(rec.Count(QAccessible::TableModelChanged), 1);
    EXPECT_GE(rec.Count(QAccessible::Focus, QStringLiteral("Thursday, 11 July 2024")), 1);
    rec.Clear();
    f.c.AddRepeatHoliday(12, 7, QStringLiteral("Fair"));   // the cells of July say more now
    EXPECT_EQ(rec.Count(QAccessible::TableModelChanged), 1);
    f.c.SetColorHolidayBg(clAqua);   // looks only
    EXPECT_EQ(rec.Count(QAccessible::TableModelChanged), 1);
}
