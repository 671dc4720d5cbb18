// TMiniCal: the texts and the drawing of every cell, and the sizing of the cells.
#include "QOR_MiniCal.h"
#include "QOR_MiniCal_p.h"

#include <QOR_qorcolors.h>

namespace qor {

namespace {

const char16_t* const TodayCaption[4] = {u"today", u"heute", u"auj.", u"hoy"};

// The button frame's colours, outside to inside.
constexpr TColor FrameLight = 0xFFFFFF;
constexpr TColor FrameDark = 0x686868;
constexpr TColor FrameShadow = 0x9CA0A5;
constexpr TColor FrameSoft = 0xE6E2E2;
// The button face of the classic look (without seClient).
constexpr TColor ClassicFace = 0xF0F0F0;

} // namespace

// ---------------------------------------------------------------------------------------------
// Texts

QString TMiniCal::CellText(int ACol, int ARow) const
{
    if (ACol < 0 || ACol > 7 || ARow < 0 || ARow > 7)
        return {};
    const TLanguage lang = TextLanguage();
    if (ARow == 0) {
        switch (ACol) {
        case 1: return QStringLiteral("<<");
        case 2: return QStringLiteral("<");
        case 5: {
            const QString month = FMonthShort ? MonthShort(lang, FLayout.Month) : MonthLong(lang, FLayout.Month);
            return month + QLatin1Char(' ') + QString::number(FLayout.Year);
        }
        case 6: return QStringLiteral(">");
        case 7: return QStringLiteral(">>");
        default: return {};
        }
    }
    if (ARow == 1) {
        if (ACol == 0)
            return QString::fromUtf16(TodayCaption[lang - 1]);
        return WeekDayShort(lang, (int(F1stDayWeek) + ACol - 1) % 7 + 1);
    }
    if (ACol == 0)
        return QString::number(minical::ToQDate(FLayout.First + (ARow - 2) * 7).weekNumber());
    return QString::number(ShownDay(CellDay(ACol, ARow)));
}

int TMiniCal::ShownDay(int d) const
{
    if (d < 1)
        return d + FLayout.PrevDays;
    if (d > FLayout.Days)
        return d - FLayout.Days;
    return d;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TMiniCal::Paint()
{
    FToday = qor::Date();
    TCustomDrawGrid::Paint();
}

// TextRect on the brush's background; the texts' layouts are kept from paint to paint.
void TMiniCal::TextCentred(TCanvas* cv, int L, int T, int R, int B, const QString& Text, TColor Color)
{
    const int x = L + (R - L - FTexts.TextWidth(cv, Text)) / 2;
    const int y = T + (B - T - cv->TextHeight(Text)) / 2;
    FTexts.TextRect(cv, QRect(L, T, R - L, B - T), x, y, Text, Color);
}

TColor TMiniCal::ButtonFace() const
{
    return FStyleElements.testFlag(seClient) ? clBtnFace : ClassicFace;
}

TColor TMiniCal::ButtonText() const
{
    return FStyleElements.testFlag(seFont) ? clBtnText : clBlack;
}

void TMiniCal::DrawCell(int ACol, int ARow, const QRect& ARect, TGridDrawState)
{
    TCanvas* cv = Canvas();
    const int L = ARect.left(), T = ARect.top();
    const int R = L + ARect.width(), B = T + ARect.height();
    if (ARow == 0) {
        if (ACol == 5)   // the caption spans columns 3 to 5
            DrawButton(cv, L - 2 * (R - L) - 2 * GridLineWidth(), T, R, B, CellText(ACol, ARow));
        else if (ACol == 1 || ACol == 2 || ACol == 6 || ACol == 7)
            DrawButton(cv, L, T, R, B, CellText(ACol, ARow));
    } else if (ARow == 1 && ACol == 0) {   // "today" spans rows 0 and 1
        DrawButton(cv, L, T - RowHeights(0) - GridLineWidth(), R, B, CellText(ACol, ARow));
    } else if (ARow == 1) {
        cv->Brush()->SetColor(FColorDayIdBg);
        TextCentred(cv, L, T, R, B, CellText(ACol, ARow), FColorDayIdFg);
    } else if (ACol == 0) {
        cv->Brush()->SetColor(FColorWknBg);
        TextCentred(cv, L, T, R, B, CellText(ACol, ARow), FColorWknFg);
    } else {
        DrawDayCell(cv, ACol, ARow, L, T, R, B);
    }
}

void TMiniCal::DrawButton(TCanvas* cv, int L, int T, int R, int B, const QString& Text)
{
    cv->Brush()->SetColor(ButtonFace());
    TextCentred(cv, L, T, R, B, Text, ButtonText());
    if (Ctl3D())
        DrawButtonFrame(cv, L, T, R, B);
}

// The lines leave out their end points; the outer ones lie on the grid lines right of and
// below the cell.
void TMiniCal::DrawButtonFrame(TCanvas* cv, int L, int T, int R, int B)
{
    cv->Pen()->SetWidth(1);
    cv->Pen()->SetStyle(psSolid);
    auto corner = [cv](TColor c, QPoint a, QPoint b, QPoint e) {
        cv->Pen()->SetColor(c);
        cv->MoveTo(a.x(), a.y());
        cv->LineTo(b.x(), b.y());
        cv->LineTo(e.x(), e.y());
    };
    corner(FrameLight, {L, B - 1}, {L, T}, {R, T});
    corner(FrameDark, {L, B}, {R, B}, {R, T});
    corner(FrameShadow, {L + 1, B - 1}, {R - 1, B - 1}, {R - 1, T});
    corner(FrameSoft, {L + 1, B - 2}, {L + 1, T + 1}, {R - 1, T + 1});
}

void TMiniCal::DrawDayCell(TCanvas* cv, int ACol, int ARow, int L, int T, int R, int B)
{
    const int d = CellDay(ACol, ARow);
    const bool ofMonth = d >= 1 && d <= FLayout.Days;
    TColor bg = FDayColors[std::size_t((ACol + int(F1stDayWeek) - 1) % 7)];
    TColor fg = ofMonth ? FColorActMon : FColorInactMon;
    if (ofMonth) {
        const bool holiday = FLayout.IsHoliday[std::size_t(d)];
        if (holiday) {
            bg = FColorHdayBg;
            fg = FColorHdayFg;
        }
        if (d == Day()) {
            bg = holiday ? MeanColor(FColorSelBg, FColorHdayBg) : FColorSelBg;
            fg = FColorSelFg;
        }
    }
    cv->Brush()->SetColor(bg);
    TextCentred(cv, L, T, R, B, QString::number(ShownDay(d)), fg);
    if (FMarkToday && ofMonth && FToday == FLayout.First + d - 1) {
        cv->Brush()->SetStyle(bsClear);
        cv->Pen()->SetColor(FColorToday);
        cv->Pen()->SetWidth(1);
        cv->Ellipse(L + 2, T + 2, R - 2, B - 2);
        cv->Brush()->SetStyle(bsSolid);
    }
}

// ---------------------------------------------------------------------------------------------
// Sizing

// Column 0 and row 0 take what the seven others and the eight grid lines leave.
void TMiniCal::SizeCells()
{
    const int g = GridLineWidth();
    const int w = ClientWidth(), h = ClientHeight();
    SetDefaultColWidth((w - 7 * g) / 8);
    SetDefaultRowHeight((h - 7 * g) / 8);
    SetColWidths(0, w - 7 * (DefaultColWidth() + g) - g);
    SetRowHeights(0, h - 7 * (DefaultRowHeight() + g) - g);
}

void TMiniCal::Resized()
{
    SizeCells();
    TCustomDrawGrid::Resized();
}

} // namespace qor
