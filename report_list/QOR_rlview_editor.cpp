// TReportListView: the row editor — a modal dialog with one caption and one input control per
// column, chosen by the column format "[#type args][width]rest".
#include "QOR_rlview.h"

#include <QOR_NumIOEdit.h>
#include <QOR_filesys.h>
#include <QOR_stringl.h>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <cmath>

namespace qor {

namespace {

constexpr const char* kPrefix = "runtime_rlre_";
constexpr int kMaxControlWidth = 2000;   // a format asking for more still gives a usable dialog
constexpr int kMaxDropDown = 100;

// The parts of a column format.
struct EditFormat {
    bool ReadOnly = false;
    QChar Letter = QLatin1Char('s');
    QString TypeArgs;   // the type text after the letter
    int Width = 200;
    QString Rest;
};

// Leading blanks, an optional sign, digits up to the first non-digit; 0 without digits.
long long LeadingInt(const QString& s)
{
    int i = 0;
    while (i < s.size() && s[i] == QLatin1Char(' '))
        ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        neg = s[i++] == QLatin1Char('-');
    long long v = 0;
    while (i < s.size() && s[i].isDigit() && v < 1000000000LL)
        v = v * 10 + s[i++].digitValue();
    return neg ? -v : v;
}

EditFormat ParseEditFormat(const QString& f)
{
    EditFormat e;
    const int open = int(f.indexOf(QLatin1Char('['))), close = int(f.indexOf(QLatin1Char(']')));
    if (open < 0 || close < open) {
        e.Rest = f;
        return e;
    }
    QString type = f.mid(open + 1, close - open - 1);
    if (type.startsWith(QLatin1Char('#'))) {
        e.ReadOnly = true;
        type.remove(0, 1);
    }
    e.Letter = type.isEmpty() ? QChar() : type[0].toLower();
    e.TypeArgs = type.mid(1);
    QString after = f.mid(close + 1);
    const int open2 = int(after.indexOf(QLatin1Char('['))), close2 = int(after.indexOf(QLatin1Char(']')));
    if (open2 >= 0 && close2 > open2) {
        const long long w = LeadingInt(after.mid(open2 + 1, close2 - open2 - 1));
        e.Width = w <= 0 ? 200 : int(std::min<long long>(w, kMaxControlWidth));
        after = after.mid(close2 + 1);
    }
    e.Rest = after;
    return e;
}

// The row number as the "rix" defaults render it: n digits (decimal, hexadecimal) or n decimals.
QString RowIndexText(QChar letter, int row, const QString& rest)
{
    int n = int(std::clamp<long long>(LeadingInt(rest.mid(3)), -64, 64));
    if (letter == QLatin1Char('e') || letter == QLatin1Char('f'))
        return strff(row, 1, std::max(0, n));
    if (letter == QLatin1Char('h')) {
        n = std::clamp(n, 1, 16);
        QString s = QString::number(quint64(quint32(row)), 16).toUpper();
        s = s.rightJustified(n, QLatin1Char('0'));
        return s.right(n);
    }
    n = std::max(1, std::min(n, 20));
    QString digits = QString::number(std::llabs(row)).rightJustified(n, QLatin1Char('0')).right(n);
    return row < 0 ? QStringLiteral("-") + digits : digits;
}

QDateTime FromTDateTime(double v)
{
    const double day = std::floor(v);
    const qint64 ms = qint64(std::llround((v - day) * 86400000.0));
    return QDateTime(QDate(1899, 12, 30).addDays(qint64(day)), QTime(0, 0)).addMSecs(ms);
}

// Enter in a writable control ends the dialog like OK.
class EnterCloses : public QObject {
public:
    EnterCloses(QDialog* form) : QObject(form), FForm(form) {}
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                FForm->done(mrOk);
                return true;
            }
        }
        return QObject::eventFilter(o, e);
    }
private:
    QDialog* FForm;
};

void LookReadOnly(QWidget* w)
{
    w->setEnabled(false);
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, ToQColor(0xE0E0E0));
        p.setColor(group, QPalette::Button, ToQColor(0xE0E0E0));
        p.setColor(group, QPalette::Window, ToQColor(0xE0E0E0));
        p.setColor(group, QPalette::Text, ToQColor(clGray));
        p.setColor(group, QPalette::ButtonText, ToQColor(clGray));
        p.setColor(group, QPalette::WindowText, ToQColor(clGray));
    }
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop)
{
    return EditRowEntries(Row, PosLeft, PosTop, QStringLiteral("Editing Row ") + QString::number(Row),
                          QStringLiteral("OK"), QStringLiteral("Cancel"));
}

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop, const QString& FormCaption,
                                    const QString& ButOKCaption, const QString& ButCancelCaption)
{
    auto* form = new QDialog(this);
    form->setFont(font());
    form->move(PosLeft, PosTop);
    form->setWindowTitle(FormCaption);
    form->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    auto* cancel = new QToolButton(form);
    cancel->setText(ButCancelCaption);
    connect(cancel, &QToolButton::clicked, form, [form] { form->done(mrCancel); });
    auto* ok = new QToolButton(form);
    ok->setText(ButOKCaption);
    connect(ok, &QToolButton::clicked, form, [form] { form->done(mrOk); });
    int result = mrCancel;
    try {
        result = RunRowEditor(Row, form, 0, 0, 45, ok, cancel);
    } catch (...) {
        delete form;
        throw;
    }
    delete form;
    return result;
}

int TReportListView::EditRowEntries(int Row, QDialog* ContainerForm, int PosLeft, int PosTop)
{
    if (!ContainerForm)
        return EditRowEntries(Row, PosLeft, PosTop);
    ContainerForm->setWindowTitle(QString());
    return RunRowEditor(Row, ContainerForm, PosLeft, PosTop, 0, nullptr, nullptr);
}

int TReportListView::RunRowEditor(int Row, QDialog* form, int offLeft, int offTop, int topMargin, QWidget* okButton,
                                  QWidget* cancelButton)
{
    const QFontMetrics fm(form->font());
    int captionWidth = 0;
    for (int n = 1; n <= NrOfColumns(); ++n)
        captionWidth = std::max(captionWidth, fm.horizontalAdvance(FRLData->Header(n)));
    captionWidth += 8;

    std::vector<QPointer<QWidget>> created;
    auto cleanup = [&] {
        for (auto it = created.rbegin(); it != created.rend(); ++it)
            delete it->data();
        created.clear();
        FContainerForm = nullptr;
    };
    auto* enter = new EnterCloses(form);
    int maxWidth = 0;
    int result = mrCancel;
    try {
        for (int n = 1; n <= NrOfColumns(); ++n) {
            const int y = topMargin + (n - 1) * 25 + offTop;
            QString format = FRLData->ColumnFormat(n);
            if (OnRequestEditFormat)
                OnRequestEditFormat(this, n, Row, format);
            const EditFormat ef = ParseEditFormat(format);

            auto* caption = new QLabel(FRLData->Header(n) + QLatin1Char(':'), form);
            caption->setObjectName(QString::fromLatin1(kPrefix) + QStringLiteral("Label") + QString::number(n));
            caption->setProperty("Tag", n);
            caption->setAlignment(Qt::AlignRight | Qt::AlignTop);
            caption->setGeometry(offLeft + 8, y + 3, captionWidth, fm.height() + 2);
            created.emplace_back(caption);

            const QString cell = Elem(n, Row);
            QWidget* control = nullptr;
            QString name;
            const QChar L = ef.Letter;
            if (L == QLatin1Char('c') || L == QLatin1Char('l')) {
                auto* box = new QComboBox(form);
                box->setEditable(L == QLatin1Char('c'));
                QString items = ef.Rest;
                if (!items.endsWith(QLatin1Char('|')))
                    items += QLatin1Char('|');
                QStringList list = items.split(QLatin1Char('|'));
                list.removeLast();
                box->addItems(list);
                const int colon = int(ef.TypeArgs.indexOf(QLatin1Char(':')));
                if (colon >= 0)
                    box->setMaxVisibleItems(int(std::clamp<long long>(LeadingInt(ef.TypeArgs.mid(colon + 1)), 1, kMaxDropDown)));
                if (box->isEditable())
                    box->setEditText(cell);
                else
                    box->setCurrentIndex(int(list.indexOf(cell)));
                control = box;
                name = QStringLiteral("CBox");
            } else if (L == QLatin1Char('d')) {
                auto* picker = new QDateTimeEdit(form);
                picker->setDisplayFormat(ef.TypeArgs);
                picker->setMinimumDate(QDate(100, 1, 1));
                int err = 0;
                if (!cell.isEmpty())
                    picker->setDateTime(FromTDateTime(ScanDateTimeStr(cell, ef.TypeArgs, 1, err)));
                else if (!ef.Rest.isEmpty())
                    picker->setDateTime(FromTDateTime(ScanDateTimeStr(ef.Rest, ef.TypeArgs, 1, err)));
                control = picker;
                name = QStringLiteral("DtPick");
            } else if (L == QLatin1Char('e') || L == QLatin1Char('f') || L == QLatin1Char('h') || L == QLatin1Char('i')) {
                auto* num = new TNumIO(form);
                num->SetRangeLow(-1.7e308);
                num->SetRangeHigh(1.7e308);
                num->SetInputFormat(L == QLatin1Char('e') ? itDynamic : L == QLatin1Char('f') ? itFloat
                                    : L == QLatin1Char('h') ? itHex : itInt);
                if (!cell.isEmpty())
                    num->setText(cell);
                else if (ef.Rest.contains(QLatin1String("rix"), Qt::CaseInsensitive))
                    num->setText(RowIndexText(L, Row, ef.Rest));
                else
                    num->setText(ef.Rest);
                control = num;
                name = QStringLiteral("NumIO");
            } else if (L == QLatin1Char('s')) {
                auto* edit = new QLineEdit(form);
                if (!cell.isEmpty())
                    edit->setText(cell);
                else if (ef.Rest.contains(QLatin1String("$pwd$"), Qt::CaseInsensitive))
                    edit->setText(InventPassword(int(std::clamp<long long>(LeadingInt(ef.Rest.mid(5)), 0, 255))));
                else
                    edit->setText(ef.Rest);
                control = edit;
                name = QStringLiteral("Edit");
            }
            if (!control)
                continue;
            control->setObjectName(QString::fromLatin1(kPrefix) + name + QString::number(n));
            control->setProperty("Tag", n);
            control->setFont(form->font());
            control->setGeometry(captionWidth + offLeft + 12, y, ef.Width, 23);
            created.emplace_back(control);
            maxWidth = std::max(maxWidth, ef.Width);
            if (ef.ReadOnly) {
                LookReadOnly(control);
            } else {
                control->installEventFilter(enter);
                if (auto* box = qobject_cast<QComboBox*>(control); box && box->lineEdit())
                    box->lineEdit()->installEventFilter(enter);
            }
        }

        const int W = maxWidth + captionWidth + 28;
        const int H = NrOfColumns() * 25 + topMargin + 38;
        if (okButton) {
            form->setFixedSize(W, H);
            cancelButton->setGeometry(maxWidth + captionWidth - 69, 4, 81, 29);
            okButton->setGeometry(maxWidth + captionWidth - 154, 4, 81, 29);
        } else {
            form->resize(std::max(form->width(), W), std::max(form->height(), H));
        }
        FContainerForm = form;
        result = form->exec();
        if (result != mrOk)
            result = mrCancel;   // Escape and the window's close button cancel
        if (result == mrOk) {
            PaintGuard guard(this);
            for (QObject* child : form->children()) {
                const QString n = child->objectName();
                if (!n.startsWith(QLatin1String(kPrefix)))
                    continue;
                const int col = child->property("Tag").toInt();
                if (n.contains(QLatin1String("runtime_rlre_Edit")) || n.contains(QLatin1String("runtime_rlre_NumIO")))
                    FRLData->SetElem(col, Row, static_cast<QLineEdit*>(child)->text());
                else if (n.contains(QLatin1String("runtime_rlre_CBox")))
                    FRLData->SetElem(col, Row, static_cast<QComboBox*>(child)->currentText());
                else if (n.contains(QLatin1String("runtime_rlre_DtPick"))) {
                    auto* picker = static_cast<QDateTimeEdit*>(child);
                    FRLData->SetElem(col, Row, picker->dateTime().toString(picker->displayFormat()));
                }
            }
        }
    } catch (...) {
        cleanup();
        delete enter;
        throw;
    }
    cleanup();
    delete enter;
    return result;
}

} // namespace qor
