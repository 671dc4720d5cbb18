// The report list under load: a million rows and ten thousand random operations (insert,
// remove, sort, filter, select, check, edit, undo the sort), each checked against a small model
// of what the list must show: cheaply after every step, completely now and then. The run is
// seeded (KORVANE_LOAD_SEED repeats one); the seed is part of every failure message. Debug and
// sanitizer builds run a smaller list (qortest::LoadScale).
#include <gtest/gtest.h>

#include <QOR_replist.h>

#include <QElapsedTimer>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include "load_run.h"
#include "test_support.h"

using namespace qor;

namespace {

// One row as the model knows it. Column 1 holds a word "w" + six digits (Word -1: empty),
// column 2 a number (HasNum false: empty), column 3 a check box.
struct Row {
    int Word = -1;
    int Num = 0;
    bool HasNum = false;
    bool Checked = false;
    bool Selected = false;
    bool Match = false;   // the filter's verdict when it was applied
    std::int64_t Phys = 0;   // place in the unsorted order
};

QString WordText(int w)
{
    return w < 0 ? QString() : QStringLiteral("w%1").arg(w, 6, 10, QLatin1Char('0'));
}

QString NumText(const Row& r)
{
    return r.HasNum ? QString::number(r.Num) : QString();
}

// What the list must show: the rows in display order and the filter.
class Model {
public:
    std::vector<Row> Rows;
    int Shown = -1;   // rows the filter shows, -1 without filter

    int ShownRows() const { return Shown < 0 ? int(Rows.size()) : Shown; }

    void Commit()
    {
        for (std::size_t i = 0; i < Rows.size(); ++i)
            Rows[i].Phys = std::int64_t(i);
    }
    void Insert(int r)
    {
        Commit();
        Rows.insert(Rows.begin() + (r - 1), Row{});
        Commit();
        Shown = -1;
    }
    void Append()
    {
        Row row;
        row.Phys = Rows.empty() ? 0 : std::max_element(Rows.begin(), Rows.end(), ByPhys)->Phys + 1;
        Rows.push_back(row);
        Shown = -1;
    }
    void Remove(int r)
    {
        Rows.erase(Rows.begin() + (r - 1));
        Shown = -1;
    }
    // Stable, as the list sorts: numbers before texts, texts in character order; descending
    // reverses the comparison, not the stability.
    void Sort(int col, bool ascending)
    {
        auto key = [col](const Row& r) -> std::pair<int, std::int64_t> {
            if (col == 1)
                return {1, r.Word};   // all texts; the empty one first
            return r.HasNum ? std::pair<int, std::int64_t>{0, r.Num} : std::pair<int, std::int64_t>{1, 0};
        };
        std::stable_sort(Rows.begin(), Rows.end(), [&](const Row& a, const Row& b) {
            return ascending ? key(a) < key(b) : key(b) < key(a);
        });
        Regroup();
    }
    void UnSort()
    {
        std::sort(Rows.begin(), Rows.end(), ByPhys);
        Regroup();
    }
    // The filter "w" + digits: a word that starts with them.
    void Filter(int digits, int prefix)
    {
        int div = 1;
        for (int i = digits; i < 6; ++i)
            div *= 10;
        Shown = 0;
        for (Row& r : Rows) {
            r.Match = r.Word >= 0 && r.Word / div == prefix;
            Shown += r.Match;
        }
        Regroup();
    }

private:
    static bool ByPhys(const Row& a, const Row& b) { return a.Phys < b.Phys; }
    // While filtered the matching rows come first, each group in its order.
    void Regroup()
    {
        if (Shown >= 0)
            std::stable_partition(Rows.begin(), Rows.end(), [](const Row& r) { return r.Match; });
    }
};

class LoadRun {
public:
    LoadRun(int rows, std::uint32_t seed) : FSeed(seed), FRng(seed)
    {
        FView.resize(400, 300);
        FView.SetNrOfColumns(3);
        FView.SetNrOfRows(rows);
        FView.SetColumnCheckMode(3, cmBox);
        TStringArray* s = FView.Data()->Strings();
        s->SetNotifyChange(false);
        FModel.Rows.resize(std::size_t(rows));
        for (int r = 1; r <= rows; ++r) {
            Row& m = FModel.Rows[std::size_t(r - 1)];
            m.Word = int(FRng() % 1000000);
            m.Num = int(FRng() % 200001) - 100000;
            m.HasNum = true;
            m.Phys = r - 1;
            s->SetString(1, r, WordText(m.Word));
            s->SetString(2, r, NumText(m));
        }
        s->SetNotifyChange(true);
    }

    std::string Where() const { return "seed " + std::to_string(FSeed) + ", step " + std::to_string(FStep); }

    // One random operation, then the cheap check. Returns its name.
    const char* Step(int step)
    {
        FStep = step;
        const int n = int(FModel.Rows.size());
        const int r = 1 + int(FRng() % std::uint32_t(n));
        // Per ten thousand steps: cheap operations on one row mostly, about a hundred inserts and
        // removals (each moves the whole list). The operations that reorder all of it (a second
        // or so each at a million rows) come once every thousand steps (HeavyStep).
        const std::uint32_t pick = FRng() % 10000;
        const char* what;
        if (step % 1000 == 500)
            return HeavyStep(r);
        if (pick < 3400) {
            what = "edit";
            Row& m = FModel.Rows[std::size_t(r - 1)];
            if (FRng() % 2) {
                m.Word = FRng() % 8 ? int(FRng() % 1000000) : -1;
                FView.SetElem(1, r, WordText(m.Word));
            } else {
                m.HasNum = FRng() % 8 != 0;
                m.Num = int(FRng() % 200001) - 100000;
                FView.SetElem(2, r, NumText(m));
            }
        } else if (pick < 6600) {
            what = "select";
            const bool on = FRng() % 2;
            FModel.Rows[std::size_t(r - 1)].Selected = on;
            FView.SetRowSelected(r, on);
        } else if (pick < 6620) {
            what = "select all shown";
            for (int i = 0; i < FModel.ShownRows(); ++i)
                FModel.Rows[std::size_t(i)].Selected = true;
            FView.SelectAllRows();
        } else if (pick < 6640) {
            what = "deselect all";
            for (Row& m : FModel.Rows)
                m.Selected = false;
            FView.DeselectAllRows();
        } else if (pick < 6700) {
            what = "insert";
            FModel.Insert(r);
            EXPECT_EQ(FView.InsertRow(r), r) << Where();
        } else if (pick < 6720) {
            what = "append";
            FModel.Append();
            FView.AddRow();
        } else if (pick < 6780) {
            what = "remove";
            FModel.Remove(r);
            FView.RemoveRow(r);
        } else {
            what = "check";
            const bool on = FRng() % 2;
            FModel.Rows[std::size_t(r - 1)].Checked = on;
            FView.SetElemChecked(3, r, on);
        }
        CheckCheaply(r);
        return what;
    }

    // Sort, filter (sorting or not) and undo the sort in turn, so every run has each.
    const char* HeavyStep(int touched)
    {
        const char* what;
        switch (FStep / 1000 % 5) {
        case 0:
        case 3: {
            what = "sort";
            const int col = 1 + int(FRng() % 2);
            const bool asc = FRng() % 2;
            FModel.Sort(col, asc);
            FView.Sort(col, -1, asc);
            EXPECT_EQ(FView.LastSortColumn(), col) << Where();
            break;
        }
        case 2:
            what = "undo the sort";
            FModel.UnSort();
            FView.UnSort();
            break;
        default: {
            what = "filter";
            const int digits = 1 + int(FRng() % 3);
            int top = 1;
            for (int i = 0; i < digits; ++i)
                top *= 10;
            const int prefix = int(FRng() % std::uint32_t(top));
            const int sortCol = int(FRng() % 3);   // 0: no sort
            const bool asc = FRng() % 2;
            FModel.Shown = -1;   // a new filter starts from the whole list
            if (sortCol > 0)
                FModel.Sort(sortCol, asc);
            FModel.Filter(digits, prefix);
            // Upper case: the filter ignores case.
            FView.FilterAndSort(QStringLiteral("W%1").arg(prefix, digits, 10, QLatin1Char('0')), {1}, true, fmSimple,
                                sortCol, asc);
        }
        }
        CheckCheaply(touched);
        return what;
    }

    // Counts, the row touched and a few random rows.
    void CheckCheaply(int touched)
    {
        ASSERT_EQ(FView.NrOfRows(), int(FModel.Rows.size())) << Where();
        ASSERT_EQ(FView.NrOfShownRows(), FModel.ShownRows()) << Where();
        ASSERT_EQ(FView.Filtered(), FModel.Shown >= 0) << Where();
        const int n = int(FModel.Rows.size());
        CheckRow(std::min(touched, n));
        for (int i = 0; i < 8; ++i)
            CheckRow(1 + int(FRng() % std::uint32_t(n)));
    }

    void CheckAll()
    {
        for (int r = 1; r <= int(FModel.Rows.size()); ++r)
            CheckRow(r);
    }

    // What a paint of a random part of the list draws.
    void PaintSomewhere(int step)
    {
        FView.SetTopRow(1 + int(std::uint32_t(step * 7919) % std::uint32_t(FView.NrOfShownRows())));
        FView.RenderNow();
    }

private:
    void CheckRow(int r)
    {
        const Row& m = FModel.Rows[std::size_t(r - 1)];
        const TStringArray* s = FView.Data()->Strings();
        // The stored cells without building strings: this runs millions of times.
        FText = WordText(m.Word);
        ASSERT_EQ(s->GetStringView(1, r), QStringView(FText)) << Where() << ", row " << r;
        FText = NumText(m);
        ASSERT_EQ(s->GetStringView(2, r), QStringView(FText)) << Where() << ", row " << r;
        ASSERT_EQ(FView.ElemChecked(3, r), m.Checked) << Where() << ", row " << r;
        ASSERT_EQ(FView.RowSelected(r), m.Selected) << Where() << ", row " << r;
    }

    std::uint32_t FSeed;
    std::mt19937 FRng;
    int FStep = 0;
    TReportListView FView;
    Model FModel;
    QString FText;
};

} // namespace

TEST(LoadReportList, MillionRowsUnderRandomOperationsMatchTheModel)
{
    qortest::RunRandomLoad<LoadRun>();
}
