// Report-list files: recognition, XML round trips, hostile texts and failed reads.
#include <gtest/gtest.h>

#include <QOR_replist.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTextStream>

#include <random>

#include "test_support.h"

using namespace qor;

namespace {

const QString Hostile = QStringLiteral("<a href=\"x\">&amp; 'q' </a>\ttab\r\nline\rcr \\u0041 \\ ]]> ") +
                        QString::fromUtf8("грусть 漢字 😀") + QChar(1) + QChar(0x1F) + QChar(0xFFFF);

// A data set with something in every item the file carries.
void MakeSample(TRLData& d)
{
    d.SetNrOfColumns(3);
    d.SetNrOfRows(4);
    d.SetHeader(1, QStringLiteral("Name <&>"));
    d.SetHeader(2, QStringLiteral("Done"));
    d.SetHeader(3, QString());
    d.SetColumnFormat(1, QStringLiteral("[i]rix3"));
    d.SetColumnCheckMode(2, cmBox);
    d.SetColumnCheckMode(3, cmRadio);
    d.SetCommonHeader(QStringLiteral("Common \"header\""));
    d.SetComment(QStringLiteral("multi\r\nline\ncomment"));
    d.SetElem(1, 1, Hostile);
    d.SetElem(0, 2, QStringLiteral("hidden"));
    d.SetElem(2, 2, QStringLiteral("ok"));
    d.SetElemChecked(2, 2, true);
    d.SetElemChecked(3, 4, true);
    d.SetElem(1, 4, QStringLiteral("  padded  "));
}

void ExpectSame(const TRLData& a, const TRLData& b)
{
    ASSERT_EQ(a.NrOfColumns(), b.NrOfColumns());
    ASSERT_EQ(a.NrOfRows(), b.NrOfRows());
    EXPECT_EQ(a.CommonHeader(), b.CommonHeader());
    EXPECT_EQ(a.Comment(), b.Comment());
    for (int c = 1; c <= a.NrOfColumns(); ++c) {
        EXPECT_EQ(a.Header(c), b.Header(c)) << c;
        EXPECT_EQ(a.ColumnFormat(c), b.ColumnFormat(c)) << c;
        EXPECT_EQ(a.ColumnCheckMode(c), b.ColumnCheckMode(c)) << c;
    }
    for (int r = 1; r <= a.NrOfRows(); ++r)
        for (int c = 0; c <= a.NrOfColumns(); ++c)
            EXPECT_EQ(a.RawElem(c, r), b.RawElem(c, r)) << c << "," << r;
}

} // namespace

TEST(RLFiles, RecognitionOfTheRootLine)
{
    auto check = [](const QByteArray& text, const QString& id) {
        QByteArray copy = text;
        QBuffer b(&copy);
        b.open(QIODevice::ReadOnly);
        return CheckIfValidReplist(&b, id);
    };
    const QByteArray upper("<?xml version=\"1.0\"?>\r\n<REPLIST VendRiLex ID=\"  Sales \">\n</REPLIST>\n");
    EXPECT_TRUE(check(upper, QStringLiteral("sales")));
    EXPECT_TRUE(check(upper, QStringLiteral("SALES")));
    EXPECT_TRUE(check(upper, QString()));
    EXPECT_FALSE(check(upper, QStringLiteral("costs")));
    EXPECT_FALSE(check("<replist id=\"x\">vendri\nlex\n", QString()));
    EXPECT_FALSE(check("<replist\n vendrilex id=\"x\">\n", QString()));
    EXPECT_FALSE(check("", QString()));
    EXPECT_TRUE(check("<replist vendrilex>", QString()));
    EXPECT_FALSE(check("<replist vendrilex>", QStringLiteral("x")));

    QByteArray two("junk\n<replist vendrilex id=\"a\">\nmore\n");
    QBuffer b(&two);
    b.open(QIODevice::ReadOnly);
    EXPECT_TRUE(CheckIfValidReplist(&b, QStringLiteral("a")));
    EXPECT_EQ(b.pos(), 32);   // left after the qualifying line

    EXPECT_THROW(CheckIfValidReplist(qortest::ScratchDir() + QStringLiteral("/none.xml"), QString()), EInOutError);
}

TEST(RLFiles, XmlRoundTripKeepsEverything)
{
    TRLData d;
    MakeSample(d);
    const QString file = qortest::ScratchDir() + QStringLiteral("/sample.xml");
    d.SaveAsXMLFile(file, QStringLiteral("Orders"));
    EXPECT_TRUE(CheckIfValidReplist(file, QStringLiteral("orders")));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<replist id=\"Orders\""));

    TRLData back;
    ASSERT_TRUE(back.LoadFromXMLFile(file, QStringLiteral("orders")));
    ExpectSame(d, back);
    EXPECT_EQ(back.DataID(), QStringLiteral("Orders"));
    EXPECT_EQ(back.Elem(1, 1), Hostile);
    EXPECT_TRUE(back.ElemChecked(2, 2));
    EXPECT_TRUE(back.ElemChecked(3, 4));

    TRLData viaString;
    ASSERT_TRUE(viaString.ReadFromXMLString(QString::fromUtf8(bytes), QString()));
    ExpectSame(d, viaString);
}

// An id with characters XML cannot carry (a file written by another program may hold them raw):
// the list keeps the id it can write, and what it writes reads back under that id.
TEST(RLFiles, IdWithControlCharactersReadsBackUnderTheIdItWrites)
{
    const QByteArray file = QByteArray("<replist id=\"sa\x03") + QByteArray(1, '\0')
                            + "mple\" format=\"vendrilex\"><numcols>1</numcols><numrows>1</numrows>"
                              "<cell c=\"1\" r=\"1\">x</cell></replist>";
    TRLData d;
    ASSERT_TRUE(d.ReadFromXMLString(QString::fromUtf8(file), QString()));
    EXPECT_EQ(d.DataID(), QStringLiteral("sample"));
    TRLData copy;
    ASSERT_TRUE(copy.ReadFromXMLString(QString::fromUtf8(d.ToXML(d.DataID())), d.DataID()));
    EXPECT_EQ(copy.Elem(1, 1), QStringLiteral("x"));
}

// Names, formats and cells are held to a number of UTF-16 units; a character made of two units
// that straddles the limit is left out whole, so the file stays valid UTF-8 and reads back as held.
TEST(RLFiles, LengthLimitsNeverKeepHalfACharacter)
{
    const QString wide = QString::fromUtf8("😀");
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(1);
    d.SetColumnCheckMode(2, cmBox);
    d.SetHeader(1, QString(MaxNameLength - 1, QLatin1Char('h')) + wide);
    d.SetColumnFormat(1, QString(MaxColFmtLength - 1, QLatin1Char('f')) + wide);
    d.SetElem(1, 1, QString(TStringArray::MaxCellLength - 1, QLatin1Char('c')) + wide);
    d.SetElem(2, 1, QString(TStringArray::MaxCellLength - 2, QLatin1Char('k')) + wide);   // after the mark
    EXPECT_EQ(d.Header(1), QString(MaxNameLength - 1, QLatin1Char('h')));
    EXPECT_EQ(d.ColumnFormat(1), QString(MaxColFmtLength - 1, QLatin1Char('f')));
    EXPECT_EQ(d.Elem(1, 1), QString(TStringArray::MaxCellLength - 1, QLatin1Char('c')));
    EXPECT_EQ(d.Elem(2, 1), QString(TStringArray::MaxCellLength - 2, QLatin1Char('k')));
    d.SetHeader(2, QString(MaxNameLength - 2, QLatin1Char('h')) + wide);   // fits: kept whole
    EXPECT_EQ(d.Header(2), QString(MaxNameLength - 2, QLatin1Char('h')) + wide);

    const QByteArray xml = d.ToXML(QStringLiteral("limits"));
    auto decode = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decode(xml);
    EXPECT_FALSE(decode.hasError());
    TRLData back;
    ASSERT_TRUE(back.ReadFromXMLString(text, QString()));
    ExpectSame(d, back);

    // A file written elsewhere with a longer name is cut by the same rule when read.
    const QString longName = QString(MaxNameLength - 1, QLatin1Char('n')) + wide + QStringLiteral("tail");
    QString edited = text;
    edited.replace(d.Header(2), longName);
    ASSERT_TRUE(back.ReadFromXMLString(edited, QString()));
    EXPECT_EQ(back.Header(2), QString(MaxNameLength - 1, QLatin1Char('n')));
}

TEST(RLFiles, SortedDataIsWrittenInShownOrder)
{
    TRLData d;
    d.SetNrOfRows(3);
    d.SetElem(1, 1, QStringLiteral("b"));
    d.SetElem(1, 2, QStringLiteral("c"));
    d.SetElem(1, 3, QStringLiteral("a"));
    d.Sort(1, -1, true);
    TRLData back;
    ASSERT_TRUE(back.ReadFromXMLString(QString::fromUtf8(d.ToXML(QString())), QString()));
    EXPECT_EQ(back.Elem(1, 1), QStringLiteral("a"));
    EXPECT_EQ(back.Elem(1, 3), QStringLiteral("c"));
    EXPECT_EQ(back.LastSortColumn(), -1);
}

TEST(RLFiles, EmptyAndColumnlessDataRoundTrip)
{
    TRLData d;
    TRLData back;
    back.SetNrOfRows(5);
    ASSERT_TRUE(back.ReadFromXMLString(QString::fromUtf8(d.ToXML(QString())), QString()));
    EXPECT_EQ(back.NrOfRows(), 0);
    EXPECT_EQ(back.NrOfColumns(), 1);

    TRLData none;
    none.SetNrOfRows(1);
    none.SetElem(0, 1, QStringLiteral("h"));
    none.RemoveColumn(1);
    ASSERT_TRUE(back.ReadFromXMLString(QString::fromUtf8(none.ToXML(QString())), QString()));
    EXPECT_EQ(back.NrOfColumns(), 0);
    EXPECT_EQ(back.Elem(0, 1), QStringLiteral("h"));
}

TEST(RLFiles, StreamsCarrySeveralReportLists)
{
    TRLData a, b;
    a.SetNrOfRows(1);
    a.SetElem(1, 1, QStringLiteral("first"));
    b.SetNrOfRows(2);
    b.SetElem(1, 2, QStringLiteral("second"));
    QByteArray bytes;
    {
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        a.WriteToXMLStream(&out, true, QStringLiteral("A"));
        b.WriteToXMLStream(&out, false, QStringLiteral("B"));
    }
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TRLData r;
    ASSERT_TRUE(r.ReadFromXMLStream(&in, QStringLiteral("a")));
    EXPECT_EQ(r.Elem(1, 1), QStringLiteral("first"));
    ASSERT_TRUE(r.ReadFromXMLStream(&in, QStringLiteral("b")));
    EXPECT_EQ(r.Elem(1, 2), QStringLiteral("second"));
    EXPECT_FALSE(r.ReadFromXMLStream(&in, QString()));   // nothing left
    EXPECT_EQ(r.NrOfRows(), 2);

    QString text;
    {
        QTextStream ts(&text);
        a.WriteToOpenXMLFile(ts, true, QStringLiteral("A"));
    }
    QTextStream ts(&text);
    TRLData t;
    ASSERT_TRUE(t.ReadFromOpenXMLFile(ts, QStringLiteral("A")));
    EXPECT_EQ(t.Elem(1, 1), QStringLiteral("first"));
}

TEST(RLFiles, FailedReadsLeaveTheDataUntouched)
{
    TRLData d;
    MakeSample(d);
    TRLData original;
    original.Assign(&d);
    const QByteArray good = d.ToXML(QStringLiteral("X"));
    const QString goodText = QString::fromUtf8(good);

    QList<QString> bad;
    bad << goodText.left(goodText.size() / 2)                                            // truncated
        << goodText.left(goodText.indexOf(QStringLiteral("</replist>")))                 // no end tag
        << QString(goodText).replace(QStringLiteral("<numrows>4"), QStringLiteral("<numrows>2"))   // cells outside the count
        << QString(goodText).replace(QStringLiteral("<numcols>3"), QStringLiteral("<numcols>999999999"))
        << QString(goodText).replace(QStringLiteral("<numcols>3"), QStringLiteral("<numcols>-3"))
        << QString(goodText).replace(QStringLiteral("<numrows>4</numrows>"), QString())   // count missing
        << QString(goodText).replace(QStringLiteral("c=\"1\" r=\"1\""), QStringLiteral("c=\"1\" r=\"x\""))
        << QString(goodText).replace(QStringLiteral("&lt;"), QStringLiteral("&bogus;"))
        << QString(goodText).replace(QStringLiteral("</cell>"), QStringLiteral("</cel>"))
        << QString(goodText).replace(QStringLiteral(">box<"), QStringLiteral(">maybe<"))
        << QStringLiteral("<replist vendrilex id=\"X\"><numcols>1</numcols><numrows>1</numrows>")
        << QString() << QStringLiteral("not xml at all");
    for (const QString& text : bad) {
        EXPECT_FALSE(d.ReadFromXMLString(text, QString())) << text.left(200).toStdString();
        ExpectSame(original, d);
    }
    EXPECT_FALSE(d.ReadFromXMLString(goodText, QStringLiteral("other")));   // another id
    EXPECT_FALSE(d.LoadFromXMLFile(qortest::ScratchDir() + QStringLiteral("/missing.xml"), QString()));
    ExpectSame(original, d);
    EXPECT_TRUE(d.ReadFromXMLString(goodText, QStringLiteral(" x ")));
}

TEST(RLFiles, ReaderToleratesCommentsUnknownElementsAndCrLf)
{
    const QString text = QStringLiteral(
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- saved by hand -->\r\n"
        "<replist id='Q' format=\"vendrilex\">\r\n<numcols>2</numcols>\r\n<numrows> 1 </numrows>\r\n"
        "<future kind=\"x\"><nested>1</nested><empty/></future>\r\n<extra/>\r\n"
        "<cell c=\"2\" r=\"1\">a&#x263A;&#65;</cell>\r\n</replist>\r\n");
    TRLData d;
    ASSERT_TRUE(d.ReadFromXMLString(text, QStringLiteral("q")));
    EXPECT_EQ(d.Elem(2, 1), QStringLiteral("a\u263A" "A"));
    EXPECT_EQ(d.Header(2), QStringLiteral("C-2"));   // no name in the file: the default

    // What the recognition accepts, the reader loads: tag and attribute names in any case.
    ASSERT_TRUE(d.ReadFromXMLString(QStringLiteral("<REPLIST VendRiLex ID=\"  Sales \">\n<NumCols>1</NumCols>"
                                                   "<NUMROWS>1</NUMROWS><Cell C=\"1\" R=\"1\">v</Cell>\n</REPLIST>\n"),
                                    QStringLiteral("sales")));
    EXPECT_EQ(d.Elem(1, 1), QStringLiteral("v"));
    EXPECT_EQ(d.DataID(), QStringLiteral("Sales"));
}

TEST(RLFiles, FailedSaveKeepsThePreviousFile)
{
    TRLData d;
    d.SetNrOfRows(3000);
    d.Fill(QStringLiteral("v1"));
    const QString dir = qortest::ScratchDir() + QStringLiteral("/atomic");
    QDir().mkpath(dir);
    const QString file = dir + QStringLiteral("/keep.xml");
    d.SaveAsXMLFile(file, QString());
    EXPECT_THROW(d.SaveAsXMLFile(dir + QStringLiteral("/no/such/dir/x.xml"), QString()), EInOutError);
    // A save that breaks off half-way (here: a progress handler that throws) must not leave a
    // half-written file behind.
    d.Fill(QStringLiteral("v2"));
    d.OnPercentDone = [](QObject*, int p) {
        if (p >= 50)
            throw std::runtime_error("cancelled");
    };
    EXPECT_THROW(d.SaveAsXMLFile(file, QString()), std::runtime_error);
    TRLData back;
    ASSERT_TRUE(back.LoadFromXMLFile(file, QString()));
    EXPECT_EQ(back.NrOfRows(), 3000);
    EXPECT_EQ(back.Elem(1, 3000), QStringLiteral("v1"));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList{QStringLiteral("keep.xml")});
}

TEST(RLFiles, ProgressIsReportedWhileWriting)
{
    TRLData d;
    d.SetNrOfColumns(2);
    d.SetNrOfRows(1000);
    d.Fill(QStringLiteral("x"));
    int last = -1, calls = 0;
    d.OnPercentDone = [&](QObject* s, int p) {
        EXPECT_EQ(s, &d);
        EXPECT_GE(p, last);
        last = p;
        ++calls;
    };
    const QByteArray xml = d.ToXML(QString());
    EXPECT_GT(calls, 10);
    EXPECT_EQ(last, 100);

    TRLData reader;
    int readCalls = 0;
    reader.OnPercentDone = [&](QObject* s, int) {
        EXPECT_EQ(s, &reader);   // not the scratch object the file is parsed into
        ++readCalls;
    };
    ASSERT_TRUE(reader.ReadFromXMLString(QString::fromUtf8(xml), QString()));
    EXPECT_GT(readCalls, 0);
}

// Damaged files of every kind: a read either succeeds or leaves the data exactly as it was.
TEST(RLFiles, MutatedFilesNeverCrashOrHalfLoad)
{
    TRLData d;
    MakeSample(d);
    const QByteArray good = d.ToXML(QStringLiteral("M"));
    TRLData original;
    original.Assign(&d);
    std::mt19937 rng(5);
    const char pieces[] = "<>/&;\"'=#x \n\r\\cr0123456789";
    for (int round = 0; round < 3000; ++round) {
        QByteArray bad = good;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const int at = int(rng() % std::uint32_t(bad.size()));
            switch (rng() % 3) {
            case 0: bad[at] = pieces[rng() % (sizeof pieces - 1)]; break;
            case 1: bad.remove(at, 1 + int(rng() % 8)); break;
            default: bad.insert(at, pieces[rng() % (sizeof pieces - 1)]); break;
            }
        }
        TRLData target;
        target.Assign(&original);
        if (!target.ReadFromXMLString(QString::fromUtf8(bad), QString())) {
            ASSERT_EQ(target.NrOfRows(), original.NrOfRows());
            ASSERT_EQ(target.RawElem(1, 1), original.RawElem(1, 1));
            ASSERT_EQ(target.Comment(), original.Comment());
        }
    }
}

// What the library holds and writes, it reads back: no fixed cap below its own capacity.
TEST(RLFiles, WideListsLoadBackAndHostileSizesAreRefusedByContentAndMemory)
{
    TRLData wide;
    wide.SetNrOfColumns(100001);
    wide.SetNrOfRows(2);
    wide.SetElem(100001, 2, QStringLiteral("far right"));
    wide.SetHeader(77777, QStringLiteral("middle"));
    const QString file = qortest::ScratchDir() + QStringLiteral("/wide.xml");
    wide.SaveAsXMLFile(file, QStringLiteral("W"));
    TRLData back;
    ASSERT_TRUE(back.LoadFromXMLFile(file, QStringLiteral("W")));
    EXPECT_EQ(back.NrOfColumns(), 100001);
    EXPECT_EQ(back.Elem(100001, 2), QStringLiteral("far right"));
    EXPECT_EQ(back.Header(77777), QStringLiteral("middle"));

    // A few bytes that claim more than any machine could build fail at once and change nothing.
    auto claim = [](const char* cols, const char* rows) {
        return QStringLiteral("<replist vendrilex id=\"X\"><numcols>%1</numcols><numrows>%2</numrows></replist>")
            .arg(QLatin1String(cols), QLatin1String(rows));
    };
    for (auto [cols, rows] : {std::pair{"90", "2000000000"}, {"1", "2147483647"}, {"1000000000", "1"},
                              {"3000000000", "0"}, {"1000000000000", "1000000000000"}}) {
        EXPECT_FALSE(back.ReadFromXMLString(claim(cols, rows), QString())) << cols << " x " << rows;
        EXPECT_EQ(back.NrOfColumns(), 100001);
    }
    // A plausible claim without cells is a list of empty rows.
    ASSERT_TRUE(back.ReadFromXMLString(claim("3", "50000"), QString()));
    EXPECT_EQ(back.NrOfRows(), 50000);
}

// The writer escapes markup characters in the identifier; recognition and reading undo it.
TEST(RLFiles, IdentifiersWithMarkupCharactersAreRecognisedAsWritten)
{
    TRLData d;
    d.SetNrOfRows(1);
    d.SetElem(1, 1, QStringLiteral("v"));
    const QString file = qortest::ScratchDir() + QStringLiteral("/markup-id.xml");
    for (const QString& id : {QStringLiteral("R&D <lab>"), QStringLiteral("say \"hi\" & 'bye'"),
                              QStringLiteral("tab\there"), QStringLiteral("&amp; literally")}) {
        d.SaveAsXMLFile(file, id);
        EXPECT_TRUE(CheckIfValidReplist(file, id)) << id.toStdString();
        EXPECT_TRUE(CheckIfValidReplist(file, id.toUpper())) << id.toStdString();
        EXPECT_FALSE(CheckIfValidReplist(file, id + QStringLiteral("x"))) << id.toStdString();
        TRLData back;
        EXPECT_TRUE(back.LoadFromXMLFile(file, id)) << id.toStdString();
        EXPECT_EQ(back.DataID(), id.trimmed());
        EXPECT_EQ(back.Elem(1, 1), QStringLiteral("v"));
    }
    // The escaped form itself is not the identifier.
    d.SaveAsXMLFile(file, QStringLiteral("R&D"));
    EXPECT_FALSE(CheckIfValidReplist(file, QStringLiteral("R&amp;D")));
    // Blanks around the identifier count on neither side, as the reader has it.
    d.SaveAsXMLFile(file, QStringLiteral(" id "));
    for (const QString& wanted : {QStringLiteral(" id "), QStringLiteral("id"), QStringLiteral("  ID")}) {
        EXPECT_TRUE(CheckIfValidReplist(file, wanted)) << wanted.toStdString();
        EXPECT_TRUE(TRLData().LoadFromXMLFile(file, wanted)) << wanted.toStdString();
    }
}
