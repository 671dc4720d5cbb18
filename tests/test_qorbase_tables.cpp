// Name tables, CSV delimiters, the mean of two colours and the predefined colour table.
#include <gtest/gtest.h>

#include <QOR_qorbase.h>
#include <QOR_qorcolors.h>
#include <QOR_univconst.h>

#include <QApplication>
#include <QPalette>
#include <QSet>

#include "test_support.h"

using namespace qor;

TEST(NameTables, EveryLanguageHasFullTablesWithinTheLengthLimits)
{
    for (int lang = lgEnglish; lang <= lgSpanish; ++lang) {
        SCOPED_TRACE(lang);
        QSet<QString> days, shortMonths, longMonths;
        for (int d = 1; d <= 7; ++d) {
            const QString n = WeekDayShort(TLanguage(lang), d);
            EXPECT_FALSE(n.isEmpty());
            EXPECT_LE(n.size(), 3) << n.toStdString();
            days.insert(n);
        }
        for (int m = 1; m <= 12; ++m) {
            const QString s = MonthShort(TLanguage(lang), m), l = MonthLong(TLanguage(lang), m);
            EXPECT_FALSE(s.isEmpty());
            EXPECT_LE(s.size(), 4) << s.toStdString();
            EXPECT_LE(l.size(), 10) << l.toStdString();
            EXPECT_TRUE(l.startsWith(s.left(3))) << s.toStdString() << " / " << l.toStdString();
            EXPECT_TRUE(s.at(0).isUpper() && l.at(0).isUpper());
            shortMonths.insert(s);
            longMonths.insert(l);
        }
        EXPECT_EQ(days.size(), 7);
        EXPECT_EQ(shortMonths.size(), 12);
        EXPECT_EQ(longMonths.size(), 12);
    }
}

TEST(NameTables, MondayFirstAndProperLetters)
{
    EXPECT_EQ(WeekDayShort(lgEnglish, 1), QStringLiteral("Mon"));
    EXPECT_EQ(WeekDayShort(lgEnglish, 7), QStringLiteral("Sun"));
    EXPECT_EQ(WeekDayShort(lgGerman, 1), QStringLiteral("Mo"));
    EXPECT_EQ(WeekDayShort(lgGerman, 7), QStringLiteral("So"));
    EXPECT_EQ(WeekDayShort(lgFrench, 3), QStringLiteral("Mer"));
    EXPECT_EQ(WeekDayShort(lgSpanish, 6), QString::fromUtf8("S\u00e1b"));
    EXPECT_EQ(WeekDayShort(lgSpanish, 3), QString::fromUtf8("Mi\u00e9"));
    EXPECT_EQ(MonthLong(lgEnglish, 9), QStringLiteral("September"));
    EXPECT_EQ(MonthLong(lgGerman, 3), QString::fromUtf8("M\u00e4rz"));
    EXPECT_EQ(MonthShort(lgGerman, 10), QStringLiteral("Okt"));
    EXPECT_EQ(MonthLong(lgFrench, 2), QString::fromUtf8("F\u00e9vrier"));
    EXPECT_EQ(MonthShort(lgFrench, 8), QString::fromUtf8("Ao\u00fbt"));
    EXPECT_EQ(MonthLong(lgSpanish, 9), QStringLiteral("Septiembre"));   // the longest: 10
    EXPECT_EQ(MonthShort(lgSpanish, 1), QStringLiteral("Ene"));
    // One code point per letter (composed form), so length limits count letters.
    EXPECT_EQ(MonthLong(lgGerman, 3).size(), 4);
}

TEST(NameTables, OutOfRangeGivesEmptyText)
{
    EXPECT_TRUE(MonthShort(lgNone, 1).isEmpty());
    EXPECT_TRUE(MonthLong(TLanguage(5), 1).isEmpty());
    EXPECT_TRUE(MonthLong(lgEnglish, 0).isEmpty());
    EXPECT_TRUE(MonthShort(lgEnglish, 13).isEmpty());
    EXPECT_TRUE(WeekDayShort(lgGerman, 0).isEmpty());
    EXPECT_TRUE(WeekDayShort(lgGerman, 8).isEmpty());
}

TEST(CSVDelimiters, Characters)
{
    EXPECT_EQ(CSVDelimiterChar(csvComma), QChar(','));
    EXPECT_EQ(CSVDelimiterChar(csvSemicolon), QChar(';'));
    EXPECT_EQ(CSVDelimiterChar(csvTab), QChar('\t'));
    EXPECT_EQ(CSVDelimiterChar(csvSpace), QChar(' '));
    EXPECT_EQ(CSVDelimiterChar(csvBar), QChar('|'));
    EXPECT_EQ(CSVDelimiterChar(TCSVDelimiters(9)), QChar(','));
}

TEST(MeanColor, ChannelsAreAveragedSymmetrically)
{
    EXPECT_EQ(MeanColor(clBlack, clWhite), TColor(0x808080));
    EXPECT_EQ(MeanColor(clWhite, clBlack), TColor(0x808080));
    EXPECT_EQ(MeanColor(RGB(10, 20, 30), RGB(20, 41, 61)), RGB(15, 31, 46));
    EXPECT_EQ(MeanColor(RGB(20, 41, 61), RGB(10, 20, 30)), RGB(15, 31, 46));
    EXPECT_EQ(MeanColor(clRed, clBlue), RGB(128, 0, 128));
    EXPECT_EQ(MeanColor(clSilver, clSilver), clSilver);
    // Channels do not bleed into one another at the top of the range.
    EXPECT_EQ(MeanColor(RGB(255, 0, 255), RGB(255, 0, 255)), RGB(255, 0, 255));
}

TEST(MeanColor, SystemColoursAreResolvedFirst)
{
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(MeanColor(clBtnFace, clBtnFace), face);
    EXPECT_EQ(MeanColor(clBtnFace, clBlack),
              RGB((GetRValue(face) + 1) / 2, (GetGValue(face) + 1) / 2, (GetBValue(face) + 1) / 2));
    EXPECT_FALSE(IsSystemColor(MeanColor(clWindow, clWindowText)));
}

TEST(PredefinedColors, TheFortySevenEntriesInOrder)
{
    const TColor vga[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
                            clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(PredefinedColors(i).Color, vga[i]) << i;
    EXPECT_EQ(PredefinedColors(16).Color, clMoneyGreen);
    EXPECT_EQ(PredefinedColors(19).Color, clMedGray);
    EXPECT_EQ(PredefinedColors(20).Color, clScrollBar);
    EXPECT_EQ(PredefinedColors(44).Color, clInfoBk);
    EXPECT_EQ(PredefinedColors(45).Color, clGradientActiveCaption);
    EXPECT_EQ(PredefinedColors(46).Color, clGradientInactiveCaption);
    EXPECT_STREQ(PredefinedColors(9).Name, "clRed");
    EXPECT_STREQ(PredefinedColors(35).Name, "clBtnFace");

    QSet<TColor> colours;
    QSet<QString> names;
    int system = 0;
    for (int i = 0; i < NumPredefinedColors; ++i) {
        const TPredefinedColor& p = PredefinedColors(i);
        colours.insert(p.Color);
        names.insert(QString::fromLatin1(p.Name));
        system += IsSystemColor(p.Color);
        EXPECT_EQ(IsSystemColor(p.Color), i >= 20) << i;
        // The name is the identifier the platform reads and writes for the colour.
        EXPECT_EQ(StringToColor(QString::fromLatin1(p.Name)), p.Color) << p.Name;
        EXPECT_EQ(ColorToString(p.Color), QString::fromLatin1(p.Name)) << i;
    }
    EXPECT_EQ(colours.size(), 47);
    EXPECT_EQ(names.size(), 47);
    EXPECT_EQ(system, 27);
}

TEST(PredefinedColors, OutOfRangeGivesNoColour)
{
    EXPECT_EQ(PredefinedColors(-1).Color, clNone);
    EXPECT_STREQ(PredefinedColors(47).Name, "");
}

TEST(UnivConst, MaxDouble)
{
    EXPECT_EQ(uc_MaxDouble, std::numeric_limits<double>::max());
    EXPECT_TRUE(std::isfinite(uc_MaxDouble));
}
