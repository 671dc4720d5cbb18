#include "QOR_rleditor.h"

#include "QOR_rldata.h"
#include "QOR_rldatescan.h"

#include <QOR_DateUtils.h>
#include <QOR_NumText.h>
#include <QOR_NumIOEdit.h>
#include <QOR_stringl.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <memory>
#include <vector>

namespace qor {

namespace {

constexpr int RowPitch = 25;
constexpr int ControlHeight = 21;
constexpr int MaxControlWidth = 2000;
const char* const NamePrefix = "runtime_rlre_";


// Ends the dialog with mrOk when Enter is pressed in a writable control.
class EnterClosesDialog : public QObject {
public:
    explicit EnterClosesDialog(QDialog* dialog) : QObject(dialog), FDialog(dialog) {}
protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                if (auto* combo = qobject_cast<QComboBox*>(watched->parent()); combo && combo->view()->isVisible())
                    return false;
                FDialog->done(mrOk);
                return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }
private:
    QDialog* FDialog;
};

void MarkRuntime(QWidget* w, const char* kind, int col)
{
    w->setObjectName(QLatin1String(NamePrefix) + QLatin1String(kind) + QString::number(col));
    w->setProperty("Tag", col);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TRowEditFormat

TRowEditFormat TRowEditFormat::Parse(const QString& format)
{
    TRowEditFormat f;
    const int open = format.indexOf(QLatin1Char('['));
    const int close = open >= 0 ? format.indexOf(QLatin1Char(']'), open + 1) : -1;
    if (open < 0 || close < 0) {
        f.Rest = format;
        return f;
    }
    QString type = format.mid(open + 1, close - open - 1);
    if (type.startsWith(QLatin1Char('#'))) {
        f.ReadOnly = true;
        type.remove(0, 1);
    }
    if (!type.isEmpty()) {
        f.Type = type[0].toLower();
        f.TypeArgs = type.mid(1);
    }
    QString after = format.mid(close + 1);
    const int close2 = after.startsWith(QLatin1Char('[')) ? after.indexOf(QLatin1Char(']')) : -1;
    if (close2 > 0) {
        const int w = LeadingInteger(after.mid(1, close2 - 1));
        if (w > 0)
            f.Width = std::min(w, MaxControlWidth);
        f.Rest = after.mid(close2 + 1);
    } else {
        f.Rest = after;
    }
    return f;
}

int TRowEditFormat::DropDownCount() const
{
    const int colon = TypeArgs.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return 0;
    return std::clamp(LeadingInteger(TypeArgs.mid(colon + 1)), 1, 100);
}

// ---------------------------------------------------------------------------------------------
// TRowEditor

TRowEditor::TRowEditor(QWidget* View, TRLData* Data)
    : FView(View), FData(Data)
{
}

int TRowEditor::Run(int Row, int PosLeft, int PosTop, const QString& FormCaption, const QString& ButOKCaption,
                    const QString& ButCancelCaption)
{
    auto form = std::make_unique<QDialog>(FView);
    form->setFont(FView ? FView->font() : QFont());
    form->setWindowTitle(FormCaption);
    form->move(PosLeft, PosTop);
    return Execute(Row, form.get(), true, 0, 0, ButOKCaption, ButCancelCaption);
}

int TRowEditor::Run(int Row, QDialog* Container, int PosLeft, int PosTop)
{
    if (!Container)
        return mrCancel;
    Container->setWindowTitle(QString());
    return Execute(Row, Container, false, PosLeft, PosTop, QString(), QString());
}

namespace {

QWidget* CreateCombo(const TRowEditFormat& f, const QString& cell, QDialog* form)
{
    auto* box = new QComboBox(form);
    const bool listOnly = f.Type == QLatin1Char('l');
    box->setEditable(!listOnly);
    QString items = f.Rest;
    if (!items.endsWith(QLatin1Char('|')))
        items += QLatin1Char('|');
    QStringList parts = items.split(QLatin1Char('|'));
    parts.removeLast();   // the text after the final "|"
    box->addItems(parts);
    if (const int count = f.DropDownCount(); count > 0)
        box->setMaxVisibleItems(count);
    if (listOnly)
        box->setCurrentIndex(int(parts.indexOf(cell)));
    else
        box->setEditText(cell);
    return box;
}

QWidget* CreateDatePicker(const TRowEditFormat& f, const QString& cell, QDialog* form)
{
    auto* picker = new QDateTimeEdit(form);
    picker->setDisplayFormat(f.TypeArgs);
    const QString source = !cell.isEmpty() ? cell : f.Rest;
    if (!source.isEmpty()) {
        int error = 0;
        const double when = ScanDateTimeStr(source, f.TypeArgs, 1, error);
        picker->setDateTime(ToQDateTime(when));
    }
    return picker;
}

QWidget* CreateNumber(const TRowEditFormat& f, const QString& cell, int row, QDialog* form)
{
    auto* field = new TNumIO(form);
    field->SetRangeLow(-1.7e308);
    field->SetRangeHigh(1.7e308);
    switch (f.Type.unicode()) {
    case 'e': field->SetInputFormat(itDynamic); break;
    case 'f': field->SetInputFormat(itFloat); break;
    case 'h': field->SetInputFormat(itHex); break;
    default: field->SetInputFormat(itInt); break;
    }
    field->setText(cell.isEmpty() ? TRLData::FormatDefault(f.Type, f.Rest, row, true) : cell);
    return field;
}

QWidget* CreateEdit(const TRowEditFormat& f, const QString& cell, int row, QDialog* form)
{
    auto* edit = new QLineEdit(form);
    edit->setText(cell.isEmpty() ? TRLData::FormatDefault(QLatin1Char('s'), f.Rest, row) : cell);
    return edit;
}

const char* KindName(QChar type)
{
    switch (type.unicode()) {
    case 'c': case 'l': return "CBox";
    case 'd': return "DtPick";
    case 'e': case 'f': case 'h': case 'i': return "NumIO";
    case 's': return "Edit";
    default: return nullptr;
    }
}

// The control's text as it is written back into the cell.
QString ControlText(QWidget* w)
{
    if (auto* picker = qobject_cast<QDateTimeEdit*>(w))
        return picker->dateTime().toString(picker->displayFormat());
    if (auto* box = qobject_cast<QComboBox*>(w))
        return box->currentText();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    return QString();
}

void ShowReadOnly(QWidget* w)
{
    w->setEnabled(false);
    QPalette pal = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
        pal.setColor(group, QPalette::Button, QColor(0xE0, 0xE0, 0xE0));
        pal.setColor(group, QPalette::Text, ToQColor(clGray));
        pal.setColor(group, QPalette::ButtonText, ToQColor(clGray));
        pal.setColor(group, QPalette::WindowText, ToQColor(clGray));
    }
    w->setPalette(pal);
}

} // namespace

int TRowEditor::Execute(int Row, QDialog* Form, bool OwnForm, int OffsetLeft, int OffsetTop,
                        const QString& OKCaption, const QString& CancelCaption)
{
    std::vector<QWidget*> created;
    // Every created control goes, whatever happens; the form itself belongs to the caller.
    struct Cleanup {
        std::vector<QWidget*>& controls;
        ~Cleanup()
        {
            for (auto it = controls.rbegin(); it != controls.rend(); ++it)
                delete *it;
        }
    } cleanup{created};

    const int columns = FData->NrOfColumns();
    const int topMargin = OwnForm ? 45 : 0;
    const QFontMetrics fm(Form->font());
    int captionWidth = 0;
    for (int n = 1; n <= columns; ++n)
        captionWidth = std::max(captionWidth, fm.horizontalAdvance(FData->Header(n)));
    captionWidth += 8;

    const auto enterFilter = std::make_unique<EnterClosesDialog>(Form);
    int widestControl = 0;
    for (int n = 1; n <= columns; ++n) {
        const int y = topMargin + (n - 1) * RowPitch + OffsetTop;
        QString format = FData->ColumnFormat(n);
        if (OnRequestEditFormat)
            OnRequestEditFormat(FView, n, Row, format);
        const TRowEditFormat f = TRowEditFormat::Parse(format);

        auto* caption = new QLabel(FData->Header(n) + QLatin1Char(':'), Form);
        created.push_back(caption);
        MarkRuntime(caption, "Label", n);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setGeometry(OffsetLeft + 8, y + 3, captionWidth, fm.height());

        const char* kind = KindName(f.Type);
        if (!kind)
            continue;
        const QString cell = FData->Elem(n, Row);
        QWidget* control = nullptr;
        switch (f.Type.unicode()) {
        case 'c': case 'l': control = CreateCombo(f, cell, Form); break;
        case 'd': control = CreateDatePicker(f, cell, Form); break;
        case 's': control = CreateEdit(f, cell, Row, Form); break;
        default: control = CreateNumber(f, cell, Row, Form); break;
        }
        created.push_back(control);
        MarkRuntime(control, kind, n);
        control->setFont(Form->font());
        control->setGeometry(captionWidth + OffsetLeft + 12, y, f.Width, ControlHeight);
        widestControl = std::max(widestControl, f.Width);
        if (f.ReadOnly) {
            ShowReadOnly(control);
        } else {
            control->installEventFilter(enterFilter.get());
            if (auto* box = qobject_cast<QComboBox*>(control); box && box->lineEdit())
                box->lineEdit()->installEventFilter(enterFilter.get());
        }
    }

    const int W = widestControl + captionWidth + 28;
    const int H = columns * RowPitch + topMargin + 38;
    QToolButton* cancel = nullptr;
    if (OwnForm) {
        Form->setFixedSize(W, H);
        Form->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                             | Qt::WindowCloseButtonHint);
        auto makeButton = [&](const QString& text, int x, int result) {
            auto* b = new QToolButton(Form);
            b->setText(text);
            b->setGeometry(x, 4, 81, 29);
            QObject::connect(b, &QToolButton::clicked, Form, [Form, result] { Form->done(result); });
            return b;
        };
        cancel = makeButton(CancelCaption, widestControl + captionWidth - 69, mrCancel);
        makeButton(OKCaption, widestControl + captionWidth - 154, mrOk);
    } else {
        Form->resize(std::max(Form->width(), W), std::max(Form->height(), H));
    }

    if (DialogChanged)
        DialogChanged(Form, cancel);
    int result = Form->exec();
    if (DialogChanged)
        DialogChanged(nullptr, nullptr);
    if (result == QDialog::Rejected)
        result = mrCancel;

    if (result == mrOk) {
        if (SuppressPaint)
            SuppressPaint(true);
        for (QWidget* w : created) {
            const QString name = w->objectName();
            if (name.contains(QLatin1String("runtime_rlre_Edit")) || name.contains(QLatin1String("runtime_rlre_NumIO"))
                || name.contains(QLatin1String("runtime_rlre_CBox")) || name.contains(QLatin1String("runtime_rlre_DtPick")))
                FData->SetElem(w->property("Tag").toInt(), Row, ControlText(w));
        }
        if (SuppressPaint)
            SuppressPaint(false);
    }
    return result;
}

} // namespace qor
