// The row editor of the report list: a modal dialog in which every column of one data row gets
// a caption and an input control chosen by the column's format, written back on OK.
//
// Column format for editing:  [#<type><args>][<width>]<rest>
//   #        the control is read-only (disabled, grey)
//   c[:n] l[:n]  editable / list-only combo box with the items of <rest> split at "|";
//                n is the drop-down count (clamped to 1..100)
//   d<date format>  date picker; the format uses the date scanner's tokens (dd.MM.yyyy), which
//                are also QDateTimeEdit's display tokens
//   e f h i  numeric field (dynamic, float, hex, integer input)
//   s        one-line edit (also without a format)
//   other    no input control, only the caption
//   <width>  control width in pixels; missing, 0 or negative gives 200 (clamped to 2000)
//   <rest>   list items, or the default text: "rix"+n renders the row number, "$pwd$"+n
//            invents a password of n characters, anything else is taken literally.
// When the second bracket pair is missing, <rest> is the text after the first "]".
#pragma once

#include <QOR_Controls.h>

#include <QString>
#include <functional>

class QDialog;
class QAbstractButton;

namespace qor {

class TRLData;

// Asked once per column before its format is read; the handler may replace Format.
using TRequestEditFormatEvent = std::function<void(QObject* Sender, int Col, int Row, QString& Format)>;

// The parts of an editing format.
struct KORVANE_EXPORT TRowEditFormat {
    bool ReadOnly = false;           // "#" before the type letter: the control is disabled
    QChar Type = QLatin1Char('s');   // c, l, d, e, f, h, i, s or another letter
    QString TypeArgs;                // the type text after the letter (date format, ":n")
    int Width = 200;                 // control width in pixels, 1..2000
    QString Rest;                    // list items or default text
    // Splits a column format; a format without a bracket pair is all Rest (a one-line edit).
    static TRowEditFormat Parse(const QString& format);
    // The drop-down count of a combo box format (":n"), 0 when none is given.
    int DropDownCount() const;
};

// Runs the row editor over a report list's data. The view supplies the sender of its events,
// its font and the painting switch.
class KORVANE_EXPORT TRowEditor {
public:
    // An editor for the rows of Data whose dialogs belong to View (also the sender of the events).
    TRowEditor(QWidget* View, TRLData* Data);

    // Called once per column with the column's format before it is read; may replace it.
    TRequestEditFormatEvent OnRequestEditFormat;
    // Called with true before and false after the write-back; the view switches painting off
    // and then back to the state it found.
    std::function<void(bool)> SuppressPaint;
    // Called with the running dialog and its cancel button (nullptr for a container form), and
    // with nullptrs when it has ended.
    std::function<void(QDialog*, QAbstractButton*)> DialogChanged;

    // Own dialog at screen position (PosLeft, PosTop) with the given captions.
    int Run(int Row, int PosLeft, int PosTop, const QString& FormCaption, const QString& ButOKCaption,
            const QString& ButCancelCaption);
    // Controls placed at (PosLeft, PosTop) inside Container, which is run modally and kept.
    int Run(int Row, QDialog* Container, int PosLeft, int PosTop);

private:
    int Execute(int Row, QDialog* Form, bool OwnForm, int OffsetLeft, int OffsetTop,
                const QString& OKCaption, const QString& CancelCaption);
    QWidget* FView;
    TRLData* FData;
};

} // namespace qor
