// Report list view and data: the Qt signals that follow the events, the NOTIFY of the
// properties that change by interaction, and the exchanges and progress of sorting, which reach
// handlers and signals alike and are not announced when nobody listens.
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

using Swaps = std::vector<std::pair<int, int>>;

// Wraps a hook of a string array to count the calls that get through to whoever bound it; the
// hook stays heard exactly when it was.
template <class... Args>
struct CallsThrough {
    int Calls = 0;
    explicit CallsThrough(std::function<void(QObject*, Args...)>& Hook)
    {
        const std::function<void(QObject*, Args...)> inner = Hook;
        Hook = THookForwarder<Args...>{[this, inner](QObject* s, Args... a) {
                                           ++Calls;
                                           inner(s, a...);
                                       },
                                       [inner] { return HookHeard(inner); }};
    }
};

template <class Target>
void FillForSorting(Target& t)
{
    t.SetNrOfColumns(2);
    t.SetNrOfRows(400);
    for (int r = 1; r <= 400; ++r) {
        t.SetElem(1, r, QStringLiteral("row-%1").arg((r * 7919) % 97));
        t.SetElem(2, r, QString::number(r % 13));
    }
}

std::vector<int> ShownOrder(TRLData& d)
{
    std::vector<int> order;
    for (int i = 1; i <= d.NrOfRows(); ++i)
        order.push_back(d.Strings()->GetSortOrder(i));
    return order;
}

TEST(RLViewSignals, DataAnnouncesExchangesToAHandlerOrASignalOnly)
{
    TRLData withHandler, withSignal, withNeither;
    for (TRLData* d : {&withHandler, &withSignal, &withNeither})
        FillForSorting(*d);
    Swaps byHandler, bySignal;
    withHandler.OnBeforeSortExchange = [&](QObject* s, int r1, int r2) {
        EXPECT_EQ(s, &withHandler);
        byHandler.emplace_back(r1, r2);
    };
    QObject::connect(&withSignal, &TRLData::beforeSortExchange, [&](int r1, int r2) { bySignal.emplace_back(r1, r2); });
    CallsThrough<int, int> unheard(withNeither.Strings()->OnBeforeSortExchange);
    for (TRLData* d : {&withHandler, &withSignal, &withNeither}) {
        d->Sort(1, 2, false, true);
        d->Sort(2, -1, true);
        d->UnSort();
        d->Sort(1, -1, true);
    }
    EXPECT_FALSE(byHandler.empty());
    EXPECT_EQ(bySignal, byHandler);
    EXPECT_EQ(unheard.Calls, 0);
    EXPECT_EQ(ShownOrder(withNeither), ShownOrder(withHandler));
    EXPECT_EQ(ShownOrder(withSignal), ShownOrder(withHandler));
}

TEST(RLViewSignals, ViewAnnouncesExchangesAndProgressOnlyToListeners)
{
    View withHandler, withSignal, withNeither;
    for (View* f : {&withHandler, &withSignal, &withNeither})
        FillForSorting(f->v);
    Swaps byHandler, bySignal;
    withHandler.v.OnBeforeSortExchange = [&](QObject* s, int r1, int r2) {
        EXPECT_EQ(s, &withHandler.v);
        byHandler.emplace_back(r1, r2);
    };
    QObject::connect(&withSignal.v, &TReportListView::beforeSortExchange,
                     [&](int r1, int r2) { bySignal.emplace_back(r1, r2); });
    QSignalSpy progress(&withSignal.v, &TReportListView::percentDone);
    TStringArray* quiet = withNeither.v.Data()->Strings();
    CallsThrough<int, int> unheardExchanges(quiet->OnBeforeSortExchange);
    CallsThrough<int> unheardProgress(quiet->OnPercentDone);
    for (View* f : {&withHandler, &withSignal, &withNeither}) {
        f->v.Sort(1, 2, false, true);
        f->v.UnSort();
    }
    EXPECT_FALSE(byHandler.empty());
    EXPECT_EQ(bySignal, byHandler);
    QList<int> percents;
    for (const QList<QVariant>& args : progress)
        percents << args.at(0).toInt();
    EXPECT_EQ(percents, (QList<int>{0, 20, 40, 90, 100}));
    EXPECT_EQ(unheardExchanges.Calls, 0);
    EXPECT_EQ(unheardProgress.Calls, 0);
    withHandler.v.Sort(1, 2, false, true);
    withNeither.v.Sort(1, 2, false, true);
    EXPECT_EQ(ShownOrder(*withNeither.v.Data()), ShownOrder(*withHandler.v.Data()));

    // A program's own handler on the view's data listens by itself.
    int own = 0;
    withNeither.v.Data()->OnBeforeSortExchange = [&](QObject*, int, int) { ++own; };
    withNeither.v.Sort(1, -1, true);
    EXPECT_GT(own, 0);
}

} // namespace
