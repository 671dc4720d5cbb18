// TMarkSel: picks one of the 52 marker symbols (0..51, QOR_qorbase.h) from a grid; the symbol
// nearest the pointer is highlighted, a click selects it. Symbol 0 may show as a cross.
//
// Layout (W x H the control): DH = (W - 4) div NrOfColumns, DV = (H - 4) div NrOfRows, the
// margins MH = DH div 2, MV = DV div 2. The shown symbols take the cells row by row in the
// order 0..51 (hidden ones leave no gap): the n-th shown symbol (n from 0) sits at
// X = MH + DH (n mod NrOfColumns), Y = MV + DV (n div NrOfColumns). Cells beyond NrOfRows rows
// are not visible: their symbols are neither drawn nor picked.
//
// Painting:
//  1. colours: enabled ColorMarks, ColorSelFG, ColorBackGnd, ColorSelBG; disabled $808080
//     (symbols and selection pen), $C0C0C0 (background), $DEDEDE (selection fill);
//  2. the background rectangle (0, 0, W, H);
//  3. the selected symbol's cell, pen ColorSelFG and brush ColorSelBG, the rectangle
//     (X - DH div 2 + 3, Y - DV div 2 + 3, X + DH div 2 + 3, Y + DV div 2 + 3), its symbol in
//     ColorSelFG; every other symbol in ColorMarks at (X + 2, Y + 2); symbol 0 with
//     ShowZeroAsCross the lines (4, 4)-(DH + 1, DV + 1) and (4, DV)-(DH + 1, 3);
//  4. the frame of FrameStyle on (0, 0, W - 1, H - 1) in $FFFFFF, $C0C0C0, $808080, $000000 and
//     the symbol colour;
//  5. the highlighted symbol: pen and brush ColorHiLiteBG, the rectangle
//     (X - DH div 2 + 4, Y - DV div 2 + 4, X + DH div 2 + 2, Y + DV div 2 + 2), the symbol in
//     ColorHiLiteSymbol; then OnPaint.
//
// The nearest symbol to a point: the visible symbol with the smallest squared distance to its
// position (in 64 bits), a later one winning only when strictly nearer, starting from 10^10,
// so that a point 10^5 or more from every symbol gives 0. Moving the pointer highlights the
// nearest symbol; leaving the control takes the highlight away. A left release (or a double
// click) selects the nearest symbol, fires OnMarkClick (or OnMarkDblClick) and the signal
// markClicked (markDoubleClicked) with the point and the symbol.
// Keyboard (the selector takes the focus by Tab only): the arrows, Home and End move the
// highlight over the visible symbols, Space and Enter select the highlighted one as a click on
// it would.
#pragma once

#include <QOR_Controls.h>
#include <QOR_Graphics.h>
#include <QOR_qorbase.h>

#include <array>
#include <cstdint>
#include <functional>

namespace qor {

// A symbol was picked: (X, Y) is the pointer position, Mark the symbol (0 .. 51).
using TMarkClickEvent = std::function<void(QObject* Sender, int X, int Y, int Mark)>;

// The marker selector control (see above).
class KORVANE_EXPORT TMarkSel : public TGraphicControl {
    Q_OBJECT
public:
    QOR_COLOR_PROPERTY(ColorBackGnd)
    QOR_COLOR_PROPERTY(ColorHiLiteBG)
    QOR_COLOR_PROPERTY(ColorHiLiteSymbol)
    QOR_COLOR_PROPERTY(ColorMarks)
    QOR_COLOR_PROPERTY(ColorSelBG)
    QOR_COLOR_PROPERTY(ColorSelFG)
    QOR_PROPERTY(qor::QOR_qorbase::TFrameStyle, FrameStyle)
    QOR_PROPERTY(int, NrOfColumns)
    QOR_PROPERTY(int, NrOfRows)
    QOR_PROPERTY_NOTIFY(int, Selected, selectedChanged)
    QOR_PROPERTY(bool, ShowZeroAsCross)

    // A 236 x 178 grid with every symbol shown; it takes the focus by Tab only.
    explicit TMarkSel(QWidget* AOwner = nullptr);
    ~TMarkSel() override;

    // --- published properties
    TColor ColorBackGnd() const { return FColorBG; }
    void SetColorBackGnd(TColor v);
    TColor ColorHiLiteBG() const { return FColorHiLite; }
    void SetColorHiLiteBG(TColor v);
    TColor ColorHiLiteSymbol() const { return FColorHiSymb; }
    void SetColorHiLiteSymbol(TColor v);
    TColor ColorMarks() const { return FColorFG; }
    void SetColorMarks(TColor v);
    TColor ColorSelBG() const { return FColorSelBG; }
    void SetColorSelBG(TColor v);
    TColor ColorSelFG() const { return FColorSelFG; }
    void SetColorSelFG(TColor v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    int NrOfColumns() const { return FNrCols; }
    void SetNrOfColumns(int v);   // 1..51
    int NrOfRows() const { return FNrRows; }
    void SetNrOfRows(int v);      // 1..51
    int Selected() const { return FSelected; }
    void SetSelected(int v);      // -1 (none) .. 51
    bool ShowZeroAsCross() const { return FZeroAsCross; }
    void SetShowZeroAsCross(bool v);

    // --- visibility of the symbols; symbol 0 is always shown
    // Shows all 52 symbols.
    void ShowAllMarks();
    // Hides every symbol but symbol 0; a hidden symbol loses the highlight.
    void HideAllMarks();
    // Reads symbol 0 for an index outside 0..51; writes only 1..51.
    bool MarkVisible(int ix) const;
    // Shows or hides symbol ix (1 .. 51; other indices are ignored).
    void SetMarkVisible(int ix, bool v);

    // --- layout
    // The position of a symbol, and whether it lies in a visible cell (false for hidden ones).
    bool MarkPosition(int Mark, QPoint& Pos) const;
    // The visible symbol nearest to (X, Y) by the rule above.
    int NearestMark(int X, int Y) const;
    // The highlighted symbol, -1 for none.
    int HighlightedMark() const { return FLastHiLite; }

    // Fires when a left release or Space/Enter selected a symbol; then markClicked().
    TMarkClickEvent OnMarkClick;
    // Fires when a double click selected a symbol; then markDoubleClicked().
    TMarkClickEvent OnMarkDblClick;
    // Fires at the end of each paint; then painted().
    TNotifyEvent OnPaint;

    // Accessibility: a list that reads the selected marker as its text ("12: filled square,
    // medium"; empty while none is selected).
    QAccessible::Role AccessibleRole() const override { return QAccessible::List; }
    bool AccessibleShowsText() const override { return true; }
    // "<number>: <name>" of the selected symbol; empty while none is selected.
    QString AccessibleText() const override;

Q_SIGNALS:
    // The selected symbol changed (by the user or SetSelected); carries it, -1 for none.
    void selectedChanged(int mark);
    // Emitted after OnMarkClick, with the same arguments.
    void markClicked(int x, int y, int mark);
    // Emitted after OnMarkDblClick, with the same arguments.
    void markDoubleClicked(int x, int y, int mark);
    // Emitted after OnPaint.
    void painted();

protected:
    void Paint() override;
    void DrawMarks(TCanvas* Canvas);
    void HiLite(int Mark);
    void ResetLastHiLite();
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void FocusChanged(bool Focused) override;

private:
    struct TColors {
        TColor Symbol, SelPen, Background, SelFill;
    };
    TColors CurrentColors() const;
    void Layout() const;
    // Draws a symbol (the cross for 0 with ShowZeroAsCross) in the canvas pen.
    void DrawSymbol(TCanvas* c, int Mark) const;
    // The cell rectangle of a symbol, inset by Near on the top-left and Far on the bottom-right.
    QRect CellRect(int Mark, int Near, int Far) const;
    // Selects a symbol as a click at (X, Y) does, firing Event and Signal.
    void PickMark(int X, int Y, const TMarkClickEvent& Event, void (TMarkSel::*Signal)(int, int, int));
    void MoveHighlight(int Mark);
    void MarksChanged();
    template <class T> void Set(T& field, const T& v);

    std::array<bool, NumMarkers> FMarkVis{};
    // Layout of the last size and settings; Visible = in a visible cell.
    struct TMarkPlace {
        QPoint Pos;
        bool Visible = false;
    };
    mutable std::array<TMarkPlace, NumMarkers> FMarkCoords{};
    mutable bool FLayoutValid = false;
    mutable QSize FLayoutSize;
    mutable int FMarkMarginHorz = 0, FMarkMarginVert = 0, FMarkDistHorz = 0, FMarkDistVert = 0;
    TColor FColorBG = clBtnFace;
    TColor FColorFG = clBlack;
    TColor FColorSelFG = 0x800000;
    TColor FColorSelBG = clWhite;
    int FSelected = -1;
    TFrameStyle FFrameStyle = fsEngraved;
    int FLastHiLite = -1;
    TColor FColorHiLite = 0x0000FF;
    TColor FColorHiSymb = clWhite;
    int FNrCols = 8;
    int FNrRows = 6;
    bool FZeroAsCross = true;
};

} // namespace qor
