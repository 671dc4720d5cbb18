#include "QOR_TextCache.h"

#include <QPainter>

namespace qor {

bool TTextCache::SameFont(const TFont& f) const
{
    return f.Name() == FFont.Name() && f.Height() == FFont.Height() && f.Style() == FFont.Style()
        && f.Orientation() == FFont.Orientation() && f.Quality() == FFont.Quality();
}

const TTextCache::Entry& TTextCache::Get(TCanvas* Canvas, const QString& s)
{
    if (!SameFont(*Canvas->Font()) || FEntries.size() >= MaxEntries) {
        FEntries.clear();
        FFont.Assign(*Canvas->Font());
    }
    auto it = FEntries.constFind(s);
    if (it == FEntries.constEnd()) {
        Entry e;
        e.Width = Canvas->TextWidth(s);
        e.Static.setText(s);
        e.Static.setTextFormat(Qt::PlainText);
        e.Static.setPerformanceHint(QStaticText::AggressiveCaching);
        it = FEntries.insert(s, e);
    }
    return *it;
}

int TTextCache::TextWidth(TCanvas* Canvas, const QString& s)
{
    return Get(Canvas, s).Width;
}

void TTextCache::TextRect(TCanvas* Canvas, const QRect& Rect, int X, int Y, const QString& s, TColor Color)
{
    Canvas->FillRect(Rect);
    if (s.isEmpty())
        return;
    const Entry& e = Get(Canvas, s);
    QPainter* p = Canvas->Painter();
    if (!p)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QColor color = ToQColor(Color);
    if (FPen.color() != color)
        FPen = QPen(color);
    p->setPen(FPen);
    if (Rect.contains(QRect(X, Y, e.Width, Canvas->TextHeight(s)))) {
        p->drawStaticText(QPoint(X, Y), e.Static);
        return;
    }
    p->save();
    p->setClipRect(Rect, Qt::IntersectClip);
    p->drawStaticText(QPoint(X, Y), e.Static);
    p->restore();
}

} // namespace qor
