// Table editor headings and attributes: a run of edits taken from the bytes — names and
// attributes written by the program (any index, any text), the same through the heading edit
// box as a user types them (opened from the heading menu, stored with Enter), precisions,
// comments and the attribute lines shown and hidden. Each edit changes exactly the heading it
// names, as its rules say, and nothing else: no cell, no other heading, not the table's size.
#include "fuzz_ntabed_support.h"
#include "fuzz_support.h"

#include <QOR_NumText.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using namespace fuzz_ntabed;

// What the editor's headings must hold.
struct Headings {
    std::array<QString, kSize + 1> ColNames, RowNames;
    std::array<int, kSize + 1> ColAttribs{}, RowAttribs{}, Precisions{};
    QString Comment;

    static Headings Of(const qor::TNTabEd& e)
    {
        Headings h;
        for (int i = 1; i <= kSize; ++i) {
            h.ColNames[size_t(i)] = e.ColName(i);
            h.RowNames[size_t(i)] = e.RowName(i);
            h.ColAttribs[size_t(i)] = e.ColAttrib(i);
            h.RowAttribs[size_t(i)] = e.RowAttrib(i);
            h.Precisions[size_t(i)] = e.Precision(i);
        }
        h.Comment = e.Comment();
        return h;
    }
    bool operator==(const Headings&) const = default;
};

// The attribute the edit box stores for a text, or -1 when the text is no number: "," reads
// as ".", blanks around are ignored, the value is held to 0..255 and rounded.
int AttributeOf(QString text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    text = text.trimmed();
    int pos = 1;
    bool isNumber = false;
    const double v = qor::ScanFloatStr(text, true, 1, pos, isNumber);
    if (!isNumber || pos != text.size() + 1 || !std::isfinite(v))
        return -1;
    return int(std::lround(std::clamp(v, 0.0, 255.0)));
}

// Opens the heading edit box of grid cell (gc, gr) from the heading menu; nullptr when the
// menu did not open there.
QLineEdit* OpenEditBox(qor::TNTabEd& e, int gc, int gr)
{
    const QPoint p = e.CellRect(gc, gr).center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, p, e.viewport()->mapToGlobal(p));
    QCoreApplication::sendEvent(e.viewport(), &menuEvent);
    QMenu* menu = e.HeadingPopupMenu();
    if (!menu->isVisible())
        return nullptr;
    menu->actions().value(0)->trigger();
    menu->hide();
    return e.HeadingEditor();
}

void PressEnter(QLineEdit* edit)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &press);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    App();
    fuzz::Input in(data, size);
    qor::TNTabEd editor;
    editor.resize(420, 260);
    Prepare(editor);
    editor.show();
    Headings want = Headings::Of(editor);

    for (int step = 0; step < 12 && in.Left() > 0; ++step) {
        const std::uint8_t op = in.Byte();
        const bool ofColumn = op & 0x10;
        const int ix = in.IntIn(-1, kSize + 1);
        const bool inside = ix >= 1 && ix <= kSize;
        switch (op % 6) {
        case 0: {   // a name written by the program
            const QString text = in.Text(80);
            ofColumn ? editor.SetColName(ix, text) : editor.SetRowName(ix, text);
            if (inside)
                (ofColumn ? want.ColNames : want.RowNames)[size_t(ix)] = fuzz::CutText(text, 50);
            break;
        }
        case 1: {   // an attribute written by the program
            const std::uint8_t v = in.Byte();
            ofColumn ? editor.SetColAttrib(ix, v) : editor.SetRowAttrib(ix, v);
            if (inside)
                (ofColumn ? want.ColAttribs : want.RowAttribs)[size_t(ix)] = v;
            break;
        }
        case 2: {   // the heading edit box, on a name or an attribute
            const bool attrib = op & 0x20;
            const int line = std::clamp(ix, 1, kSize);
            if (attrib)
                ofColumn ? editor.SetAttribColVisible(true) : editor.SetAttribRowVisible(true);
            const int gc = ofColumn ? line + (editor.AttribRowVisible() ? 1 : 0) : (attrib ? 1 : 0);
            const int gr = ofColumn ? (attrib ? 1 : 0) : line + (editor.AttribColVisible() ? 1 : 0);
            QLineEdit* edit = OpenEditBox(editor, gc, gr);
            if (!edit)
                break;   // the cell is scrolled out of view
            edit->setText(in.Text(80));
            const QString typed = edit->text();
            PressEnter(edit);
            Check(editor.HeadingEditor() == nullptr);
            if (!attrib) {
                (ofColumn ? want.ColNames : want.RowNames)[size_t(line)] = fuzz::CutText(typed, 50);
            } else if (const int a = AttributeOf(typed); a >= 0) {
                (ofColumn ? want.ColAttribs : want.RowAttribs)[size_t(line)] = a;
            }
            break;
        }
        case 3: {   // a column's precision, held to -1..10
            const int v = in.AnyInt();
            editor.SetPrecision(ix, v);
            if (inside)
                want.Precisions[size_t(ix)] = std::clamp(v, -1, 10);
            break;
        }
        case 4: {   // the comment: control characters are dropped
            const QString text = in.Text(40);
            editor.SetComment(text);
            want.Comment.clear();
            for (const QChar c : text)
                if (c.unicode() >= 32 && c.unicode() != 127)
                    want.Comment += c;
            break;
        }
        case 5:   // the attribute lines shown or hidden
            editor.SetAttribRowVisible(op & 0x20);
            editor.SetAttribColVisible(op & 0x40);
            break;
        }
        Check(Headings::Of(editor) == want);
        CheckKept(editor);
    }
    editor.RenderNow();
    return 0;
}
