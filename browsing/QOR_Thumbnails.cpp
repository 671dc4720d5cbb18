// TThumbnails: construction, settings, range and selection, scrolling, input, Assign and
// accessibility.
#include "QOR_Thumbnails.h"
#include "QOR_WidgetFactory.h"

#include <QAccessibleActionInterface>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace qor {

namespace {

constexpr double WheelNotch = 120.0;
// Rows scrolled by a wheel notch and by Up/Down.
constexpr double RowsPerStep = 0.25;

int ClampToInt(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Division and remainder rounding down, so that slides above the top row land in the rows above.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

TFrameStyle ValidFrameStyle(TFrameStyle v)
{
    return v > fsEngraved ? fsNone : v;
}

} // namespace

QOR_REGISTER_WIDGET(qor::TThumbnails);

TThumbnails::TThumbnails(QWidget* AOwner) : TCustomControl(AOwner)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    FSelectedSlide.SetSize(FMax - FMin + 1);
    resize(260, 400);
}

TThumbnails::~TThumbnails() = default;

template <class T> void TThumbnails::Set(T& field, T v)
{
    if (Store(field, v))
        Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Appearance

void TThumbnails::SetAntiAlias(bool v) { Set(FAntiAlias, v); }
void TThumbnails::SetColorBackGnd(TColor v) { Set(FColorBG, v); }
void TThumbnails::SetColorCover(TColor v) { Set(FColorCover, v); }
void TThumbnails::SetColorFocus(TColor v) { Set(FColorHilite, v); }
void TThumbnails::SetColorMark(TColor v) { Set(FMarkColor, v); }
void TThumbnails::SetColorSelected(TColor v) { Set(FColorSelected, v); }
void TThumbnails::SetFrameStyle(TFrameStyle v) { Set(FFrameStyle, ValidFrameStyle(v)); }
void TThumbnails::SetInnerFrameStyle(TFrameStyle v) { Set(FInnerFrameStyle, ValidFrameStyle(v)); }
void TThumbnails::SetOuterFrameStyle(TFrameStyle v) { Set(FOuterFrameStyle, ValidFrameStyle(v)); }

void TThumbnails::SetColorScheme(TColorScheme v)
{
    if (!Store(FColorScheme, v))
        return;
    const bool plain = FColorScheme == csGrayWhite;
    FColGrayLine = plain ? clGray : clBtnShadow;
    FColWhiteLine = plain ? clWhite : clBtnHighlight;
    Invalidate();
}

void TThumbnails::SetFocusLinewidth(int v)
{
    if (!Store(FHiliteThickness, std::clamp(v, 0, 10)))
        return;
    if (FHiliteThickness == 0)
        FocusSlide(NoSlide());
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Geometry and scrolling

void TThumbnails::SetGeometry(int& field, int v)
{
    if (!Store(field, v))
        return;
    UpdateLayout();
    SlidesChanged();
}

void TThumbnails::SetSlideDistance(int v) { SetGeometry(FSlideDist, std::clamp(v, 0, 100)); }
void TThumbnails::SetSlideMargin(int v) { SetGeometry(FSlideMargin, std::clamp(v, 0, 100)); }

void TThumbnails::SetSlideSize(int v)
{
    v = std::max(v, 50);
    SetGeometry(FThumbBaseSize, std::min(v, width()));
}

int TThumbnails::Pitch() const
{
    return FThumbBaseSize + FSlideDist + 2 * FSlideMargin;
}

int TThumbnails::RowOffset() const
{
    return int(Round((FFirstThumbIx - std::floor(FFirstThumbIx)) * Pitch()));
}

int TThumbnails::NumSlidesHoriz() const
{
    const int p = Pitch();
    return p > 0 ? std::max(1, (width() + FSlideDist - 2 * Border) / p) : 1;
}

int TThumbnails::NumSlidesVert() const
{
    const int p = Pitch();
    return p > 0 ? height() / p + 1 : 0;
}

void TThumbnails::UpdateLayout()
{
    if (Store(FNumSldX, NumSlidesHoriz()))
        StorePosition(FFirstThumbIx);
}

double TThumbnails::NormalisedPosition(double x) const
{
    const int n = NumSlidesHoriz();
    x = std::clamp(x, double(FMin), double(FMax));
    const std::int64_t rowStart = FMin + n * ((std::int64_t(std::floor(x)) - FMin) / n);
    return double(rowStart) + (x - double(rowStart)) / n;
}

bool TThumbnails::StorePosition(double x)
{
    if (std::isnan(x) || !Store(FFirstThumbIx, NormalisedPosition(x)))
        return false;
    emit scrolled(FFirstThumbIx);
    return true;
}

void TThumbnails::SetFirstThumbIdx(double x)
{
    UpdateLayout();
    if (StorePosition(x))
        SlidesChanged();
}

void TThumbnails::ScrollRows(double Rows)
{
    if (std::isnan(Rows))
        return;
    UpdateLayout();
    const int n = NumSlidesHoriz();
    const double rowStart = std::floor(FFirstThumbIx);
    const double row = std::max(0.0, (rowStart - FMin) / n + (FFirstThumbIx - rowStart) + Rows);
    const double wholeRows = std::floor(row);
    SetFirstThumbIdx(FMin + n * wholeRows + (row - wholeRows) * n);
}

void TThumbnails::Resized()
{
    UpdateLayout();
    AccessiblePartsChanged();
}

void TThumbnails::SlidesChanged()
{
    Invalidate();
    AccessiblePartsChanged();
    AccessibleValueChanged();   // the slide under the mouse may be selected now
}

int TThumbnails::CalcSlideIndex(int XPos, int YPos) const
{
    const std::int64_t p = Pitch();
    const int w = width(), h = height(), extent = FThumbBaseSize + 2 * FSlideMargin;
    if (p <= 0 || XPos < Border || XPos > w - Border || YPos < Border || YPos > h - Border)
        return NoSlide();
    const std::int64_t b = (XPos - Border) / p;
    const std::int64_t left = b * p + Border;
    const int n = NumSlidesHoriz();
    if (XPos > left + extent || b + 1 > n)
        return NoSlide();
    const std::int64_t o = RowOffset();
    // Truncating division, as the row test below expects: a point in the gap above the first
    // row gives row 1 and then fails the test.
    const std::int64_t e = (YPos + o - FSlideDist - Border) / p;
    const std::int64_t top = e * p + FSlideDist - o + Border;
    if (YPos < top || YPos > top + extent)
        return NoSlide();
    const std::int64_t k = std::int64_t(std::floor(FFirstThumbIx)) + n * e + b;
    return InRange(k) ? int(k) : NoSlide();
}

void TThumbnails::CalcSlidePos(int SldNum, int& XPos, int& YPos) const
{
    const std::int64_t p = Pitch(), n = NumSlidesHoriz();
    const std::int64_t d = SldNum - std::int64_t(std::floor(FFirstThumbIx));
    const std::int64_t row = FloorDiv(d, n);
    XPos = ClampToInt(p * (d - row * n) + Border);
    YPos = ClampToInt(p * row + FSlideDist - RowOffset() + Border);
}

// ---------------------------------------------------------------------------------------------
// Range and selection

void TThumbnails::SetMin(int v)
{
    std::int64_t newMax = std::max<std::int64_t>(FMax, v);
    SetRange(std::max<std::int64_t>(v, newMax - MaxSlideCount + 1), newMax);
}

void TThumbnails::SetMax(int v)
{
    v = std::max(v, 1);
    const std::int64_t newMin = std::min(FMin, v);
    SetRange(newMin, std::min<std::int64_t>(v, newMin + MaxSlideCount - 1));
}

void TThumbnails::SetRange(std::int64_t NewMin, std::int64_t NewMax)
{
    if (NewMin == FMin && NewMax == FMax)
        return;
    const bool hadFocus = InRange(FLastHiLite);
    const bool hadClick = InRange(FLastClickedSlide);
    const int oldMin = FMin;
    FMin = int(NewMin);
    FMax = int(NewMax);
    if (FMin == oldMin) {
        FSelectedSlide.SetSize(FMax - FMin + 1);
    } else {
        std::vector<int> kept;
        for (int bit = FSelectedSlide.FirstTrueBit(); bit >= 0; bit = FSelectedSlide.NextTrueBit(bit + 1))
            if (InRange(std::int64_t(oldMin) + bit))
                kept.push_back(oldMin + bit - FMin);
        FSelectedSlide.SetSize(0);
        FSelectedSlide.SetSize(FMax - FMin + 1);
        for (int bit : kept)
            FSelectedSlide.SetBit(bit, true);
    }
    if (!hadClick || !InRange(FLastClickedSlide))
        FLastClickedSlide = NoSlide();
    const int oldFocus = FLastHiLite;
    if (!hadFocus || !InRange(FLastHiLite))
        FLastHiLite = NoSlide();
    StorePosition(FFirstThumbIx);
    SlidesChanged();
    if (FLastHiLite != oldFocus)
        Notify(this, OnFocusChange, &TThumbnails::focusChanged);
}

bool TThumbnails::SlideSelected(int SldNum) const
{
    return FSelectedSlide.GetBit(int(std::int64_t(SldNum) - FMin));
}

void TThumbnails::SetSlideSelected(int SldNum, bool Value)
{
    if (!InRange(SldNum) || SlideSelected(SldNum) == Value)
        return;
    FSelectedSlide.SetBit(SldNum - FMin, Value);
    SlidesChanged();
}

void TThumbnails::ResetAllSelections()
{
    FSelectedSlide.Clear();
    SlidesChanged();
}

int TThumbnails::FirstSelectedSlide() const
{
    const int bit = FSelectedSlide.FirstTrueBit();
    return bit < 0 ? NoSlide() : FMin + bit;
}

int TThumbnails::NumSlidesSelected() const
{
    return FSelectedSlide.CountTrueBits();
}

void TThumbnails::SetSlideSelectMode(TSlideSelectMode v)
{
    if (!Store(FSelectMode, v > ssmMultiple ? ssmSingle : v))
        return;
    FSelectedSlide.Clear();
    SlidesChanged();
}

// ---------------------------------------------------------------------------------------------
// Mouse, keys and wheel

void TThumbnails::FocusSlide(int SldNum)
{
    if (SldNum == FLastHiLite)
        return;
    ResetLastHiLite();
    HiLite(SldNum);
    FLastHiLite = SldNum;
    Notify(this, OnFocusChange, &TThumbnails::focusChanged);
    AccessibleValueChanged();
}

void TThumbnails::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FHiliteThickness > 0)
        FocusSlide(CalcSlideIndex(X, Y));
}

void TThumbnails::MouseLeave()
{
    TCustomControl::MouseLeave();
    FocusSlide(NoSlide());
}

void TThumbnails::SelectOnClick(int SldNum)
{
    const bool slide = InRange(SldNum);
    switch (FSelectMode) {
    case ssmSingle:
        FSelectedSlide.Clear();
        if (slide)
            FSelectedSlide.SetBit(SldNum - FMin, true);
        break;
    case ssmMultiple:
        if (slide)
            FSelectedSlide.SetBit(SldNum - FMin, !SlideSelected(SldNum));
        break;
    case ssmDisabled:
        return;
    }
    FLastClickedSlide = SldNum;
    SlidesChanged();
}

void TThumbnails::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || (X == -1 && Y == -1))
        return;
    const int n = CalcSlideIndex(X, Y);
    // The release that ends a double click would toggle the slide back in multiple mode.
    if (!(FAfterDoubleClick && FSelectMode == ssmMultiple))
        SelectOnClick(n);
    FAfterDoubleClick = false;
    Notify(this, OnImageClick, &TThumbnails::imageClicked, X, Y, n);
}

void TThumbnails::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Shift.Contains(ssDouble))
        return;
    FAfterDoubleClick = true;
    Notify(this, OnImageDblClick, &TThumbnails::imageDoubleClicked, X, Y, CalcSlideIndex(X, Y));
}

void TThumbnails::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const double before = FFirstThumbIx;
    const int p = Pitch();
    switch (Key) {
    case VK_UP: ScrollRows(-RowsPerStep); break;
    case VK_DOWN: ScrollRows(RowsPerStep); break;
    case VK_PRIOR: if (p > 0) ScrollRows(-double(height() - 2 * Border) / p); break;
    case VK_NEXT: if (p > 0) ScrollRows(double(height() - 2 * Border) / p); break;
    case VK_HOME: SetFirstThumbIdx(FMin); break;
    case VK_END: SetFirstThumbIdx(FMax); break;
    default: return;
    }
    if (FFirstThumbIx != before)
        Key = 0;
}

bool TThumbnails::DoMouseWheel(TShiftState Shift, int WheelDelta, QPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    const double before = FFirstThumbIx;
    ScrollRows(-WheelDelta / WheelNotch * RowsPerStep);
    if (FFirstThumbIx == before)
        return false;
    // The slide under the mouse changed with the scroll.
    if (FHiliteThickness > 0)
        FocusSlide(CalcSlideIndex(MousePos.x(), MousePos.y()));
    return true;
}

// ---------------------------------------------------------------------------------------------
// Assign and accessibility

void TThumbnails::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TThumbnails*>(Source);
    if (!src) {
        TCustomControl::Assign(Source);
        return;
    }
    if (src == this)
        return;
    FFrameStyle = src->FFrameStyle;
    FOuterFrameStyle = src->FOuterFrameStyle;
    FInnerFrameStyle = src->FInnerFrameStyle;
    FColorBG = src->FColorBG;
    FColBlackLine = src->FColBlackLine;
    FColGrayLine = src->FColGrayLine;
    FColWhiteLine = src->FColWhiteLine;
    FColorScheme = src->FColorScheme;
    FThumbBaseSize = src->FThumbBaseSize;
    FSlideDist = src->FSlideDist;
    FSlideMargin = src->FSlideMargin;
    OnImageRequest = src->OnImageRequest;
    OnImageClick = src->OnImageClick;
    OnImageDblClick = src->OnImageDblClick;
    OnFocusChange = src->OnFocusChange;
    OnFirstImageRequest = src->OnFirstImageRequest;
    OnLastImageRequest = src->OnLastImageRequest;
    FAntiAlias = src->FAntiAlias;
    FColorCover = src->FColorCover;
    FColorSelected = src->FColorSelected;
    FColorHilite = src->FColorHilite;
    FHiliteThickness = src->FHiliteThickness;
    // The range through its writer, so the selection keeps its slides; then the position as
    // the source holds it (normalised for this control's width at the next layout).
    SetRange(src->FMin, src->FMax);
    FNumSldX = src->FNumSldX;
    if (Store(FFirstThumbIx, src->FFirstThumbIx))
        emit scrolled(FFirstThumbIx);
    const int oldFocus = FLastHiLite;
    FLastHiLite = src->FLastHiLite;
    SlidesChanged();
    if (FLastHiLite != oldFocus)
        Notify(this, OnFocusChange, &TThumbnails::focusChanged);
}

void TThumbnails::AssignTo(QObject* Dest) const
{
    if (!AssignToSameClass<TThumbnails>(Dest))
        TCustomControl::AssignTo(Dest);
}

// The parts are the slides of the painted grid from the top row's first, in number order.
int TThumbnails::AccessiblePartCount() const
{
    const std::int64_t first = std::int64_t(std::floor(FFirstThumbIx));
    const std::int64_t last = std::min<std::int64_t>(FMax, first + std::int64_t(NumSlidesHoriz()) * NumSlidesVert() - 1);
    return int(std::max<std::int64_t>(0, last - first + 1));
}

TAccessiblePart TThumbnails::AccessiblePart(int Index) const
{
    const int k = int(std::floor(FFirstThumbIx)) + Index;
    int x = 0, y = 0;
    CalcSlidePos(k, x, y);
    const int extent = FThumbBaseSize + 2 * FSlideMargin + 1;
    const QRect slideArea(QPoint(Border, Border), QPoint(width() - Border, height() - Border));
    TAccessiblePart part;
    part.Role = QAccessible::ListItem;
    part.Name = SlideText(k);
    part.Rect = QRect(x, y, extent, extent) & slideArea;
    part.Actions = QStringList{QAccessibleActionInterface::pressAction()};
    return part;
}

QString TThumbnails::SlideText(int SldNum) const
{
    QString text = QStringLiteral("Slide %1").arg(SldNum);
    if (SlideSelected(SldNum))
        text += QStringLiteral(", selected");
    return text;
}

QString TThumbnails::AccessibleText() const
{
    return InRange(FLastHiLite) ? SlideText(FLastHiLite) : QString();
}

// Pressing a slide clicks its centre.
void TThumbnails::DoAccessiblePartAction(int Index, const QString& Action)
{
    if (Action != QAccessibleActionInterface::pressAction() || Index < 0 || Index >= AccessiblePartCount())
        return;
    const QPoint centre = AccessiblePart(Index).Rect.center();
    const int k = int(std::floor(FFirstThumbIx)) + Index;
    SelectOnClick(k);
    Notify(this, OnImageClick, &TThumbnails::imageClicked, centre.x(), centre.y(), k);
}

void TThumbnails::AccessibleState(QAccessible::State& s) const
{
    s.multiSelectable = FSelectMode == ssmMultiple;
    s.readOnly = true;
}

} // namespace qor
