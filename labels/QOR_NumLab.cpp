#include "QOR_NumLab.h"
#include "QOR_WidgetFactory.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <cmath>

namespace qor {

namespace {

// The sample whose height places every text of the label.
const QString kHeightSample = QStringLiteral("(8g]}\u00DC\u00C4\u00A7");

// Keeps the field's coordinates far from integer overflow.
constexpr int kMaxLabelWidth = 65535;

TAlignment ValidAlignment(TAlignment v, TAlignment fallback) { return v > taCenter ? fallback : v; }

} // namespace

QOR_REGISTER_WIDGET(qor::TNumLab);

TNumLab::TNumLab(QWidget* AOwner) : TGraphicControl(AOwner)
{
    setMouseTracking(true);
    resize(160, 28);
}

TNumLab::~TNumLab() = default;

template <class T> void TNumLab::Set(T& field, T v)
{
    if (Store(field, v))
        Changed();
}

// Any setting may change what the label shows (captions, widths, the overflow indicator).
void TNumLab::Changed()
{
    Invalidate();
    AccessibleValueChanged();
}

// A setting of the value text changed: assistive technology reads the new text.
void TNumLab::TextChanged()
{
    Invalidate();
    AccessibleValueChanged();
}

void TNumLab::SetValue(double v)
{
    if (std::isnan(v) && std::isnan(FValue))
        return;
    if (Store(FValue, v))
        TextChanged();
}

void TNumLab::SetDisplayType(TDisplay v)
{
    if (Store(FText.DisplayType, v > dtEEngNoDP ? dtFixP : v))
        TextChanged();
}

void TNumLab::SetPrecision(int v)
{
    if (v >= 0 && Store(FText.Precision, std::min(v, 15)))
        TextChanged();
}

void TNumLab::SetComma(bool v)
{
    if (Store(FText.Comma, v))
        TextChanged();
}

void TNumLab::SetForcePlusSign(bool v)
{
    if (Store(FText.ForcePlusSign, v))
        TextChanged();
}

void TNumLab::SetEmpty(bool v)
{
    if (Store(FEmpty, v))
        TextChanged();
}

void TNumLab::SetOverflowIndicator(const QString& v) { Set(FText.OverflowIndicator, v); }

void TNumLab::SetDTFormat(const QString& v)
{
    if (Store(FText.DTFormat, v))
        TextChanged();
}

void TNumLab::SetStateText(const QString& v)
{
    if (Store(FText.StateText, v))
        TextChanged();
}

void TNumLab::SetLeftText(const QString& v) { Set(FLeftText, v); }
void TNumLab::SetRightText(const QString& v) { Set(FRightText, v); }

// The field's place decides the smallest size the label draws in.
void TNumLab::SetLeftSpace(int v)
{
    if (v >= 0 && Store(FLeftSpace, std::min(v, width()))) {
        Changed();
        updateGeometry();
    }
}

void TNumLab::SetLabelWidth(int v)
{
    if (v >= 0 && Store(FLabelWidth, std::min(v, kMaxLabelWidth))) {
        Changed();
        updateGeometry();
    }
}

QSize TNumLab::MinimumDrawSize() const
{
    // The value field, and one line of text in its inner rows 2 .. Height - 3.
    const int textHeight = QFontMetrics(Font()->ToQFont()).height();
    return QSize(FLeftSpace + FLabelWidth + 1, textHeight + 4);
}
void TNumLab::SetAlignment(TAlignment v) { Set(FAlignment, ValidAlignment(v, taCenter)); }
void TNumLab::SetLeftTextAlignment(TAlignment v) { Set(FLeftTextAlignment, ValidAlignment(v, taRightJustify)); }
void TNumLab::SetRightTextAlignment(TAlignment v) { Set(FRightTextAlignment, ValidAlignment(v, taLeftJustify)); }
void TNumLab::SetColorLabText(TColor v) { Set(FColorLabText, v); }
void TNumLab::SetColorLabBakG(TColor v) { Set(FColorLabBakG, v); }
void TNumLab::SetColorOutText(TColor v) { Set(FColorOutText, v); }
void TNumLab::SetColorOutBakG(TColor v) { Set(FColorOutBakG, v); }
void TNumLab::SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, v > fsEngraved ? fsNone : v); }
void TNumLab::SetColorScheme(TColorScheme v) { Set(FColorScheme, v > csSystemColors ? csGrayWhite : v); }

void TNumLab::SetTransparent(bool v)
{
    if (Store(FTransparent, v))
        SetTransparentSurface(v);   // invalidates
}

QString TNumLab::ValueText() const
{
    return FEmpty ? QString() : NumLabValueText(FValue, FText);
}

void TNumLab::MouseMove(TShiftState Shift, int X, int Y)
{
    FMouseAreaCode = X > FLeftSpace + FLabelWidth ? 2 : X > FLeftSpace ? 1 : 0;
    TGraphicControl::MouseMove(Shift, X, Y);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TNumLab::Paint()
{
    TCanvas* c = Canvas();
    const int w = width(), h = height();
    c->Font()->Assign(*Font());
    c->Pen()->SetMode(pmCopy);
    c->Brush()->SetColor(FTransparent ? clWhite : FColorOutBakG);
    c->FillRect(0, 0, w, h);
    const int y = (h - c->TextHeight(kHeightSample)) / 2;

    c->Brush()->SetStyle(bsClear);
    if (!FLeftText.isEmpty()) {
        const int tw = c->TextWidth(FLeftText);
        const int x = FLeftTextAlignment == taLeftJustify    ? 7
                      : FLeftTextAlignment == taRightJustify ? FLeftSpace - tw - 5
                                                             : (FLeftSpace - tw) / 2;
        PaintSideText(c, FLeftText, x, y, false);
    }
    if (!FRightText.isEmpty()) {
        const int tw = c->TextWidth(FRightText);
        const int fieldEnd = FLeftSpace + FLabelWidth;
        const int x = FRightTextAlignment == taLeftJustify    ? fieldEnd + 7
                      : FRightTextAlignment == taRightJustify ? w - tw - 6
                                                              : (w - (fieldEnd + tw)) / 2 + fieldEnd + 1;
        PaintSideText(c, FRightText, x, y, FRightTextAlignment == taRightJustify);
    }
    PaintValueField(c);
    PaintValueText(c, y);
    if (FTransparent)
        ApplyTransparency();
}

void TNumLab::PaintSideText(TCanvas* c, const QString& s, int x, int y, bool rightJustifiedRight)
{
    if (isEnabled()) {
        c->Font()->SetColor(FColorOutText);
        c->TextOut(x, y, s);
        return;
    }
    // Engraved: a white copy one pixel down and outward, grey on top.
    c->Font()->SetColor(clWhite);
    c->TextOut(rightJustifiedRight ? x - 1 : x + 1, y + 1, s);
    c->Font()->SetColor(clGray);
    c->TextOut(x, y, s);
}

void TNumLab::PaintValueField(TCanvas* c)
{
    const bool system = FColorScheme != csGrayWhite;
    const TColor grayLine = system ? clBtnShadow : clGray;
    const TColor whiteLine = system ? clBtnHighlight : clWhite;
    const int l = FLeftSpace + 1, t = 0, r = FLeftSpace + FLabelWidth, b = height() - 2;
    c->Brush()->SetColor(FColorLabBakG);
    c->Pen()->SetColor(FFrameStyle == fsNone ? FColorLabBakG : FFrameStyle == fsEmbossed ? whiteLine : grayLine);
    c->Rectangle(l, t, r + 1, b + 1);   // the frame routine's box, corners inclusive
    DrawFrame(c, FFrameStyle, l, t, r, b, clWhite, clSilver, clGray, clBlack, 0);
}

QString TNumLab::ShownValueText(const std::function<int(const QString&)>& TextWidth) const
{
    if (FEmpty)
        return {};
    QString s = NumLabValueText(FValue, FText);
    if (OnBeforeDisplay)
        OnBeforeDisplay(const_cast<TNumLab*>(this), s);
    if (FText.DisplayType != dtState && TextWidth(s) > FLabelWidth - 6)
        s = FText.OverflowIndicator;
    return s;
}

void TNumLab::PaintValueText(TCanvas* c, int y)
{
    if (FEmpty)
        return;
    const QString s = ShownValueText([c](const QString& t) { return c->TextWidth(t); });
    const int tw = c->TextWidth(s);
    const int x = FAlignment == taLeftJustify    ? FLeftSpace + 4
                  : FAlignment == taRightJustify ? FLeftSpace + FLabelWidth - tw - 2
                                                 : FLeftSpace + (FLabelWidth - tw) / 2 + 2;
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(isEnabled() ? FColorLabText : clBtnShadow);
    c->TextRect(QRect(QPoint(FLeftSpace + 3, 2), QPoint(FLeftSpace + FLabelWidth - 2, height() - 4)), x, y, s);
}

// The picture was drawn opaque on white; the field is combined with its fill colour by AND and
// the white elsewhere is taken out, so the parent shows where the bitmap is white.
void TNumLab::ApplyTransparency()
{
    QImage& img = Surface()->Image();
    const qreal dpr = img.devicePixelRatio();
    const auto px = [dpr](int v) { return int(std::floor(v * dpr)); };
    const QRect field(QPoint(px(FLeftSpace + 2), px(2)),
                      QPoint(px(FLeftSpace + FLabelWidth) - 1, px(height() - 2) - 1));
    const TColor text = ColorToRGB(FColorLabText);
    const TColor fill = text != clBlack ? clWhite : ColorToRGB(FColorLabBakG);
    const QRgb fieldMask = qRgb(GetRValue(fill), GetGValue(fill), GetBValue(fill));
    for (int yy = 0; yy < img.height(); ++yy) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
        const bool rowInField = yy >= field.top() && yy <= field.bottom();
        for (int xx = 0; xx < img.width(); ++xx) {
            const QRgb p = line[xx];
            if (rowInField && xx >= field.left() && xx <= field.right()) {
                line[xx] = p & fieldMask;   // alpha stays 255
                continue;
            }
            const int m = std::min({qRed(p), qGreen(p), qBlue(p)});
            line[xx] = qRgba(qRed(p) - m, qGreen(p) - m, qBlue(p) - m, 255 - m);
        }
    }
}

// ---------------------------------------------------------------------------------------------

void TNumLab::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TNumLab*>(Source);
    if (!src) {
        TGraphicControl::Assign(Source);
        return;
    }
    if (src == this)
        return;
    FValue = src->FValue;
    FText.DisplayType = src->FText.DisplayType;
    FText.Precision = src->FText.Precision;
    FText.StateText = src->FText.StateText;
    FText.OverflowIndicator = src->FText.OverflowIndicator;
    FEmpty = src->FEmpty;
    FLeftText = src->FLeftText;
    FRightText = src->FRightText;
    FLeftSpace = src->FLeftSpace;
    FLabelWidth = src->FLabelWidth;
    FAlignment = src->FAlignment;
    FLeftTextAlignment = src->FLeftTextAlignment;
    FRightTextAlignment = src->FRightTextAlignment;
    FColorLabText = src->FColorLabText;
    FColorLabBakG = src->FColorLabBakG;
    FColorOutText = src->FColorOutText;
    FColorOutBakG = src->FColorOutBakG;
    FFrameStyle = src->FFrameStyle;
    FColorScheme = src->FColorScheme;
    FTransparent = src->FTransparent;
    SetTransparentSurface(FTransparent);
    TextChanged();
}

void TNumLab::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TNumLab>(Dest))
        TGraphicControl::AssignTo(Dest);
}

QString TNumLab::AccessibleText() const
{
    const QFontMetrics metrics(font());
    const QString value = ShownValueText([&](const QString& s) { return metrics.horizontalAdvance(s); });
    QStringList shown;
    for (const QString& part : {FLeftText, value, FRightText})
        if (!part.trimmed().isEmpty())
            shown.append(part.trimmed());
    return shown.join(QLatin1Char(' '));
}

} // namespace qor
