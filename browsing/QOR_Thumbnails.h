// TThumbnails: a scrollable grid of numbered slides Min..Max. It holds no pictures: for every
// slide it draws, it asks the application through OnImageRequest for a picture and for how to
// show the slide, then draws a cover, a frame, the picture scaled into a square with its aspect
// ratio kept, and a marker. It highlights the slide under the mouse, keeps a selection and
// reports clicks with the slide number.
//
// Geometry. m = SlideMargin, S = SlideSize, D = SlideDistance, pitch P = S + D + 2m, W x H the
// control's size. N = NumSlidesHoriz = max(1, (W + D - 20) div P), NumSlidesVert = H div P + 1.
// The scroll position F = FirstThumbIdx: Trunc(F) is the first slide of the top row, Frac(F)
// the part of a row scrolled out at the top, o = Round(Frac(F) P) (halves to even). Slide k in
// column i, row j (from 1) is k = Trunc(F) + N (j - 1) + i - 1 and covers
//   X = (i - 1) P + 10,   Y = (j - 1) P + D - o + 10,   X2 = X + S + 2m,   Y2 = Y + S + 2m.
// Writing F = x limits x to Min..Max, finds the first slide of x's row,
// s = Min + N ((Trunc(x) - Min) div N), and stores s + (x - s) / N; when N changes (a resize,
// a geometry writer, the next paint) the stored position is normalised again. For positions
// below 0 (Min < 0) Trunc and Frac round down (floor), so that s stays a row start. A pitch of
// 0 (S limited to a width of 0 with D = m = 0) has room for no slide: nothing is drawn or hit.
// CalcSlidePos places slides above the top row in the rows above (rounding down as well).
//
// Painting, into the surface of W x H (the control's font):
//  1. background ColorBackGnd over (0, 0, W, H);
//  2. OnFirstImageRequest; then column by column (i = 1..N), row by row (j = 1..NumSlidesVert),
//     every slide k in Min..Max: HowToProcess = irpShowEmpty, MarkIt = -1 and an empty buffer,
//     then OnImageRequest(k, HowToProcess, MarkIt, buffer), then
//     - unless irpShowNothing: the cover, rectangle (X, Y, X2 + 1, Y2 + 1) in ColorSelected
//       (selected slide) or ColorCover, and the OuterFrameStyle frame on (X, Y, X2, Y2);
//     - irpShowEmpty: a white black-outlined panel (X + m, Y + m + 20, X2 - m, Y2 - m - 20) and
//       the number k in black, centred on ((X + X2) div 2, (Y + Y2) div 2);
//     - irpShowSlide with a picture of w x h in the buffer: with f = Round(w S / h) for a
//       portrait picture (w < h) it fills (X + m + (S - f) div 2, Y + m, ... + f, Y2 - m), any
//       other with f = Round(h S / w) fills (X + m, Y + m + (S - f) div 2, X2 - m, ... + f);
//       nearest-pixel scaling, smooth with AntiAlias; then the InnerFrameStyle frame on the
//       picture's rectangle;
//     - irpShowFrameOnly: the cover and the frame only;
//     - MarkIt <> -1: marker MarkIt in ColorMark centred on (X + 10, Y + 12);
//     - OnSlideRendered(canvas, X, Y, k);
//     then OnLastImageRequest;
//  3. the highlight rings of FocusedSlide (see below);
//  4. the bands (0, 0, W, 10) and (0, H - 10, W, H) in ColorBackGnd, and the FrameStyle frame
//     on (0, 0, W - 2, H - 2).
// Frames are DrawFrame's (QOR_qorbase.h) with the colours $FFFFFF, $C0C0C0, $808080, $000000
// and $000000. ColorScheme sets the line colours ColBlackLine/ColGrayLine/ColWhiteLine as every
// framed control does; the drawing uses the fixed colours above.
//
// Highlight. For the slide n under the mouse, with (x, y) = CalcSlidePos(n): the rings
// i = 1..FocusLinewidth outline (l + i - 1, t + i - 1, r - i + 1, b - i + 1) in ColorFocus with
// l = x + 2, t = max(y + 2, 2), r = x + 2m + S - 2, b = min(y + 2m + S - 2, H - 3). Moving the
// mouse redraws the rings of the slide it leaves in its cover colour and the rings of the new
// slide, then the bands (2, 2, W - 2, 10) and (2, H - 10, W - 2, H - 2) in ColorBackGnd and
// the control's frame, straight on the surface: no picture is requested again. The frame is
// drawn again after the bands because the bands overlap its inner line. Since a repaint draws
// the rings too, the highlight survives a repaint; leaving the control ends it.
//
// Slide numbers. A value that is no slide (a click between slides, nothing highlighted,
// FirstSelectedSlide with nothing selected) is NoSlide(): 0, or Min - 1 when Min <= 0 makes 0
// a slide. Min <= Max always holds: writing Min above Max raises Max with it, writing Max below
// Min (or below 1) lowers Min with it. At most MaxSlideCount slides: a write that would give
// more is limited. The selection is one bit per slide; it stays with its slides when Min or Max
// change, and the scroll position stays within Min..Max.
//
// Input. A left click selects: in ssmSingle the clicked slide becomes the only selected one, in
// ssmMultiple it toggles (the release that ends a double click does not toggle again), in
// ssmDisabled nothing changes; then OnImageClick (also for NoSlide()). A left double click fires
// OnImageDblClick. The control takes the keyboard focus: Up and Down scroll a quarter row, Page
// Up and Page Down the height of the slide area (H - 20 pixels), Home and End to Min and Max;
// the wheel scrolls a quarter row per notch (a wheel that cannot scroll further goes on to the
// parent).
//
// The picture buffer belongs to the control: it is empty at each request and whatever the
// handler leaves in it is drawn and dropped. A handler that keeps pictures hands one over
// without copying its pixels with ImgBuffer.SetImage(cached.Image()).
//
// Accessibility: a list whose items are the slides on screen, each named "Slide k" ("Slide k,
// selected" while selected) with a press action that clicks it; the list shows the text of the
// slide under the mouse (FocusedSlide), empty while there is none.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_dstruct.h>
#include <QOR_qorbase.h>

#include <QObject>
#include <cstdint>
#include <functional>

namespace qor {

inline namespace QOR_Thumbnails {
Q_NAMESPACE_EXPORT(KORVANE_EXPORT)
// What a click does to the selection.
enum TSlideSelectMode : std::uint8_t { ssmDisabled, ssmSingle, ssmMultiple };
Q_ENUM_NS(TSlideSelectMode)
// How a slide is shown, as OnImageRequest answers.
enum TImageRequestProcessing : std::uint8_t { irpShowEmpty, irpShowSlide, irpShowFrameOnly, irpShowNothing };
Q_ENUM_NS(TImageRequestProcessing)
} // namespace QOR_Thumbnails

// Asks for the picture of slide ThumbID: the handler sets HowToProcess, MarkIt (a marker
// number, -1 for none) and fills ImgBuffer, which the control owns and empties before each call.
using TImageRequestEvent = std::function<void(QObject* Sender, int ThumbID, TImageRequestProcessing& HowToProcess,
                                              int& MarkIt, TBitmap& ImgBuffer)>;
// A click at (X, Y) on slide ThumbID (NoSlide() between slides).
using TImageClickEvent = std::function<void(QObject* Sender, int X, int Y, int ThumbID)>;
// After a slide was drawn: Canvas is the surface being painted, (X, Y) the slide's corner.
using TSlideRenderedEvent = std::function<void(QObject* Sender, TCanvas* Canvas, int X, int Y, int ThumbID)>;

// The thumbnail pane control (see above).
class KORVANE_EXPORT TThumbnails : public TCustomControl {
    Q_OBJECT
public:
    QOR_PROPERTY(bool, AntiAlias)
    QOR_COLOR_PROPERTY(ColorBackGnd)
    QOR_COLOR_PROPERTY(ColorCover)
    QOR_COLOR_PROPERTY(ColorFocus)
    QOR_COLOR_PROPERTY(ColorMark)
    QOR_PROPERTY(qor::QOR_qorbase::TColorScheme, ColorScheme)
    QOR_COLOR_PROPERTY(ColorSelected)
    QOR_PROPERTY(int, FocusLinewidth)
    Q_PROPERTY(int FocusedSlide READ FocusedSlide NOTIFY focusChanged)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, InnerFrameStyle)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, OuterFrameStyle)
    QOR_PROPERTY(int, Max)
    QOR_PROPERTY(int, Min)
    QOR_PROPERTY(int, SlideDistance)
    QOR_PROPERTY(int, SlideMargin)
    QOR_PROPERTY(qor::QOR_Thumbnails::TSlideSelectMode, SlideSelectMode)
    QOR_PROPERTY(int, SlideSize)

    // The most slides a pane holds (its selection takes a bit each).
    static constexpr int MaxSlideCount = 100'000'000;
    // The width of the bands and borders around the slide grid.
    static constexpr int Border = 10;

    // A 260 x 400 pane of slides 1 .. 100, 120 pixels each, nothing selected; it takes the
    // focus by click and Tab.
    explicit TThumbnails(QWidget* AOwner = nullptr);
    ~TThumbnails() override;

    // --- published properties
    bool AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(bool v);
    TColor ColorBackGnd() const { return FColorBG; }
    void SetColorBackGnd(TColor v);
    TColor ColorCover() const { return FColorCover; }
    void SetColorCover(TColor v);
    TColor ColorFocus() const { return FColorHilite; }
    void SetColorFocus(TColor v);
    TColor ColorMark() const { return FMarkColor; }
    void SetColorMark(TColor v);
    TColorScheme ColorScheme() const { return FColorScheme; }
    void SetColorScheme(TColorScheme v);
    TColor ColorSelected() const { return FColorSelected; }
    void SetColorSelected(TColor v);
    int FocusLinewidth() const { return FHiliteThickness; }
    void SetFocusLinewidth(int v);           // clamped to 0..10; 0 switches the highlight off
    // The highlighted slide, NoSlide() when none.
    int FocusedSlide() const { return FLastHiLite; }
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    TFrameStyle InnerFrameStyle() const { return FInnerFrameStyle; }
    void SetInnerFrameStyle(TFrameStyle v);
    TFrameStyle OuterFrameStyle() const { return FOuterFrameStyle; }
    void SetOuterFrameStyle(TFrameStyle v);
    int Max() const { return FMax; }
    void SetMax(int v);                      // at least 1
    int Min() const { return FMin; }
    void SetMin(int v);
    int SlideDistance() const { return FSlideDist; }
    void SetSlideDistance(int v);            // clamped to 0..100
    int SlideMargin() const { return FSlideMargin; }
    void SetSlideMargin(int v);              // clamped to 0..100
    TSlideSelectMode SlideSelectMode() const { return FSelectMode; }
    void SetSlideSelectMode(TSlideSelectMode v);   // a change clears the selection
    int SlideSize() const { return FThumbBaseSize; }
    void SetSlideSize(int v);                // at least 50, then at most Width

    // --- events (each notification also a signal, emitted right after it)
    // Asked for every slide drawn (see Painting above); without a handler every slide shows
    // empty with its number.
    TImageRequestEvent OnImageRequest;
    // Fires after a left click has updated the selection; then imageClicked().
    TImageClickEvent OnImageClick;
    // Fires on a left double click; then imageDoubleClicked().
    TImageClickEvent OnImageDblClick;
    // Fires after each slide was drawn; then slideRendered().
    TSlideRenderedEvent OnSlideRendered;
    // Fires when FocusedSlide changed; then focusChanged().
    TNotifyEvent OnFocusChange;
    // Fires before the first OnImageRequest of a paint; then firstImageRequested().
    TNotifyEvent OnFirstImageRequest;
    // Fires after the last OnImageRequest of a paint; then lastImageRequested().
    TNotifyEvent OnLastImageRequest;

    // --- scrolling and geometry
    // The scroll position F (see Geometry above): the slide at the start of the top row plus
    // the fraction of a row scrolled out.
    double FirstThumbIdx() const { return FFirstThumbIx; }
    void SetFirstThumbIdx(double x);         // NaN is ignored
    // Slides per row and rows for the control's size (0 rows for a pitch of 0).
    int NumSlidesHoriz() const;
    // Rows drawn: H div P + 1, the last one usually cut off; 0 for a pitch of 0.
    int NumSlidesVert() const;
    // P = SlideSize + SlideDistance + 2 SlideMargin.
    int Pitch() const;
    // The slide under a point, NoSlide() when none.
    int CalcSlideIndex(int XPos, int YPos) const;
    // The top-left corner of slide SldNum in the grid as it is scrolled now.
    void CalcSlidePos(int SldNum, int& XPos, int& YPos) const;
    // The number that stands for no slide: 0, or Min - 1 when Min <= 0.
    int NoSlide() const { return FMin >= 1 ? 0 : FMin - 1; }
    // Scrolls by a number of rows (fractions allowed; negative scrolls back).
    void ScrollRows(double Rows);

    // --- selection
    // Whether slide SldNum is selected; false outside Min .. Max.
    bool SlideSelected(int SldNum) const;
    // Selects or deselects slide SldNum, whatever SlideSelectMode says; ignored outside
    // Min .. Max.
    void SetSlideSelected(int SldNum, bool Value);
    // The same as SlideSelected(SldNum).
    bool GetSelectedSlide(int SldNum) const { return SlideSelected(SldNum); }
    // The same as SetSlideSelected(SldNum, Value).
    void SetSelectedSlide(int SldNum, bool Value) { SetSlideSelected(SldNum, Value); }
    // Deselects every slide.
    void ResetAllSelections();
    // The lowest selected slide, NoSlide() when none is selected.
    int FirstSelectedSlide() const;
    // How many slides are selected.
    int NumSlidesSelected() const;
    // The slide the last selecting click hit (NoSlide() for none, or a click between slides).
    int LastClickedSlide() const { return FLastClickedSlide; }

    // The frame line colours ColorScheme sets.
    TColor ColBlackLine() const { return FColBlackLine; }
    // The grey line colour ColorScheme sets.
    TColor ColGrayLine() const { return FColGrayLine; }
    // The white line colour ColorScheme sets.
    TColor ColWhiteLine() const { return FColWhiteLine; }

    // Copies the frame styles, ColorBackGnd, the line colours, ColorScheme, the scroll
    // position, Min, Max, SlideSize, SlideDistance, SlideMargin,
    // OnImageRequest, OnImageClick, OnImageDblClick, OnFocusChange, OnFirstImageRequest,
    // OnLastImageRequest, AntiAlias, ColorCover, ColorSelected, ColorFocus, the highlighted
    // slide and FocusLinewidth, then repaints. The selection is kept on its slides; the slide
    // counts follow from this control's size.
    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;

    QAccessible::Role AccessibleRole() const override { return QAccessible::List; }
    bool AccessibleShowsText() const override { return true; }
    // "Slide k" (", selected") of FocusedSlide; empty while no slide is highlighted.
    QString AccessibleText() const override;
    void AccessibleState(QAccessible::State& s) const override;
    int AccessiblePartCount() const override;
    // Slide Trunc(F) + Index as a list item: its name, its rectangle within the slide area
    // and the press action.
    TAccessiblePart AccessiblePart(int Index) const override;
    // The press action clicks slide Index as the left button would (selection, OnImageClick);
    // other actions and indices are ignored.
    void DoAccessiblePartAction(int Index, const QString& Action) override;

Q_SIGNALS:
    // Emitted after OnImageClick, with the same arguments.
    void imageClicked(int x, int y, int thumbId);
    // Emitted after OnImageDblClick, with the same arguments.
    void imageDoubleClicked(int x, int y, int thumbId);
    // Emitted after OnSlideRendered, with the same arguments.
    void slideRendered(qor::TCanvas* canvas, int x, int y, int thumbId);
    // Emitted after OnFocusChange.
    void focusChanged();
    // Emitted after OnFirstImageRequest.
    void firstImageRequested();
    // Emitted after OnLastImageRequest.
    void lastImageRequested();
    // The scroll position changed (FirstThumbIdx).
    void scrolled(double firstThumbIdx);

protected:
    void Paint() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, QPoint MousePos) override;
    void Resized() override;
    // Draws the rings of SldNum in ColorFocus straight on the surface.
    void HiLite(int SldNum);
    // Draws the rings of the highlighted slide in its cover colour.
    void ResetLastHiLite();

private:
    struct TSlideBox;
    template <class T> void Set(T& field, T v);
    void SetGeometry(int& field, int v);
    // Normalises the position again when the slides per row changed since it was stored.
    void UpdateLayout();
    // The normalised position for x (see the header); false when x is NaN.
    double NormalisedPosition(double x) const;
    bool StorePosition(double x);
    void SetRange(std::int64_t NewMin, std::int64_t NewMax);
    void FocusSlide(int SldNum);
    bool InRange(std::int64_t SldNum) const { return SldNum >= FMin && SldNum <= FMax; }
    int RowOffset() const;
    void SelectOnClick(int SldNum);
    QString SlideText(int SldNum) const;   // "Slide k", ", selected" added while selected
    // The slides show otherwise (scrolled, selected, laid out): paint again and tell
    // assistive technology.
    void SlidesChanged();
    // Painting (QOR_ThumbnailsPaint.cpp).
    void PaintSlide(TCanvas* c, const TSlideBox& box, int SldNum);
    void PaintPicture(TCanvas* c, const TSlideBox& box, const TBitmap& Picture);
    void PaintRings(TCanvas* c, int SldNum, TColor Color);
    void PaintBorder(TCanvas* c, bool WholeBands);
    void DrawFrameOf(TCanvas* c, TFrameStyle Style, int L, int T, int R, int B);

    TFrameStyle FFrameStyle = fsLowered;
    TColor FColorBG = clBtnFace;
    TColor FColBlackLine = clBlack;
    TColor FColGrayLine = clGray;
    TColor FColWhiteLine = clWhite;
    TColorScheme FColorScheme = csGrayWhite;
    double FFirstThumbIx = 1.0;
    int FMin = 1;
    int FMax = 100;
    int FNumSldX = 2;            // the slides per row the position was normalised for
    int FThumbBaseSize = 120;
    int FSlideDist = 2;
    int FSlideMargin = 7;
    TFrameStyle FOuterFrameStyle = fsRaised;
    TFrameStyle FInnerFrameStyle = fsLowered;
    bool FAntiAlias = false;
    TColor FColorCover = clSilver;
    TColor FColorSelected = clNavy;
    TColor FColorHilite = clBlue;
    TColor FMarkColor = clBlack;
    int FLastHiLite = 0;
    int FHiliteThickness = 1;
    bool FIsWorking = false;
    TBitFld FSelectedSlide;
    TSlideSelectMode FSelectMode = ssmSingle;
    int FLastClickedSlide = 0;
    bool FAfterDoubleClick = false;
};

} // namespace qor
