// Texts shaped once and kept for the next paints. A component that draws the same short texts
// paint after paint (day numbers, names, captions) measures and lays each out once per font
// instead of on every TextWidth and TextRect.
#pragma once

#include "QOR_Graphics.h"

#include <QHash>
#include <QPen>
#include <QStaticText>
#include <QString>

namespace qor {

// Per-component cache of measured and laid-out texts: the entries are dropped when the canvas
// font changes, and all at once when their number would pass 4096.
class KORVANE_EXPORT TTextCache {
public:
    // Canvas->TextWidth(s).
    int TextWidth(TCanvas* Canvas, const QString& s);
    // Canvas->TextRect(Rect, X, Y, s) with the text in Color rather than the font's colour:
    // fills Rect with the canvas brush (unless it is clear) and draws s with the top-left of
    // its text cell at (X, Y), clipped to Rect.
    void TextRect(TCanvas* Canvas, const QRect& Rect, int X, int Y, const QString& s, TColor Color);

private:
    struct Entry {
        int Width = 0;
        QStaticText Static;
    };
    const Entry& Get(TCanvas* Canvas, const QString& s);
    // Whether the entries were made in the canvas's font (its colour aside).
    bool SameFont(const TFont& f) const;

    static constexpr int MaxEntries = 4096;
    QHash<QString, Entry> FEntries;
    TFont FFont;
    QPen FPen;
};

} // namespace qor
