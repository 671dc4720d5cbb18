// Report list view and data: the Qt signals that follow the events, and the NOTIFY of the
// properties that change by interaction.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "test_rlview_support.h"

using namespace qor;
using rlvtest::View;

namespace {

TEST(RLViewSignals, EventsAreFollowedByTheirSignals)
{
    View f;
    f.v.SetNrOfRows(30);
    f.v.SetColumnCheckMode(1, cmBox);
    for (int r = 1; r <= 30; ++r)
        f.v.SetElem(2, r, QString::number(31 - r));
    QStringList order;
    f.v.OnCheckedChange = [&](QObject*, bool&, int, int) { order << QStringLiteral("OnCheckedChange"); };
    QObject::connect(&f.v, &TReportListView::checkedChanged, [&](int, int) { order << QStringLiteral("checkedChanged"); });
    QSignalSpy checked(&f.v, &TReportListView::checkedChanged);
    QSignalSpy selected(&f.v, &TReportListView::selectedChanged);
    QSignalSpy changed(&f.v, &TReportListView::changed);
    QSignalSpy setup(&f.v, &TReportListView::changeSetup);
    QSignalSpy keys(&f.v, &TReportListView::cursorKeyAction);

    const QRect box = f.Cell(0, 2);
    f.Click(QPoint(box.left() + 5, box.center().y()));   // the check box of data row 2
    ASSERT_EQ(checked.count(), 1);
    EXPECT_EQ(checked.at(0), QVariantList({1, 2}));
    EXPECT_EQ(order, QStringList({"OnCheckedChange", "checkedChanged"}));
    EXPECT_GE(selected.count(), 1);
    EXPECT_GE(changed.count(), 1);
    f.v.SetColorHigh(clRed);
    EXPECT_EQ(setup.count(), 1);
    f.Key(Qt::Key_Down);
    EXPECT_GE(keys.count(), 1);
}

TEST(RLViewSignals, SortAndScrollingNotifyTheirProperties)
{
    View f(400, 120);
    f.v.SetNrOfRows(40);
    for (int r = 1; r <= 40; ++r)
        f.v.SetElem(1, r, QStringLiteral("%1").arg(41 - r, 2, 10, QLatin1Char('0')));
    QSignalSpy sorted(&f.v, &TReportListView::sortChanged);
    QSignalSpy scrolled(&f.v, &TReportListView::topLeftChanged);
    f.v.Sort(1, -1, true);
    f.v.Sort(1, -1, true);   // the same sort again: nothing to report
    EXPECT_EQ(sorted.count(), 1);
    EXPECT_EQ(f.v.property("LastSortColumn").toInt(), 1);
    f.v.Sort(1, -1, false);
    EXPECT_EQ(sorted.count(), 2);
    f.v.UnSort();
    EXPECT_EQ(sorted.count(), 3);
    f.v.setTopRow(10);
    EXPECT_EQ(scrolled.count(), 1);
    EXPECT_EQ(f.v.TopRow(), 10);
    f.v.setTopRow(10);
    EXPECT_EQ(scrolled.count(), 1);
    const QMetaProperty top = f.v.metaObject()->property(f.v.metaObject()->indexOfProperty("TopRow"));
    EXPECT_TRUE(top.hasNotifySignal());
}

TEST(RLViewSignals, ProgressOfTheDataReachesBothSignals)
{
    TRLData data;
    data.SetNrOfColumns(1);
    data.SetNrOfRows(5000);
    for (int r = 1; r <= 5000; ++r)
        data.SetElem(1, r, QString::number((r * 7919) % 5000));
    QSignalSpy exchanged(&data, &TRLData::beforeSortExchange);
    data.OnBeforeSortExchange = [](QObject*, int, int) {};
    data.Sort(1, -1, true);
    EXPECT_GT(exchanged.count(), 0);

    TRLData loaded;
    QSignalSpy percent(&loaded, &TRLData::percentDone);
    int handled = 0;
    loaded.OnPercentDone = [&](QObject*, int) { ++handled; };
    ASSERT_TRUE(loaded.ReadFromXMLString(QString::fromUtf8(data.ToXML(QString())), QString()));
    EXPECT_GT(percent.count(), 0);
    EXPECT_EQ(percent.count(), handled);
}

} // namespace
