// String, file-system, stream and number helpers of the base and math packages.
#include <gtest/gtest.h>

#include <QOR_filesys.h>
#include <QOR_math1.h>
#include <QOR_matrix.h>
#include <QOR_streams.h>
#include <QOR_stringl.h>

#include <QBuffer>
#include <QDir>
#include <QSet>

#include "test_support.h"

using namespace qor;

TEST(StringUtils, TokenizeSkipsRunsOfDelimiters)
{
    TOpenStringArray parts;
    EXPECT_EQ(Tokenize(QStringLiteral(",a,,b;c,"), QStringLiteral(",;"), parts), 3);
    EXPECT_EQ(parts, (QStringList{u"a"_qs, u"b"_qs, u"c"_qs}));
    EXPECT_EQ(Tokenize(QString(), QStringLiteral(","), parts), 0);
    EXPECT_TRUE(parts.isEmpty());
}

TEST(StringUtils, NumberedPosFindsTheNthOccurrence)
{
    const QString s = QStringLiteral("id=\" Sales \" x=\"y\"");
    EXPECT_EQ(NumberedPos(QStringLiteral("\""), s, 1, 2, false), 12);
    EXPECT_EQ(NumberedPos(QStringLiteral("\""), s, 5, 1, false), 12);
    EXPECT_EQ(NumberedPos(QStringLiteral("\""), s, 1, 9, false), 0);
    EXPECT_EQ(NumberedPos(QStringLiteral("SALES"), s, 1, 1, true), 6);
    EXPECT_EQ(NumberedPos(QStringLiteral("aa"), QStringLiteral("aaaa"), 1, 2, false), 3);   // no overlap
    EXPECT_EQ(NumberedPos(QString(), s, 1, 1, false), 0);
}

TEST(StringUtils, SmallTransformations)
{
    EXPECT_EQ(ReplaceCharInString(QStringLiteral("a.b.c"), QLatin1Char('.'), QLatin1Char(',')), QStringLiteral("a,b,c"));
    EXPECT_EQ(EnsureTrailingChar(QStringLiteral("x"), QLatin1Char(';')), QStringLiteral("x;"));
    EXPECT_EQ(EnsureTrailingChar(QStringLiteral("x;"), QLatin1Char(';')), QStringLiteral("x;"));
    EXPECT_EQ(EnsureTrailingBkSlash(QStringLiteral("/tmp")), QStringLiteral("/tmp") + QDir::separator());
    EXPECT_EQ(StripLeadingChars(QStringLiteral("00120"), QStringLiteral("0")), QStringLiteral("120"));
    EXPECT_EQ(StripTrailingChars(QStringLiteral("1.500"), QStringLiteral("0.")), QStringLiteral("1.5"));
    EXPECT_EQ(RemoveControlChars(QStringLiteral("a\tb\r\nc\x7f")), QStringLiteral("abc"));
    EXPECT_EQ(LeftString(QStringLiteral("ab"), 4), QStringLiteral("ab  "));
    EXPECT_EQ(LeftString(QStringLiteral("abcdef"), 3), QStringLiteral("abc"));
    EXPECT_EQ(strff(7, 1, 3), QStringLiteral("7.000"));
    EXPECT_EQ(strff(-2.5, 6, 1), QStringLiteral("  -2.5"));
    EXPECT_EQ(strff(12, 1, 0), QStringLiteral("12"));
}

TEST(StringUtils, LeadingIntegerReadsSignAndDigitsOnly)
{
    EXPECT_EQ(LeadingInteger(QStringLiteral("rix3"), 3), 3);
    EXPECT_EQ(LeadingInteger(QStringLiteral("  -42px")), -42);
    EXPECT_EQ(LeadingInteger(QStringLiteral("+7")), 7);
    EXPECT_EQ(LeadingInteger(QStringLiteral("abc")), 0);
    EXPECT_EQ(LeadingInteger(QStringLiteral("99999999999999999999")), 1000000000);
    EXPECT_EQ(LeadingInteger(QStringLiteral("12"), 40), 0);
    EXPECT_EQ(LeadingInteger(QStringLiteral("٣")), 0);   // only ASCII digits count
}

TEST(FileSys, DirectoriesAndParents)
{
    const QString dir = qortest::ScratchDir();
    EXPECT_TRUE(DirExists(dir));
    EXPECT_FALSE(DirExists(dir + QStringLiteral("/missing")));
    EXPECT_FALSE(DirExists(QString()));
    EXPECT_EQ(ParentDir(QStringLiteral("/a/b/c/")), QStringLiteral("/a/b"));
    EXPECT_EQ(ParentDir(QStringLiteral("/a")), QStringLiteral("/"));
    EXPECT_EQ(ParentDir(QStringLiteral("/")), QString());
}

TEST(FileSys, PasswordsAreLettersAndDigitsAndDiffer)
{
    EXPECT_TRUE(InventPassword(0).isEmpty());
    QSet<QString> seen;
    for (int i = 0; i < 50; ++i) {
        const QString p = InventPassword(12);
        ASSERT_EQ(p.size(), 12);
        for (QChar c : p)
            ASSERT_TRUE(c.unicode() < 128 && c.isLetterOrNumber()) << p.toStdString();
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 50);
}

TEST(Streams, ReadLnAcceptsEveryLineEnd)
{
    QByteArray data("one\ntwo\r\nthree\rfour");
    QBuffer buf(&data);
    buf.open(QIODevice::ReadOnly);
    bool eof = false;
    QStringList lines;
    do
        lines << ReadLnStream(&buf, eof, 0);
    while (!eof);
    EXPECT_EQ(lines, (QStringList{u"one"_qs, u"two"_qs, u"three"_qs, u"four"_qs}));

    QByteArray empty;
    QBuffer e(&empty);
    e.open(QIODevice::ReadOnly);
    EXPECT_TRUE(ReadLnStream(&e, eof, 0).isEmpty());
    EXPECT_TRUE(eof);
    EXPECT_TRUE(ReadLnStream(nullptr, eof, 0).isEmpty());

    QByteArray utf("gr\xC3\xBC\xC3\x9F\r\n");
    QBuffer u(&utf);
    u.open(QIODevice::ReadOnly);
    EXPECT_EQ(ReadLnStream(&u, eof, 0), QString::fromUtf8("grüß"));
    EXPECT_TRUE(eof);
}

TEST(Math1, DecimalIntegersAndFloor)
{
    EXPECT_TRUE(IsValidDecInt(QStringLiteral("  -2147483648")));
    EXPECT_TRUE(IsValidDecInt(QStringLiteral("+17")));
    EXPECT_FALSE(IsValidDecInt(QStringLiteral("2147483648")));
    EXPECT_FALSE(IsValidDecInt(QStringLiteral("$1F")));
    EXPECT_FALSE(IsValidDecInt(QStringLiteral("12 ")));
    EXPECT_FALSE(IsValidDecInt(QStringLiteral("-")));
    EXPECT_EQ(IntNeg(-0.5), -1);
    EXPECT_EQ(IntNeg(2.0), 2);
    EXPECT_EQ(IntNeg(-3.0), -3);
}

TEST(Matrix, ResizeKeepsContentAndRowsGrow)
{
    TIntMatrix m;
    m.Resize(3, 2);
    m.SetVal(3, 2, 9);
    m.SetVal(4, 1, 1);   // ignored
    m.SetNRows(5);
    EXPECT_EQ(m.NRows(), 5);
    EXPECT_EQ(m.GetVal(3, 2), 9);
    EXPECT_EQ(m.GetVal(3, 5), 0);
    EXPECT_EQ(m.GetVal(0, 1), 0);
    m.SetVal(1, 5, 4);
    m.SetNRows(4);   // a shrunk row comes back empty
    m.SetNRows(5);
    EXPECT_EQ(m.GetVal(1, 5), 0);
    EXPECT_EQ(m.GetVal(3, 2), 9);

    TMatrix d(nullptr, 2, 3);
    d.Fill(1.5);
    d.SetElem(1, 3, 7);
    d.InsertRow(1);
    EXPECT_EQ(d.NrOfRows(), 4);
    EXPECT_EQ(d.Elem(1, 1), 0.0);
    EXPECT_EQ(d.Elem(1, 4), 7.0);
    d.RemoveColumn(1);
    EXPECT_EQ(d.NrOfColumns(), 1);
    EXPECT_EQ(d.Elem(1, 4), 1.5);
}
