// TNumIO: a numeric field on the platform's line edit. The user edits the text freely; after
// every change the whole text is checked again, and a text that is no number of the input
// format, or whose value lies outside the range, is replaced by the last good text.
#pragma once

#include "QOR_NumText.h"

#include <QOR_Controls.h>
#include <QOR_qorbase.h>

#include <algorithm>

namespace qor {

// A line edit that only keeps numbers of its input format within RangeLow .. RangeHigh (0 is
// always accepted); a rejected edit restores the last good text and beeps when Beep is set.
class KORVANE_EXPORT TNumIO : public TCustomEdit {
    Q_OBJECT
    // The line edit's own text property, written like every published property.
    Q_PROPERTY(QString text READ text WRITE loaderSetText USER true)
public:
    QOR_PROPERTY(qor::QOR_NumIO::TInFormat, InputFormat)
    QOR_PROPERTY(int, FixPointDecPlaces)
    QOR_PROPERTY(qor::QOR_qorbase::TDecPSep, DecPlaceSep)
    QOR_PROPERTY(double, RangeLow)
    QOR_PROPERTY(double, RangeHigh)
    QOR_PROPERTY(bool, Beep)

    explicit TNumIO(QWidget* AOwner = nullptr);

    TInFormat InputFormat() const { return FInputFormat; }
    void SetInputFormat(TInFormat v);
    // 1 .. 8; takes effect with the next change of the text.
    int FixPointDecPlaces() const { return FFixPointDecPlaces; }
    void SetFixPointDecPlaces(int v) { FFixPointDecPlaces = std::clamp(v, 1, 8); }
    TDecPSep DecPlaceSep() const { return FDecPlaceSep; }
    void SetDecPlaceSep(TDecPSep v);
    // A value not above the other bound swaps into place; both re-check the text.
    double RangeLow() const { return FRangeLow; }
    void SetRangeLow(double v);
    double RangeHigh() const { return FRangeHigh; }
    void SetRangeHigh(double v);
    bool Beep() const { return FBeep; }
    void SetBeep(bool v) { FBeep = v; }

    // The text as a number (0 when it is none) / the value rendered for the format.
    double Value() const;
    // Replaces the text by v rendered for the input format and separator (unchecked against
    // the range), with the caret at the end; this text becomes the last good text.
    void SetValue(double v);

    // The text read in the current input format and separator choice; false when it is no
    // number (the empty text included).
    bool ConvertNumString(const QString& Text, double& Value) const;

    void Assign(const QObject* Source) override;
    void AssignTo(QObject* Dest) const override;
    // Designer-made fields start with the widest range.
    void SetDesigning(bool v) override;

    // Sets the text as a program's write of the published text property; the text is then
    // checked like an edit.
    Q_SLOT void setText(const QString& v)
    {
        WritePublished("text", v, TWriteRoute::Call, [&] { QLineEdit::setText(v); });
    }
    // The text property's writer for forms and QObject::setProperty.
    void loaderSetText(const QString& v)
    {
        WritePublished("text", v, TWriteRoute::MetaObject, [&] { QLineEdit::setText(v); });
    }

    // Accessibility: the line edit's own (text, editable text, states) and a value, Value in
    // RangeLow .. RangeHigh; a value set from outside is typed in: checked, then OnChange.
    bool AccessibleValue(TAccessibleValue& v) const override;
    // Types v in as rendered for the input format; ignored for NaN or a read-only field.
    void SetAccessibleValue(double v) override;

protected:
    void Change() override;

private:
    bool Convert(const QString& Text, double& Value, int DecPSep) const;
    // The value rendered for the input format.
    QString TextOfValue(double v) const;
    // Sets the text without checking it (the change notification is swallowed).
    void SetEditText(const QString& s, int caret);
    // The whole check of the current text (everything Change does but the internal-change test).
    void Recheck();
    void SettingChanged();
    QChar PointChar() const;

    TInFormat FInputFormat = itDynamic;
    int FFixPointDecPlaces = 2;
    TDecPSep FDecPlaceSep = dpsOS;
    double FRangeLow = 0.0;
    double FRangeHigh = 0.0;
    bool FBeep = false;
    QString FLastGoodText;
    bool FInternalChange = false;
};

} // namespace qor
