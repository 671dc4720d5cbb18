// The table editor under load: a million rows and ten thousand random operations (edit, state,
// mark, name, extract, copy and paste, insert, remove, fill the marked cells, sort, mirror), each
// checked against a small model of what the table must hold: cheaply after every step,
// completely now and then. The run is seeded (KORVANE_LOAD_SEED repeats one); the seed is part
// of every failure message. Debug and sanitizer builds run a smaller table (qortest::LoadScale).
#include <gtest/gtest.h>

#include <QOR_ntabed.h>

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "load_run.h"
#include "test_support.h"

using namespace qor;

namespace {

constexpr int Cols = 3;

// One row as the model knows it; Name -1 is the empty name, n the name "r<n>".
struct Row {
    std::array<double, Cols> Value{};
    std::array<std::uint8_t, Cols> State{csEmpty, csEmpty, csEmpty};
    int Name = -1;
    std::uint8_t Attrib = 0;
};

QString NameText(int n)
{
    return n < 0 ? QString() : QStringLiteral("r%1").arg(n);
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A stored number: flags 1 and 2 go, lock and marks stay.
void Store(Row& row, int c, double v)
{
    row.Value[size_t(c - 1)] = v;
    row.State[size_t(c - 1)] &= std::uint8_t(~(csInvalid | csEmpty));
}

bool Locked(const Row& row, int c)
{
    return row.State[size_t(c - 1)] & csLocked;
}

class LoadRun {
public:
    LoadRun(int rows, std::uint32_t seed) : FSeed(seed), FRng(seed)
    {
        FEditor.resize(400, 300);
        FEditor.SetSuppressPaint(true);
        FEditor.Redimension(Cols, rows);
        FModel.resize(std::size_t(rows));
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= Cols; ++c) {
                const double v = RandomValue();
                FEditor.SetElem(c, r, v);
                Store(FModel[std::size_t(r - 1)], c, v);
            }
        FEditor.SetSuppressPaint(false);
    }

    std::string Where() const { return "seed " + std::to_string(FSeed) + ", step " + std::to_string(FStep); }

    // One random operation, then the cheap check. Returns its name.
    const char* Step(int step)
    {
        FStep = step;
        const int n = int(FModel.size());
        const int r = 1 + int(FRng() % std::uint32_t(n));
        const int c = 1 + int(FRng() % Cols);
        Row& row = FModel[std::size_t(r - 1)];
        // The operations that move every row come once every five hundred steps; inserts and
        // removals (each moves the whole table) about a hundred times in ten thousand.
        if (step % 500 == 250)
            return HeavyStep(r);
        const std::uint32_t pick = FRng() % 10000;
        const char* what;
        if (pick < 3500) {
            what = "edit";
            const double v = RandomValue();
            FEditor.SetElem(c, r, v);
            Store(row, c, v);
        } else if (pick < 5000) {
            what = "state";
            static constexpr std::uint8_t states[] = {0, csInvalid, csEmpty, csLocked, csMarkedA, csMarkedB,
                                                      csLocked | csMarkedB, csInvalid | csMarkedA};
            const std::uint8_t s = states[FRng() % std::size(states)];
            FEditor.SetCellState(c, r, s);
            row.State[size_t(c - 1)] = s;
        } else if (pick < 6000) {
            what = "mark";
            const bool on = FRng() % 2;
            FEditor.SetElemMarkedB(c, r, on);
            row.State[size_t(c - 1)] = std::uint8_t(on ? row.State[size_t(c - 1)] | csMarkedB
                                                       : row.State[size_t(c - 1)] & ~csMarkedB);
        } else if (pick < 7000) {
            what = "row heading";
            row.Name = FRng() % 8 ? int(FRng() % 100000) : -1;
            row.Attrib = std::uint8_t(FRng());
            FEditor.SetRowName(r, NameText(row.Name));
            FEditor.SetRowAttrib(r, row.Attrib);
        } else if (pick < 7500) {
            what = "extract";
            Extract(c, r);
        } else if (pick < 8000) {
            what = "copy and paste";
            CopyAndPaste(c, r);
        } else if (pick < 8100) {
            what = "insert";
            FEditor.InsertRow(r);
            FModel.insert(FModel.begin() + (r - 1), Row{});
        } else if (pick < 8200 && n > 1) {
            what = "remove";
            FEditor.RemoveRow(r);
            FModel.erase(FModel.begin() + (r - 1));
        } else if (pick < 8220) {
            what = "fill marked";
            const double v = RandomValue();
            int filled = 0;
            for (Row& m : FModel)
                for (int k = 1; k <= Cols; ++k)
                    if ((m.State[size_t(k - 1)] & csMarkedB) && !Locked(m, k)) {
                        Store(m, k, v);
                        ++filled;
                    }
            EXPECT_EQ(FEditor.FillMarkedCells(v, csMarkedB), filled) << Where();
        } else {
            what = "edit";
            const double v = RandomValue();
            FEditor.SetElem(c, r, v);
            Store(FModel[std::size_t(r - 1)], c, v);
        }
        CheckCheaply(std::min(r, int(FModel.size())));
        return what;
    }

    // Sort every row by a column, or mirror the rows; names and attributes move with them.
    const char* HeavyStep(int touched)
    {
        const char* what;
        const int n = int(FModel.size());
        if (FStep / 500 % 3 == 2) {
            what = "mirror";
            FEditor.MirrorRows();
            std::reverse(FModel.begin(), FModel.end());
        } else {
            what = "sort";
            const int key = 1 + int(FRng() % Cols);
            const bool up = FRng() % 2;
            FEditor.SortRows(key, up, 1, 1, Cols, n, true);
            // Numbers first in the asked direction, then the cells without a number; equal keys
            // keep their order.
            const auto number = [key](const Row& m) { return (m.State[size_t(key - 1)] & (csInvalid | csEmpty)) == 0; };
            std::stable_sort(FModel.begin(), FModel.end(), [&](const Row& a, const Row& b) {
                if (number(a) != number(b))
                    return number(a);
                if (!number(a))
                    return false;
                const double x = a.Value[size_t(key - 1)], y = b.Value[size_t(key - 1)];
                return up ? x < y : y < x;
            });
        }
        CheckCheaply(touched);
        return what;
    }

    // Counts, the row touched and a few random rows.
    void CheckCheaply(int touched)
    {
        ASSERT_EQ(FEditor.NrOfRows(), int(FModel.size())) << Where();
        ASSERT_EQ(FEditor.NrOfColumns(), Cols) << Where();
        ASSERT_EQ(FEditor.RowCount(), int(FModel.size()) + (FEditor.AttribColVisible() ? 2 : 1)) << Where();
        const int n = int(FModel.size());
        CheckRow(std::min(touched, n));
        for (int i = 0; i < 8; ++i)
            CheckRow(1 + int(FRng() % std::uint32_t(n)));
    }

    void CheckAll()
    {
        for (int r = 1; r <= int(FModel.size()); ++r)
            CheckRow(r);
    }

    // What a paint of a random part of the table draws.
    void PaintSomewhere(int step)
    {
        FEditor.SetTopRow(1 + int(std::uint32_t(step * 7919) % std::uint32_t(FEditor.NrOfRows())));
        FEditor.RenderNow();
    }

private:
    double RandomValue() { return double(std::int64_t(FRng() % 2000001) - 1000000) / 8.0; }

    void SelectCell(int c, int r)
    {
        const int gc = c + (FEditor.AttribRowVisible() ? 1 : 0), gr = r + (FEditor.AttribColVisible() ? 1 : 0);
        FEditor.SetSelection(TGridRect{gc, gr, gc, gr});
    }

    // Two lines of two numbers from the clipboard at (c, r): cells past the table's edge and
    // locked ones are left out.
    void Extract(int c, int r)
    {
        std::array<double, 4> v{};
        for (double& x : v)
            x = RandomValue();
        QGuiApplication::clipboard()->setText(QStringLiteral("%1\t%2\r\n%3\t%4\r\n")
                                                  .arg(v[0], 0, 'g', 17)
                                                  .arg(v[1], 0, 'g', 17)
                                                  .arg(v[2], 0, 'g', 17)
                                                  .arg(v[3], 0, 'g', 17));
        SelectCell(c, r);
        ASSERT_TRUE(FEditor.ExtractFromClipboard()) << Where();
        for (int i = 0; i < 4; ++i) {
            const int cc = c + i % 2, rr = r + i / 2;
            if (cc <= Cols && rr <= int(FModel.size()) && !Locked(FModel[std::size_t(rr - 1)], cc))
                Store(FModel[std::size_t(rr - 1)], cc, v[size_t(i)]);
        }
    }

    // A block of up to 2 x 3 cells copied at (c, r) and pasted at another random cell: values
    // and states, locked cells of the target left out.
    void CopyAndPaste(int c, int r)
    {
        const int n = int(FModel.size());
        const int right = std::min(Cols, c + 1), bottom = std::min(n, r + 2);
        std::vector<Row> block(FModel.begin() + (r - 1), FModel.begin() + bottom);
        const int gc = c + (FEditor.AttribRowVisible() ? 1 : 0), gr = r + (FEditor.AttribColVisible() ? 1 : 0);
        FEditor.SetSelection(TGridRect{gc, gr, gc + right - c, gr + bottom - r});
        FEditor.CopySelection();
        const int tc = 1 + int(FRng() % Cols), tr = 1 + int(FRng() % std::uint32_t(n));
        SelectCell(tc, tr);
        ASSERT_TRUE(FEditor.PasteCopy()) << Where();
        for (int y = 0; y <= bottom - r && tr + y <= n; ++y)
            for (int x = 0; x <= right - c && tc + x <= Cols; ++x) {
                Row& target = FModel[std::size_t(tr + y - 1)];
                if (Locked(target, tc + x))
                    continue;
                target.Value[size_t(tc + x - 1)] = block[size_t(y)].Value[size_t(c + x - 1)];
                target.State[size_t(tc + x - 1)] = block[size_t(y)].State[size_t(c + x - 1)];
            }
    }

    void CheckRow(int r)
    {
        const Row& m = FModel[std::size_t(r - 1)];
        for (int c = 1; c <= Cols; ++c) {
            ASSERT_TRUE(SameBits(FEditor.Elem(c, r), m.Value[size_t(c - 1)]))
                << Where() << ", cell " << c << ":" << r << " holds " << FEditor.Elem(c, r) << ", not "
                << m.Value[size_t(c - 1)];
            ASSERT_EQ(FEditor.CellState(c, r), m.State[size_t(c - 1)]) << Where() << ", cell " << c << ":" << r;
        }
        ASSERT_EQ(FEditor.RowAttrib(r), m.Attrib) << Where() << ", row " << r;
        if (m.Name >= 0 || !FEditor.RowName(r).isEmpty())
            ASSERT_EQ(FEditor.RowName(r), NameText(m.Name)) << Where() << ", row " << r;
    }

    std::uint32_t FSeed;
    std::mt19937 FRng;
    int FStep = 0;
    TNTabEd FEditor;
    std::vector<Row> FModel;
};

} // namespace

TEST(LoadTableEditor, MillionRowsUnderRandomOperationsMatchTheModel)
{
    qortest::RunRandomLoad<LoadRun>();
}
