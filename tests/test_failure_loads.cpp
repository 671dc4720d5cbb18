// Loads of a file cut short at every byte: the report-list file read from a file, a string and
// a stream, into the data and into the view, and the CSV file. A cut file either fails and
// leaves what was held bit-identical, or (cut after the end tag) loads the whole list. The table
// editor's clipboard text cut at every byte changes only the cells the cut text names.
#include <gtest/gtest.h>

#include <QOR_ntabed.h>
#include <QOR_replist.h>

#include <QApplication>
#include <QClipboard>

#include <QBuffer>
#include <QFile>

#include <cstring>
#include <functional>
#include <map>
#include <utility>

#include "held_list.h"
#include "test_support.h"

using namespace qor;
using qortest::HeldList;

namespace {

// A small list with something in everything the file carries.
void Source(TRLData& d)
{
    d.SetNrOfColumns(3);
    d.SetNrOfRows(3);
    d.SetHeader(1, QStringLiteral("Name & <more>"));
    d.SetColumnFormat(1, QStringLiteral("[i]rix3"));
    d.SetColumnCheckMode(2, cmBox);
    d.SetColumnCheckMode(3, cmRadio);
    d.SetCommonHeader(QStringLiteral("Common"));
    d.SetComment(QStringLiteral("line\r\nbreak"));
    d.SetElem(0, 1, QStringLiteral("hidden"));
    d.SetElem(1, 1, QStringLiteral("tab\there \\ \u00e9\u6f22"));
    d.SetElem(1, 2, QStringLiteral("  padded  "));
    d.SetElemChecked(2, 2, true);
    d.SetElemChecked(3, 3, true);
}

// What a load replaces: other content, selected and disabled rows, a sort.
void Held(TRLData& d)
{
    d.SetNrOfColumns(2);
    d.SetNrOfRows(4);
    d.SetDataID(QStringLiteral("list"));
    d.SetComment(QStringLiteral("held"));
    for (int r = 1; r <= 4; ++r)
        d.SetElem(1, r, QString::number(5 - r));
    d.SetRowAttrib(2, rlaSelected);
    d.SetRowAttrib(3, rlaDisabled);
    d.Sort(1, -1, true);
}

using Loader = std::function<bool(TRLData&, const QByteArray&)>;

struct NamedLoader {
    const char* Name;
    Loader Load;
};

const NamedLoader Loaders[] = {
    {"file", [](TRLData& d, const QByteArray& b) {
         return d.LoadFromXMLFile(qortest::WriteFile(qortest::ScratchDir() + QStringLiteral("/cut.xml"), b), QStringLiteral("list"));
     }},
    {"string", [](TRLData& d, const QByteArray& b) { return d.ReadFromXMLString(QString::fromUtf8(b), QStringLiteral("list")); }},
    {"stream", [](TRLData& d, const QByteArray& b) {
         QBuffer buffer;
         buffer.setData(b);
         buffer.open(QIODevice::ReadOnly);
         return d.ReadFromXMLStream(&buffer, QStringLiteral("list"));
     }},
};

} // namespace

TEST(FailureLoads, ReportListCutAtEveryByteLoadsWholeOrNotAtAll)
{
    TRLData source;
    Source(source);
    const QByteArray whole = source.ToXML(QStringLiteral("list"));
    const qsizetype complete = whole.indexOf("</replist>") + qsizetype(sizeof "</replist>") - 1;
    ASSERT_GT(complete, 100);
    TRLData held;
    Held(held);
    const HeldList before(held);
    int cuts = 0, wholeLoads = 0;
    for (const NamedLoader& loader : Loaders) {
        SCOPED_TRACE(loader.Name);
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            TRLData target;
            Held(target);
            const bool ok = loader.Load(target, whole.left(cut));
            ++cuts;
            if (cut < complete) {
                ASSERT_FALSE(ok) << "a file cut at byte " << cut << " loaded";
                ASSERT_TRUE(HeldList(target) == before) << "cut at byte " << cut;
            } else {
                ASSERT_TRUE(ok) << "cut at byte " << cut;
                EXPECT_EQ(target.ToXML(QStringLiteral("list")), whole);
                ++wholeLoads;
            }
        }
    }
    RecordProperty("cuts", cuts);
    RecordProperty("whole_loads", wholeLoads);
    RecordProperty("file_bytes", int(whole.size()));
}

// The view shows what its data holds: after a failed load neither changed.
TEST(FailureLoads, ViewKeepsItsStateThroughEveryCut)
{
    TRLData source;
    Source(source);
    const QByteArray whole = source.ToXML(QString());
    TReportListView view;
    view.resize(300, 200);
    Held(*view.Data());
    view.SyncWithData();
    view.SetRowSelected(1, true);
    view.FilterAndSort(QStringLiteral("1"), {}, true, fmSimple, 0, true);
    ASSERT_TRUE(view.Filtered());
    const HeldList before(*view.Data());
    const int shown = view.NrOfShownRows(), gridRows = view.RowCount(), gridCols = view.ColCount();
    const QImage picture = [&] {
        view.RenderNow();
        return view.Surface()->Image().copy();
    }();
    const QString file = qortest::ScratchDir() + QStringLiteral("/view-cut.xml");
    for (qsizetype cut = 0; cut < whole.indexOf("</replist>"); ++cut) {
        ASSERT_FALSE(view.LoadFromXMLFile(qortest::WriteFile(file, whole.left(cut)), QString())) << cut;
        ASSERT_TRUE(HeldList(*view.Data()) == before) << cut;
        ASSERT_EQ(view.NrOfShownRows(), shown);
        ASSERT_TRUE(view.Filtered());
        ASSERT_EQ(view.RowCount(), gridRows);
        ASSERT_EQ(view.ColCount(), gridCols);
    }
    view.RenderNow();
    EXPECT_EQ(view.Surface()->Image(), picture);
}

// A CSV file cut inside a quoted field is malformed and changes nothing; cut anywhere else it
// holds fewer records, each as the whole file has it.
TEST(FailureLoads, CsvCutAtEveryByteImportsWhatItHoldsOrNothing)
{
    const QByteArray whole = "name;qty;note\r\n\"Ann; B\";12;\"say \"\"hi\"\"\"\r\n\"multi\nline\";3;x\r\nlast;4;\"end\"\r\n";
    const QString file = qortest::ScratchDir() + QStringLiteral("/cut.csv");
    TRLData full;
    ASSERT_EQ(full.ImportCSV(qortest::WriteFile(file, whole), csvSemicolon, true), 3);
    TRLData held;
    Held(held);
    const HeldList before(held);
    int refused = 0;
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        TRLData target;
        Held(target);
        const int rows = target.ImportCSV(qortest::WriteFile(file, whole.left(cut)), csvSemicolon, true);
        if (rows < 0) {
            ASSERT_EQ(rows, -2) << cut;
            ASSERT_TRUE(HeldList(target) == before) << cut;
            ++refused;
            continue;
        }
        ASSERT_LE(rows, 3) << cut;
        // Every record but the last one read is whole.
        for (int r = 1; r < rows; ++r)
            for (int c = 1; c <= 3; ++c)
                ASSERT_EQ(target.Elem(c, r), full.Elem(c, r)) << cut;
    }
    EXPECT_GT(refused, 10);
    RecordProperty("refused_cuts", refused);
}

namespace {

// The bits of a value, so that -0 and 0 (and any rounding) tell apart.
qint64 Bits(double v)
{
    qint64 b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Everything of a table editor but its cells, and every cell's value bits and state.
struct HeldTable {
    QByteArray Frame;
    std::map<std::pair<int, int>, std::pair<qint64, int>> Cells;   // (col, row) -> (bits, state)

    explicit HeldTable(const TNTabEd& e)
    {
        Frame = QByteArray::number(e.NrOfColumns()) + 'x' + QByteArray::number(e.NrOfRows()) + e.Comment().toUtf8();
        for (int c = 1; c <= e.NrOfColumns(); ++c)
            Frame += e.ColName(c).toUtf8() + '|' + QByteArray::number(e.ColAttrib(c)) + '|' + QByteArray::number(e.Precision(c));
        for (int r = 1; r <= e.NrOfRows(); ++r) {
            Frame += e.RowName(r).toUtf8() + '|' + QByteArray::number(e.RowAttrib(r));
            for (int c = 1; c <= e.NrOfColumns(); ++c)
                Cells[{c, r}] = {Bits(e.Elem(c, r)), e.CellState(c, r)};
        }
    }
};

// A table with values of every kind, a lock, marks, empty and invalid cells, and a range.
void HeldEditor(TNTabEd& e)
{
    e.Redimension(5, 6);
    e.SetVRangeLow(-1000);
    e.SetVRangeHigh(1000);
    for (int r = 1; r <= 6; ++r)
        for (int c = 1; c <= 5; ++c) {
            e.SetElem(c, r, (c - 3) * 7.25 + r / 3.0);
            e.SetCellState(c, r, std::uint8_t((c * r) % 4 == 0 ? csMarkedA : 0));
        }
    e.SetElem(4, 2, -0.0);
    e.SetCellState(4, 3, csLocked);
    e.SetCellState(2, 5, csEmpty);
    e.SetCellState(5, 5, csInvalid | csMarkedB);
    e.SetColName(2, QStringLiteral("two"));
    e.SetComment(QStringLiteral("held"));
}

} // namespace

// The editor's own copy output, cut at every byte and extracted at a cell: the cells the cut
// text names take its numbers (held to the range, flags 1 and 2 cleared), locked cells and
// every other cell, heading and setting stay bit-identical; a cut without a number changes
// nothing and reports it.
TEST(FailureLoads, TableEditorClipboardCutAtEveryByteChangesOnlyWhatItNames)
{
    TNTabEd source;
    source.Redimension(4, 3);
    const double values[] = {1.5, -2e-7, 123456789.125, 0.0, -0.0, 1e300, 3.0, -4.75, 1.0 / 3, 9e9, 42, -1};
    for (int i = 0; i < 12; ++i)
        source.SetElem(i % 4 + 1, i / 4 + 1, values[i]);
    source.SetCellState(2, 2, csEmpty);   // copied as "####"
    source.SelectAllCells();
    source.CopySelection();
    const QString whole = QGuiApplication::clipboard()->text();
    ASSERT_GT(whole.size(), 60);
    const int anchorCol = 2, anchorRow = 2;   // data indices

    TNTabEd probe;
    HeldEditor(probe);
    const HeldTable before(probe);
    int unchanged = 0;
    for (qsizetype cut = 0; cut <= whole.size(); ++cut) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut));
        const QString text = whole.left(cut);
        TNTabEd e;
        HeldEditor(e);
        const int gc = anchorCol + (e.AttribRowVisible() ? 1 : 0), gr = anchorRow + (e.AttribColVisible() ? 1 : 0);
        e.SetSelection(TGridRect{gc, gr, gc, gr});
        QGuiApplication::clipboard()->setText(text);
        // What the cut text names: the numbers as the scan reads them.
        std::map<std::pair<int, int>, double> named;
        ScanClipNumbers(text, [&](int c, int r, double v) { named[{anchorCol + c, anchorRow + r}] = v; });
        const bool extracted = e.ExtractFromClipboard();
        ASSERT_EQ(extracted, !named.empty());
        const HeldTable after(e);
        ASSERT_EQ(after.Frame, before.Frame);
        for (const auto& [cell, held] : before.Cells) {
            const auto it = named.find(cell);
            if (it == named.end() || (held.second & csLocked)) {
                ASSERT_EQ(after.Cells.at(cell), held) << "cell " << cell.first << ":" << cell.second;
                continue;
            }
            const std::pair<qint64, int> stored{Bits(e.ClampToRange(it->second)), held.second & ~(csInvalid | csEmpty)};
            ASSERT_EQ(after.Cells.at(cell), stored) << "cell " << cell.first << ":" << cell.second;
        }
        unchanged += !extracted;
    }
    RecordProperty("cuts", int(whole.size()) + 1);
    RecordProperty("cuts_without_number", unchanged);
    EXPECT_GE(unchanged, 1);
}
