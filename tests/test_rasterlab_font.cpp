// Raster label fonts: the built-in dot font (its fixed examples and the layout of all 224
// characters), fonts scanned from system fonts, the character matrix property and the mapping
// of text characters to matrix slots.
#include <gtest/gtest.h>

#include "test_rasterlab_support.h"

#include <QApplication>
#include <QFont>
#include <bit>
#include <string_view>

using namespace qor;

namespace {

std::uint32_t AllRows(const TRDCharMatrix& m, int ch, int from = 0, int to = 31)
{
    std::uint32_t bits = 0;
    for (int r = from; r <= to; ++r)
        bits |= m.BitData[std::size_t(ch)][std::size_t(r)];
    return bits;
}

std::array<std::uint32_t, 12> Rows(const TRDCharMatrix& m, char ch)
{
    std::array<std::uint32_t, 12> r{};
    for (int i = 0; i < 12; ++i)
        r[std::size_t(i)] = m.BitData[std::uint8_t(ch)][std::size_t(i)];
    return r;
}

TEST(RasterLabFont, BuiltInFontHoldsTheGivenCharactersExactly)
{
    TRasterLab lab;
    const TRDCharMatrix& m = lab.CharMatrix();
    EXPECT_EQ(m.FontWidth, 7);
    EXPECT_EQ(m.FontHeight, 12);
    EXPECT_EQ(m.LeftMostBit['A'], 0);
    EXPECT_EQ(m.RightMostBit['A'], 6);
    EXPECT_EQ(Rows(m, 'A'), (std::array<std::uint32_t, 12>{0, 8, 8, 20, 20, 34, 62, 34, 34, 119, 0, 0}));
    EXPECT_EQ(m.LeftMostBit['0'], 1);
    EXPECT_EQ(m.RightMostBit['0'], 5);
    EXPECT_EQ(Rows(m, '0'), (std::array<std::uint32_t, 12>{0, 28, 34, 34, 34, 34, 34, 34, 34, 28, 0, 0}));
    EXPECT_EQ(m.LeftMostBit['.'], 3);
    EXPECT_EQ(m.RightMostBit['.'], 3);
    EXPECT_EQ(Rows(m, '.'), (std::array<std::uint32_t, 12>{0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0}));
    EXPECT_EQ(m.LeftMostBit[' '], 0);
    EXPECT_EQ(m.RightMostBit[' '], 6);
    EXPECT_EQ(AllRows(m, ' '), 0u);
    for (int ch = 0; ch < 32; ++ch) {
        EXPECT_EQ(AllRows(m, ch), 0u) << ch;
        EXPECT_EQ(m.LeftMostBit[std::size_t(ch)], 0) << ch;
        EXPECT_EQ(m.RightMostBit[std::size_t(ch)], 0) << ch;
    }
    EXPECT_TRUE(m == TRasterLab::CreateBitFont(nullptr));
}

// What the generator guarantees, over every record of the compiled table.
TEST(RasterLabFont, EveryBuiltInCharacterFitsItsColumnsAndTwelveRows)
{
    const TRDCharMatrix m = TRasterLab::CreateBitFont(nullptr);
    int blank = 0;
    for (int ch = 32; ch <= 255; ++ch) {
        const int l = m.LeftMostBit[std::size_t(ch)], r = m.RightMostBit[std::size_t(ch)];
        ASSERT_LE(l, r) << ch;
        ASSERT_LE(r, 6) << ch;
        EXPECT_EQ(AllRows(m, ch, 12, 31), 0u) << "dots below row 11 in " << ch;
        const std::uint32_t used = AllRows(m, ch);
        if (used == 0) {
            ++blank;
            continue;
        }
        EXPECT_EQ(std::countr_zero(used), l) << ch;
        EXPECT_EQ(31 - std::countl_zero(used), r) << ch;
    }
    // Space, no-break space and the five positions Windows-1252 leaves free.
    EXPECT_EQ(blank, 7);
}

// Row 0 is free above capitals and digits, which stand on rows 1..9; only the descenders
// reach rows 10 and 11; accented capitals carry their accent in rows 0..1.
TEST(RasterLabFont, BuiltInFontKeepsItsRowLayout)
{
    const TRDCharMatrix m = TRasterLab::CreateBitFont(nullptr);
    const QString descenders = QStringLiteral("gjpqy");
    for (int ch = 32; ch <= 126; ++ch) {
        const bool capOrDigit = (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        if (capOrDigit) {
            EXPECT_EQ(m.BitData[std::size_t(ch)][0], 0u) << char(ch);
            EXPECT_NE(m.BitData[std::size_t(ch)][1], 0u) << char(ch);
            EXPECT_NE(m.BitData[std::size_t(ch)][9], 0u) << char(ch);
        }
        if (ch >= 'a' && ch <= 'z') {
            EXPECT_NE(m.BitData[std::size_t(ch)][9], 0u) << char(ch);
            EXPECT_EQ(AllRows(m, ch, 10, 11) != 0, descenders.contains(QChar(ch))) << char(ch);
        }
        if (capOrDigit)
            EXPECT_EQ(AllRows(m, ch, 10, 11), 0u) << char(ch);
    }
    for (char32_t c : std::u32string_view(U"ÀÁÂÃÄÅÈÉÊËÌÍÎÏÑÒÓÔÕÖÙÚÛÜÝŠŽŸ")) {
        const int ch = TRasterLab::CharSlot(c);
        EXPECT_NE(AllRows(m, ch, 0, 1), 0u) << "no accent on " << ch;
        EXPECT_NE(AllRows(m, ch, 3, 9), 0u) << ch;
        EXPECT_EQ(AllRows(m, ch, 10, 11), 0u) << ch;
    }
    // Accented letters differ from each other and from the plain letter.
    const int a[] = {'A', 0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5};
    for (int i : a)
        for (int j : a)
            if (i != j)
                EXPECT_NE(m.BitData[std::size_t(i)], m.BitData[std::size_t(j)]) << i << " " << j;
    EXPECT_NE(AllRows(m, 0xC7, 10, 11), 0u);   // the cedilla hangs below
}

TEST(RasterLabFont, TextCharactersMapToWindows1252Slots)
{
    for (int s = 0; s < 256; ++s)
        EXPECT_EQ(TRasterLab::CharSlot(TRasterLab::SlotChar(std::uint8_t(s))), s) << s;
    EXPECT_EQ(TRasterLab::CharSlot(U'A'), 'A');
    EXPECT_EQ(TRasterLab::CharSlot(U'é'), 0xE9);
    EXPECT_EQ(TRasterLab::CharSlot(U'€'), 0x80);
    EXPECT_EQ(TRasterLab::CharSlot(U'—'), 0x97);
    EXPECT_EQ(TRasterLab::CharSlot(U'Ÿ'), 0x9F);
    EXPECT_EQ(TRasterLab::CharSlot(0x0080), '?');   // a C1 control Windows-1252 has not
    EXPECT_EQ(TRasterLab::CharSlot(U'中'), '?');
    EXPECT_EQ(TRasterLab::SlotChar(0x80), U'€');

    // A character outside the basic plane is one character, not two halves.
    TRasterLab lab;
    lab.SetProportional(false);
    lab.SetText(QString::fromUtf8("a\xF0\x9F\x98\x80" "b"));
    EXPECT_EQ(lab.TextLength(), 3 * 4 * 8);
}

TEST(RasterLabFont, DefaultNameOrNoFontGivesTheBuiltInFont)
{
    const TRDCharMatrix builtIn = TRasterLab::CreateBitFont(nullptr);
    TFont f;
    f.SetName(QStringLiteral("DEFAULT"));
    EXPECT_TRUE(TRasterLab::CreateBitFont(&f) == builtIn);
    TRasterLab lab;
    EXPECT_EQ(lab.Font()->Name(), QStringLiteral("default"));
    EXPECT_EQ(lab.Font()->Size(), 8);
}

TEST(RasterLabFont, ScannedSystemFontHasSaneWidthsAndTheSpaceRule)
{
    TFont f;
    f.SetName(QStringLiteral("DejaVu Sans"));
    f.SetSize(8);
    f.SetQuality(fqNonAntialiased);
    const TRDCharMatrix m = TRasterLab::CreateBitFont(&f);
    EXPECT_GE(m.FontHeight, 8);
    EXPECT_LE(m.FontHeight, 20);
    EXPECT_GE(m.FontWidth, 6);
    EXPECT_LE(m.FontWidth, 16);
    auto width = [&](int ch) { return m.RightMostBit[std::size_t(ch)] - m.LeftMostBit[std::size_t(ch)] + 1; };
    EXPECT_GT(width('W'), width('i'));
    EXPECT_GT(width('m'), width('l'));
    EXPECT_GE(width('A'), 4);
    EXPECT_EQ(width('.'), 1);
    for (int ch = 33; ch <= 126; ++ch) {
        EXPECT_NE(AllRows(m, ch), 0u) << char(ch);
        EXPECT_LE(width(ch), m.FontWidth) << char(ch);
    }
    EXPECT_EQ(m.LeftMostBit[' '], 0);
    EXPECT_EQ(m.RightMostBit[' '], m.FontWidth / 2);
    // A character that draws nothing: left 31, right 0.
    EXPECT_EQ(AllRows(m, 0xA0), 0u);
    EXPECT_EQ(m.LeftMostBit[0xA0], 31);
    EXPECT_EQ(m.RightMostBit[0xA0], 0);
    EXPECT_EQ(std::countr_zero(AllRows(m, 'H')), m.LeftMostBit['H']);
    EXPECT_EQ(31 - std::countl_zero(AllRows(m, 'H')), m.RightMostBit['H']);
}

TEST(RasterLabFont, AnEmptyScannedCharacterAdvancesByTheGapOnly)
{
    TRasterLab lab;
    TRDCharMatrix m = lab.CharMatrix();
    m.LeftMostBit['x'] = 31;
    m.RightMostBit['x'] = 0;
    lab.SetCharMatrix(m);
    lab.SetText(QStringLiteral("xx"));
    EXPECT_EQ(lab.TextLength(), 2 * 4);
    EXPECT_EQ(lab.PaintedTextLength(), 2 * 4 + 1);
}

TEST(RasterLabFont, FontChangesRebuildTheMatrix)
{
    TRasterLab lab;
    const TRDCharMatrix builtIn = lab.CharMatrix();
    lab.Font()->SetName(QStringLiteral("DejaVu Sans"));
    TFont expected;
    expected.Assign(*lab.Font());
    EXPECT_TRUE(lab.CharMatrix() == TRasterLab::CreateBitFont(&expected));
    EXPECT_FALSE(lab.CharMatrix() == builtIn);
    lab.setFont(QFont(QStringLiteral("Default")));
    EXPECT_TRUE(lab.CharMatrix() == builtIn);
}

TEST(RasterLabFont, WrittenMatrixReplacesTheFontUntilTheFontChanges)
{
    TRasterLab lab;
    rltest::Plain(lab, 60, 60, QStringLiteral("Z"));
    lab.SetCharBlockMode(rdbmOff);
    lab.SetDotSize(1);
    lab.SetDotSpacing(0);
    lab.SetPosX(0);
    lab.SetPosY(0);
    TRDCharMatrix m;
    m.FontWidth = 99;      // kept within 0..32
    m.FontHeight = 40;
    m.LeftMostBit['Z'] = 0;
    m.RightMostBit['Z'] = 200;
    m.BitData['Z'][20] = 0x80000001u;
    lab.SetCharMatrix(m);
    EXPECT_EQ(lab.CharMatrix().FontWidth, 32);
    EXPECT_EQ(lab.CharMatrix().FontHeight, 32);
    EXPECT_EQ(lab.CharMatrix().RightMostBit['Z'], 31);
    QImage img = rltest::Rendered(lab);
    EXPECT_EQ(qortest::PixelAt(img, 0, 20), clLime);
    EXPECT_EQ(qortest::PixelAt(img, 31, 20), clLime);
    EXPECT_EQ(rltest::CountColor(img, clLime), 2);

    // A font event that leaves the font as it was keeps the written matrix.
    QEvent fontChange(QEvent::FontChange);
    QApplication::sendEvent(&lab, &fontChange);
    EXPECT_EQ(lab.CharMatrix().FontHeight, 32);
    lab.Font()->SetName(QStringLiteral("DejaVu Sans"));
    EXPECT_NE(lab.CharMatrix().BitData['Z'][20], 0x80000001u);
}

} // namespace
