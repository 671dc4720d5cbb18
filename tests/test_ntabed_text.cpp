// Table editor: number texts at the precision limits, cell and edit texts, and the numbers of
// clipboard text (extraction's scan and GetClipMatrixSize).
#include <gtest/gtest.h>

#include <QOR_NumText.h>
#include <QOR_ntabed.h>

#include <vector>

using namespace qor;

namespace {

struct Found {
    int Col, Row;
    double Value;
    bool operator==(const Found&) const = default;
};

std::vector<Found> Numbers(const QString& text)
{
    std::vector<Found> out;
    ScanClipNumbers(text, [&](int c, int r, double v) { out.push_back({c, r, v}); });
    return out;
}

} // namespace

TEST(NTabEdText, FixedUpToTheLimitOfThePrecisionExponentialBeyond)
{
    const QString exp100k = FormatRealStr(7, -2, 100000.0);
    EXPECT_EQ(NTabNumberText(99999.999, 3, 1), QStringLiteral("99999.999"));
    EXPECT_EQ(NTabNumberText(100000.0, 3, 1), exp100k);
    EXPECT_TRUE(exp100k.contains(QLatin1Char('E')));
    EXPECT_EQ(NTabNumberText(5.0, 0, 1), QStringLiteral("5"));
    EXPECT_EQ(NTabNumberText(0.5, 0, 1), FormatRealStr(7, -2, 0.5));   // below 10^-0
    EXPECT_EQ(NTabNumberText(0.0, 8, 1), QStringLiteral("0.00000000"));
    EXPECT_EQ(NTabNumberText(0.99999999, 8, 1), QStringLiteral("0.99999999"));
    EXPECT_EQ(NTabNumberText(1.0, 8, 1), FormatRealStr(7, -2, 1.0));
    EXPECT_EQ(NTabNumberText(-999999999.0, 0, 1), QStringLiteral("-999999999"));
    EXPECT_EQ(NTabNumberText(0.001, 3, 1), QStringLiteral("0.001"));
    EXPECT_EQ(NTabNumberText(0.0009, 3, 1), FormatRealStr(7, -2, 0.0009));
    // -1, 9 and 10 are always exponential; the field width widens both forms.
    for (int p : {-1, 9, 10})
        EXPECT_EQ(NTabNumberText(1.5, p, 4), FormatRealStr(10, -2, 1.5)) << p;
    EXPECT_EQ(NTabNumberText(1.5, 1, 6), QStringLiteral("   1.5"));
    // An exponent of 100 or more fills the field with "*".
    const QString stars = NTabNumberText(1e150, 2, 1);
    EXPECT_EQ(stars, FormatRealStr(7, -2, 1e150));
    EXPECT_EQ(stars, QString(stars.size(), QLatin1Char('*')));
    EXPECT_GE(stars.size(), 6);
}

TEST(NTabEdText, CellTextsFollowStateAndScale)
{
    TNTabEd t;
    t.Redimension(2, 3);
    t.SetElem(1, 1, 2.5);
    EXPECT_EQ(t.CellText(1, 1), QStringLiteral("2.500"));
    t.SetCellState(1, 1, csInvalid);
    EXPECT_EQ(t.CellText(1, 1), QStringLiteral("-nan-"));
    t.SetCellState(1, 1, csInvalid | csEmpty);
    EXPECT_EQ(t.CellText(1, 1), QString());
    EXPECT_EQ(t.EditText(1, 1), QStringLiteral("2.500"));   // editing ignores the state

    TDataTable* d = t.Data();
    d->SetMScaleType(2, mstBinary);
    d->SetNominalID(2, 0, QStringLiteral("off"));
    d->SetNominalID(2, 1, QStringLiteral("on"));
    t.SetElem(2, 1, 0.6);
    EXPECT_EQ(t.CellText(2, 1), QStringLiteral("on"));
    t.SetElem(2, 2, 7);
    EXPECT_EQ(t.CellText(2, 2), QStringLiteral("binary:7"));
    EXPECT_EQ(t.EditText(2, 2), QStringLiteral("7"));
    t.SetElem(2, 3, -2);
    EXPECT_EQ(t.CellText(2, 3), QStringLiteral("binary:-2"));
    EXPECT_EQ(t.CellText(9, 9), QString());   // outside: the empty state
}

TEST(NTabEdText, ClipboardNumbersAreReadLineByLine)
{
    EXPECT_EQ(Numbers(QStringLiteral(" 1\t2.5\r\n-3\t4e2\r\n")),
              (std::vector<Found>{{0, 0, 1}, {1, 0, 2.5}, {0, 1, -3}, {1, 1, 400}}));
    // Letters between numbers are passed over; commas separate like blanks.
    EXPECT_EQ(Numbers(QStringLiteral("a12b;x-3,4")), (std::vector<Found>{{0, 0, 12}, {1, 0, -3}, {2, 0, 4}}));
    // A lone sign or point is no number, nor is a malformed one.
    EXPECT_EQ(Numbers(QStringLiteral("- . + 1.2.3 5")), (std::vector<Found>{{0, 0, 5}}));
    // Lines without numbers take no row.
    EXPECT_EQ(Numbers(QStringLiteral("head\n\n7\n\nx\n8")), (std::vector<Found>{{0, 0, 7}, {0, 1, 8}}));
    EXPECT_TRUE(Numbers(QStringLiteral("no numbers here")).empty());
    EXPECT_TRUE(Numbers(QString()).empty());
}

TEST(NTabEdText, ClipMatrixSizeCountsLinesWithNumbersTheLastOneToo)
{
    int c = -1, r = -1;
    EXPECT_TRUE(ClipMatrixSize(QStringLiteral("1 2 3"), c, r));
    EXPECT_EQ(c, 3);
    EXPECT_EQ(r, 1);
    // The editor's own copy ends every row with CR LF: no extra row.
    EXPECT_TRUE(ClipMatrixSize(QStringLiteral(" 1\t2\r\n 3\t####\r\n"), c, r));
    EXPECT_EQ(c, 2);
    EXPECT_EQ(r, 2);
    // Ragged rows: the widest decides.
    EXPECT_TRUE(ClipMatrixSize(QStringLiteral("1\n1 2 3 4\n1 2"), c, r));
    EXPECT_EQ(c, 4);
    EXPECT_EQ(r, 3);
    EXPECT_FALSE(ClipMatrixSize(QStringLiteral("text only\r\n"), c, r));
    EXPECT_EQ(c, 0);
    EXPECT_EQ(r, 0);
}
