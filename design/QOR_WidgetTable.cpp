#include "QOR_WidgetTable.h"
#include "QOR_WidgetIcons.h"

#include <QOR_univconst.h>

#include <QList>

namespace qordesign {

namespace {

// A numeric edit field placed in Designer starts with the widest range, and the form keeps it.
QString WideRangeXml()
{
    const QString bound = QString::number(qor::uc_MaxDouble, 'g', 17);
    return QStringLiteral("  <property name=\"RangeLow\"><double>-%1</double></property>\n"
                          "  <property name=\"RangeHigh\"><double>%1</double></property>\n")
        .arg(bound);
}

WidgetEntry Entry(const char* cls, const char* include, const char* tip, const char* whatsThis, QSize size,
                  void (*icon)(QPainter&), const QString& defaults = {})
{
    const QString name = QString::fromLatin1(cls);
    return {name, QStringLiteral("qor::") + name, QString::fromLatin1(include), QString::fromUtf8(tip),
            QString::fromUtf8(whatsThis), name.mid(1), size, icon, defaults};
}

QList<WidgetEntry> BuildTable()
{
    QList<WidgetEntry> t;
    t << Entry("TMeter", "QOR_Meter.h", "Analog meter",
               "A moving-coil style meter: a scale with ticks, labels and coloured ranges, a needle with its "
               "anchor, lamps and a background picture; reports the scale value under the mouse.",
               {297, 209}, PaintMeterIcon);
    t << Entry("TMarkSel", "QOR_marksel.h", "Marker selector",
               "A grid of marker symbols (circles, squares, crosses, triangles) to pick one from, with the "
               "keyboard or the mouse.",
               {236, 178}, PaintMarkSelIcon);
    t << Entry("TColSel", "QOR_Colsel.h", "Colour selector",
               "A drop-down list of colours with their names, the system colours among them, and a "
               "user-defined colour.",
               {145, 24}, PaintColSelIcon);
    t << Entry("TGradFill", "QOR_gradfl.h", "Gradient fill",
               "A rectangle filled with a linear or radial colour gradient, optionally covered by a grid.",
               {121, 121}, PaintGradFillIcon);
    t << Entry("TNTabEd", "QOR_ntabed.h", "Numeric table editor",
               "A grid that edits a table of numbers with row and column names, attributes and cell states; "
               "copies and pastes through the clipboard.",
               {320, 160}, PaintTableEditorIcon);
    t << Entry("TNumLab", "QOR_NumLab.h", "Numeric label",
               "A framed label that shows a formatted number, with texts to its left and right.",
               {160, 28}, PaintNumLabIcon);
    t << Entry("TNumIO", "QOR_NumIO.h", "Numeric edit field",
               "An edit field for numbers in a chosen input format (integer, fixed, scientific, hexadecimal, "
               "date and time) that checks its text after every change.",
               {121, 21}, PaintNumIOIcon, WideRangeXml());
    t << Entry("TNumIO2", "QOR_NumIO.h", "Numeric input field",
               "A self-drawn numeric input field with up/down buttons and an optional gauge, a range, and "
               "texts before and after the number.",
               {160, 26}, PaintNumIO2Icon);
    t << Entry("TOnOffBut", "QOR_onoffbut.h", "On/off button",
               "A two-state button shown with one of its picture sets (switches, lamps, keys) or with "
               "pictures of your own, with captions on every side; buttons can form groups.",
               {100, 50}, PaintOnOffButIcon);
    t << Entry("TMiniCal", "QOR_MiniCal.h", "Month calendar",
               "A month sheet with week numbers, holidays and weekends in their colours, in several languages; "
               "picks a date with the mouse or the keyboard.",
               {300, 180}, PaintMiniCalIcon);
    t << Entry("TRotLab", "QOR_RotLab.h", "Rotated label",
               "A text drawn at any angle, with a frame and a background of its own.", {200, 200}, PaintRotLabIcon);
    t << Entry("TSevenSeg", "QOR_sevenseg.h", "Seven-segment display",
               "Numbers and a few letters shown as seven-segment digits in any colour, size and slant.",
               {216, 76}, PaintSevenSegIcon);
    t << Entry("TProgBar", "QOR_ProgBar.h", "Progress bar",
               "A bar that shows a value in a range with colour gradients, a grid, a text and optional "
               "auto-repeat buttons to change it.",
               {300, 28}, PaintProgBarIcon);
    t << Entry("TRasterLab", "QOR_RasterLab.h", "Dot-matrix label",
               "Text shown as a dot matrix, as on a LED display; it can scroll.", {400, 68}, PaintRasterLabIcon);
    t << Entry("TFolderTree", "QOR_FolderTree.h", "Folder tree",
               "A tree of the file system's folders that can be browsed, and in which folders can be created "
               "and removed.",
               {200, 240}, PaintFolderTreeIcon);
    t << Entry("TThumbnails", "QOR_Thumbnails.h", "Thumbnail pane",
               "A scrolling pane of thumbnails laid out in rows, highlighted under the mouse and selected; "
               "the program supplies the pictures.",
               {260, 400}, PaintThumbnailsIcon);
    t << Entry("TReportListView", "QOR_replist.h", "Report list",
               "A report grid over a TRLData: headers, sortable columns, check boxes and radio buttons, "
               "in-place editing, filters and files (XML, CSV, HTML).",
               {320, 200}, PaintReportIcon);
    t << Entry("TRepSpeedButton", "QOR_repsbut.h", "Repeating speed button",
               "A flat speed button that repeats its click while it is held down.", {25, 25},
               PaintRepSpeedButtonIcon);
    WidgetEntry data = Entry("TRLData", "QOR_rlformdata.h", "Report list data",
                             "The data container of a report list, placed on a form: rows and columns of text "
                             "cells with formats and check marks. It is hidden when the program runs; a report "
                             "list shows it with SetData(Data()).",
                             {32, 32}, PaintRLDataIcon);
    data.FormClass = QStringLiteral("qor::TFormTRLData");
    t << data;
    return t;
}

} // namespace

const WidgetEntry* FindWidgetEntry(const QString& ClassName)
{
    static const QList<WidgetEntry> table = BuildTable();
    for (const WidgetEntry& e : table)
        if (e.ClassName == ClassName)
            return &e;
    return nullptr;
}

} // namespace qordesign
