// TRLData's text exports: the clipboard text (separated or fixed-width) and the HTML table.
#include "QOR_rldata.h"

#include <QOR_Controls.h>
#include <QOR_stringl.h>

#include <QSaveFile>

#include <algorithm>
#include <vector>

namespace qor {

namespace {

QString HtmlEscape(const QString& s)
{
    return s.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;"));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Clipboard

namespace {

// The walk both clipboard forms share: the header line (names, then a blank line) when asked
// for, then one line per row; Field appends one column's text to the line, Separator stands
// between the columns. Every line passes through OnExportText.
template <typename Field>
QString ClipboardLines(const TRLData& d, int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                       const QString& Separator, Field field)
{
    QString text, line;
    auto buildLine = [&](auto textOf, QLatin1String end) {
        line.clear();
        for (int c = LeftCol; c <= RightCol; ++c) {
            if (c > LeftCol)
                line.append(Separator);
            field(line, c, textOf(c));
        }
        line.append(end);
        if (d.OnExportText)
            d.OnExportText(const_cast<TRLData*>(&d), line);
        text.append(line);
    };
    if (AddHeader)
        buildLine([&](int c) { return d.Header(c); }, QLatin1String("\n\n"));
    for (int r = TopRow; r <= BottomRow; ++r)
        buildLine([&](int c) { return d.Elem(c, r); }, QLatin1String("\n"));
    return text;
}

} // namespace

QString TRLData::ClipboardText(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                               const QString& Separator) const
{
    ClampRange(LeftCol, TopRow, RightCol, BottomRow);
    return ClipboardLines(*this, LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator,
                          [](QString& line, int, const QString& s) { line.append(s); });
}

QString TRLData::ClipboardTextFixed(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader) const
{
    ClampRange(LeftCol, TopRow, RightCol, BottomRow);
    std::vector<int> width;
    for (int c = LeftCol; c <= RightCol; ++c) {
        int w = AddHeader ? int(Header(c).size()) : 0;
        for (int r = TopRow; r <= BottomRow; ++r)
            w = std::max(w, FStrings->GetLength(c, r));
        width.push_back(std::min(w, 255));
    }
    return ClipboardLines(*this, LeftCol, TopRow, RightCol, BottomRow, AddHeader, QString(),
                          [&](QString& line, int c, const QString& s) {
                              line.append(LeftString(s, width[std::size_t(c - LeftCol)] + 1));
                          });
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader,
                              const QString& Separator)
{
    SetClipboardText(ClipboardText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, Separator));
}

void TRLData::CopyToClipBoard(int LeftCol, int TopRow, int RightCol, int BottomRow, bool AddHeader, bool UseTabs)
{
    const QString text = UseTabs ? ClipboardText(LeftCol, TopRow, RightCol, BottomRow, AddHeader, QStringLiteral("\t"))
                                 : ClipboardTextFixed(LeftCol, TopRow, RightCol, BottomRow, AddHeader);
    SetClipboardText(text);
}

void TRLData::ClampRange(int& LeftCol, int& TopRow, int& RightCol, int& BottomRow) const
{
    LeftCol = std::max(0, LeftCol);
    RightCol = std::min(FNrOfCols, RightCol);
    TopRow = std::max(1, TopRow);
    BottomRow = std::min(FNrOfRows, BottomRow);
}
// ---------------------------------------------------------------------------------------------
// HTML

void TRLData::ExportHTMLTable(const QString& FName, int LoC, int LoR, int HiC, int HiR, const QVector<int>& ColumnSelection,
                              int Border, int CellSpacing, int Cellpadding, bool IncludeHeader, const QString& HeadClass,
                              const QString& CellClass, const QString& TableClass)
{
    ClampRange(LoC, LoR, HiC, HiR);
    QVector<int> cols;
    if (ColumnSelection.isEmpty()) {
        for (int c = LoC; c <= HiC; ++c)
            cols.append(c);
    } else {
        for (int c : ColumnSelection)
            if (c >= LoC && c <= HiC)
                cols.append(c);
    }
    auto classAttr = [](const QString& cls) {
        return cls.isEmpty() ? QString() : QStringLiteral(" class=\"%1\"").arg(HtmlEscape(cls));
    };
    const QString thOpen = QStringLiteral("<th") + classAttr(HeadClass) + QLatin1Char('>');
    const QString tdOpen = QStringLiteral("<td") + classAttr(CellClass) + QLatin1Char('>');
    QString html;
    html += QStringLiteral("<table%1 border=\"%2\" cellspacing=\"%3\" cellpadding=\"%4\">\n")
                .arg(classAttr(TableClass))
                .arg(Border)
                .arg(CellSpacing)
                .arg(Cellpadding);
    QString text;
    if (IncludeHeader && !cols.isEmpty()) {
        html += QStringLiteral("<tr>");
        for (int c : cols) {
            text = Header(c);
            BeforeHTMLExport(text, c, 0);
            html += thOpen + HtmlEscape(text) + QStringLiteral("</th>");
        }
        html += QStringLiteral("</tr>\n");
    }
    for (int r = LoR; r <= HiR && !cols.isEmpty(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c : cols) {
            text = Elem(c, r);
            BeforeHTMLExport(text, c, r);
            html += tdOpen + HtmlEscape(text) + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</table>\n");
    QSaveFile f(FName);
    const QByteArray bytes = html.toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw EInOutError(QStringLiteral("Cannot write file \"%1\": %2").arg(FName, f.errorString()));
}

} // namespace qor
