// Report-list text exports: CSV both ways, lines, HTML and the clipboard.
#include <gtest/gtest.h>

#include <QOR_replist.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <climits>

#include "test_support.h"

using namespace qor;

namespace {

QByteArray ReadAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Scratch(const QString& name)
{
    return qortest::ScratchDir() + QLatin1Char('/') + name;
}

} // namespace

TEST(RLText, CsvRoundTripWithHostileTextsForEveryDelimiter)
{
    const QStringList texts = {QStringLiteral("plain"), QStringLiteral("a,b;c|d e\tf"), QStringLiteral("say \"hi\""),
                               QStringLiteral("two\r\nlines\nand\rcr"), QStringLiteral(" padded "),
                               QString::fromUtf8("Ünïcödé 漢字 😀"), QString(), QStringLiteral("\"")};
    TRLData d;
    d.SetNrOfColumns(int(texts.size()));
    d.SetNrOfRows(2);
    for (int c = 1; c <= texts.size(); ++c) {
        d.SetHeader(c, QStringLiteral("H") + texts[c - 1].left(10));
        d.SetElem(c, 1, texts[c - 1]);
        d.SetElem(c, 2, QString::number(c));
    }
    for (TCSVDelimiters delim : {csvComma, csvSemicolon, csvTab, csvSpace, csvBar}) {
        const QString file = Scratch(QStringLiteral("rt%1.csv").arg(int(delim)));
        ASSERT_EQ(d.ExportCSV(file, delim, true, false, 1, 1, d.NrOfColumns(), d.NrOfRows()), 2);
        TRLData back;
        ASSERT_EQ(back.ImportCSV(file, delim, true), 2) << int(delim);
        ASSERT_EQ(back.NrOfColumns(), d.NrOfColumns());
        for (int c = 1; c <= d.NrOfColumns(); ++c) {
            EXPECT_EQ(back.Header(c), d.Header(c)) << int(delim) << " " << c;
            EXPECT_EQ(back.Elem(c, 1), d.Elem(c, 1)) << int(delim) << " " << c;
            EXPECT_EQ(back.Elem(c, 2), d.Elem(c, 2));
        }
    }
}

TEST(RLText, CsvLayoutQuotingAndCheckMarks)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(2);
    d.SetCommonHeader(QStringLiteral("All, of it"));
    d.SetColumnCheckMode(2, cmBox);
    d.SetElem(1, 1, QStringLiteral("a\"b"));
    d.SetElem(2, 1, QStringLiteral("x"));
    d.SetElemChecked(2, 1, true);
    d.SetElem(1, 2, QStringLiteral("c"));
    const QString file = Scratch(QStringLiteral("layout.csv"));
    QStringList offered;
    d.OnExportText = [&](QObject*, QString& line) { offered << line; };
    EXPECT_EQ(d.ExportCSV(file, csvComma, true, true, 1, 1, 5, 9), 2);   // clipped to the data
    EXPECT_EQ(ReadAll(file), QByteArray("\"All, of it\"\r\nC-1,C-2\r\n\"a\"\"b\",x\r\nc,\r\n"));
    EXPECT_EQ(offered.size(), 4);
    EXPECT_EQ(d.ExportCSV(Scratch(QStringLiteral("none/x.csv")), csvComma, true, true, 1, 1, 2, 2), -1);
}

TEST(RLText, CsvImportEdgesAndFailuresKeepData)
{
    const QString file = Scratch(QStringLiteral("in.csv"));
    qortest::WriteFile(file, QByteArray("\xEF\xBB\xBF" "a;b;c\r\n1;\"2;x\"\r\n\r\nlast"));
    TRLData d;
    d.SetComment(QStringLiteral("kept"));
    d.SetNrOfRows(1);
    d.SetRowAttrib(1, rlaSelected);
    EXPECT_EQ(d.ImportCSV(file, csvSemicolon, false), 4);
    EXPECT_EQ(d.NrOfColumns(), 3);
    EXPECT_EQ(d.Elem(1, 1), QStringLiteral("a"));
    EXPECT_EQ(d.Elem(2, 2), QStringLiteral("2;x"));
    EXPECT_TRUE(d.Elem(3, 2).isEmpty());
    EXPECT_TRUE(d.Elem(1, 3).isEmpty());   // an empty line is an empty row
    EXPECT_EQ(d.Elem(1, 4), QStringLiteral("last"));
    EXPECT_EQ(d.RowAttrib(1), 0);
    EXPECT_EQ(d.Comment(), QStringLiteral("kept"));

    qortest::WriteFile(file, QByteArray("x,\"unterminated\nmore"));
    EXPECT_EQ(d.ImportCSV(file, csvComma, false), -2);
    EXPECT_EQ(d.ImportCSV(Scratch(QStringLiteral("missing.csv")), csvComma, false), -1);
    EXPECT_EQ(d.NrOfRows(), 4);
    EXPECT_EQ(d.Elem(2, 2), QStringLiteral("2;x"));

    qortest::WriteFile(file, QByteArray());
    EXPECT_EQ(d.ImportCSV(file, csvComma, true), 0);
    EXPECT_EQ(d.NrOfRows(), 0);
    EXPECT_EQ(d.NrOfColumns(), 1);
}

TEST(RLText, LoadLinesFillsAColumnAndAddsRows)
{
    const QString file = Scratch(QStringLiteral("lines.txt"));
    qortest::WriteFile(file, QByteArray("one\r\ntwo\nthree\rfour\n"));
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(2);
    d.SetColumnCheckMode(2, cmBox);
    d.SetElemChecked(2, 2, true);
    EXPECT_EQ(d.LoadLinesFromFile(2, 2, file), 4);
    EXPECT_EQ(d.NrOfRows(), 5);
    EXPECT_EQ(d.Elem(2, 2), QStringLiteral("one"));
    EXPECT_TRUE(d.ElemChecked(2, 2));
    EXPECT_EQ(d.Elem(2, 5), QStringLiteral("four"));
    EXPECT_EQ(d.LoadLinesFromFile(3, 1, file), -2);
    EXPECT_EQ(d.LoadLinesFromFile(1, 7, file), -2);
    EXPECT_EQ(d.LoadLinesFromFile(1, 1, Scratch(QStringLiteral("nope.txt"))), -1);
    EXPECT_EQ(d.NrOfRows(), 5);
}

TEST(RLText, HtmlTableIsEscapedAndUsesTheHandlerText)
{
    TRLData d;
    d.SetNrOfColumns(3);
    d.SetNrOfRows(2);
    d.SetHeader(1, QStringLiteral("<b>Name</b>"));
    d.SetElem(1, 1, QStringLiteral("<script>alert('x')</script> & \"q\""));
    d.SetElem(2, 1, QStringLiteral("two"));
    d.SetElem(3, 2, QStringLiteral("three"));
    QList<QPair<int, int>> seen;
    d.OnBeforeHTMLExport = [&](QObject* s, QString& text, int c, int r) {
        EXPECT_EQ(s, &d);
        seen << qMakePair(c, r);
        if (c == 2 && r == 1)
            text = QStringLiteral("<i>replaced</i>");
    };
    const QString file = Scratch(QStringLiteral("t.html"));
    d.ExportHTMLTable(file, 1, 1, 3, 2, {3, 1, 9}, 1, 0, 2, true, QStringLiteral("hd\"x"), QStringLiteral("cell"),
                      QString());
    const QString html = QString::fromUtf8(ReadAll(file));
    EXPECT_EQ(html, QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">\n"
        "<tr><th class=\"hd&quot;x\">C-3</th><th class=\"hd&quot;x\">&lt;b&gt;Name&lt;/b&gt;</th></tr>\n"
        "<tr><td class=\"cell\"></td><td class=\"cell\">&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot;</td></tr>\n"
        "<tr><td class=\"cell\">three</td><td class=\"cell\"></td></tr>\n"
        "</table>\n"));
    EXPECT_EQ(seen.first(), qMakePair(3, 0));
    EXPECT_EQ(seen.size(), 6);

    seen.clear();
    d.ExportHTMLTable(file, 2, 1, 2, 1, {}, 0, 0, 0, false, QString(), QString(), QStringLiteral("tbl"));
    EXPECT_EQ(QString::fromUtf8(ReadAll(file)),
              QStringLiteral("<table class=\"tbl\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">\n"
                             "<tr><td>&lt;i&gt;replaced&lt;/i&gt;</td></tr>\n</table>\n"));
    EXPECT_THROW(d.ExportHTMLTable(Scratch(QStringLiteral("no/dir.html")), 1, 1, 1, 1, {}, 0, 0, 0, false, QString(),
                                   QString(), QString()),
                 EInOutError);
}

TEST(RLText, ClipboardWithSeparatorAndFixedWidth)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(2);
    d.SetHeader(1, QStringLiteral("Name"));
    d.SetHeader(2, QStringLiteral("Ok"));
    d.SetColumnCheckMode(2, cmBox);
    d.SetElem(1, 1, QStringLiteral("alpha"));
    d.SetElem(2, 1, QStringLiteral("yes"));
    d.SetElem(1, 2, QStringLiteral("b"));
    d.CopyToClipBoard(1, 1, 2, 2, true, QStringLiteral(";"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Name;Ok\n\nalpha;yes\nb;\n"));
    d.CopyToClipBoard(1, 1, 2, 2, false, true);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("alpha\tyes\nb\t\n"));
    d.CopyToClipBoard(1, 1, 2, 2, true, false);
    // Column 2 is measured on the stored " yes" (4), so its fields are 5 wide.
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("Name  Ok   \n\nalpha yes  \nb          \n"));
}

TEST(RLText, CsvImportTakesAsManyColumnsAsTheFileHolds)
{
    const QString file = Scratch(QStringLiteral("wide.csv"));
    QByteArray wide(100000, ',');   // 100,001 fields
    wide += "last\r\nfirst\r\n";
    qortest::WriteFile(file, wide);
    TRLData d;
    EXPECT_EQ(d.ImportCSV(file, csvComma, false), 2);
    EXPECT_EQ(d.NrOfColumns(), 100001);
    EXPECT_EQ(d.Elem(100001, 1), QStringLiteral("last"));
    EXPECT_EQ(d.Elem(1, 2), QStringLiteral("first"));
}

// A range beyond the data is cut to the data, as the CSV and HTML exports do.
TEST(RLText, ClipboardRangesAreClampedToTheData)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(2);
    d.SetElem(1, 1, QStringLiteral("a"));
    d.SetElem(2, 2, QStringLiteral("b"));
    d.SetElem(0, 1, QStringLiteral("h"));
    EXPECT_EQ(d.ClipboardText(1, 1, 2, INT_MAX, false, QStringLiteral(";")), QStringLiteral("a;\n;b\n"));
    EXPECT_EQ(d.ClipboardText(-3, INT_MIN, INT_MAX, INT_MAX, false, QStringLiteral(";")), QStringLiteral("h;a;\n;;b\n"));
    EXPECT_EQ(d.ClipboardTextFixed(1, 0, 99, INT_MAX, true), QStringLiteral("C-1 C-2 \n\na       \n    b   \n"));
    int lines = 0;
    d.OnExportText = [&](QObject*, QString&) { ++lines; };
    d.CopyToClipBoard(1, 1, INT_MAX, INT_MAX, true, true);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("C-1\tC-2\n\na\t\n\tb\n"));
}

// A file whose first field opens with U+FEFF gets a byte-order mark in front, so that readers,
// which drop a leading mark, keep the character; other files have none.
TEST(RLText, CsvFirstFieldOpeningWithAByteOrderMarkKeepsIt)
{
    const QString file = Scratch(QStringLiteral("feff.csv"));
    const QString zwnbsp(QChar(0xFEFF));
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(1);
    d.SetElem(2, 1, QStringLiteral("x"));
    for (bool header : {false, true}) {
        for (bool listener : {false, true}) {
            SCOPED_TRACE(testing::Message() << header << listener);
            d.OnExportText = listener ? TExportTextEvent([](QObject*, QString&) {}) : TExportTextEvent();
            d.SetHeader(1, header ? zwnbsp + QStringLiteral("H") : QStringLiteral("H"));
            d.SetElem(1, 1, zwnbsp + QStringLiteral("1"));
            ASSERT_EQ(d.ExportCSV(file, csvComma, header, false, 1, 1, 2, 1), 1);
            EXPECT_TRUE(ReadAll(file).startsWith("\xEF\xBB\xBF\xEF\xBB\xBF"));
            TRLData back;
            ASSERT_EQ(back.ImportCSV(file, csvComma, header), 1);
            if (header)
                EXPECT_EQ(back.Header(1), d.Header(1));
            EXPECT_EQ(back.Elem(1, 1), d.Elem(1, 1));
            d.SetElem(1, 1, QStringLiteral("1"));   // no mark to keep: none written
            d.SetHeader(1, QStringLiteral("H"));
            ASSERT_EQ(d.ExportCSV(file, csvComma, header, false, 1, 1, 2, 1), 1);
            EXPECT_FALSE(ReadAll(file).startsWith("\xEF\xBB\xBF"));
        }
    }
    d.OnExportText = TExportTextEvent();
}

// A line with one empty field is written as "" : other readers drop or shorten an empty line,
// and the row would be lost on the way out.
TEST(RLText, CsvLineOfOneEmptyFieldIsQuoted)
{
    const QString file = Scratch(QStringLiteral("one-column.csv"));
    TRLData d;
    d.SetNrOfRows(3);
    d.SetElem(1, 1, QStringLiteral("a"));
    d.SetElem(1, 3, QStringLiteral("b"));
    d.SetHeader(1, QString());
    d.SetCommonHeader(QString());
    for (bool listener : {false, true}) {
        d.OnExportText = listener ? TExportTextEvent([](QObject*, QString&) {}) : TExportTextEvent();
        EXPECT_EQ(d.ExportCSV(file, csvComma, true, true, 1, 1, 1, 3), 3);
        EXPECT_EQ(ReadAll(file), QByteArray("\"\"\r\n\"\"\r\na\r\n\"\"\r\nb\r\n")) << listener;
    }
    TRLData back;
    EXPECT_EQ(back.ImportCSV(file, csvComma, false), 5);
    EXPECT_TRUE(back.Elem(1, 4).isEmpty());
    EXPECT_EQ(back.Elem(1, 5), QStringLiteral("b"));
    // With two columns an empty line cannot occur: empty fields stay bare.
    d.SetNrOfColumns(2);
    EXPECT_EQ(d.ExportCSV(file, csvComma, false, false, 1, 2, 2, 2), 1);
    EXPECT_EQ(ReadAll(file), QByteArray(",\r\n"));
}
