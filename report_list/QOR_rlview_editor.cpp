// TReportListView: the row editor entry points, run by TRowEditor over the view's data.
#include "QOR_rlview.h"

#include "QOR_rleditor.h"

#include <QAbstractButton>
#include <QDialog>

#include <memory>

namespace qor {

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop)
{
    return EditRowEntries(Row, PosLeft, PosTop, QStringLiteral("Editing Row ") + QString::number(Row),
                          QStringLiteral("OK"), QStringLiteral("Cancel"));
}

int TReportListView::EditRowEntries(int Row, int PosLeft, int PosTop, const QString& FormCaption,
                                    const QString& ButOKCaption, const QString& ButCancelCaption)
{
    TRowEditor editor = MakeRowEditor();
    return editor.Run(Row, PosLeft, PosTop, FormCaption, ButOKCaption, ButCancelCaption);
}

int TReportListView::EditRowEntries(int Row, QDialog* ContainerForm, int PosLeft, int PosTop)
{
    if (!ContainerForm)
        return EditRowEntries(Row, PosLeft, PosTop);
    TRowEditor editor = MakeRowEditor();
    return editor.Run(Row, ContainerForm, PosLeft, PosTop);
}

TRowEditor TReportListView::MakeRowEditor()
{
    TRowEditor editor(this, FRLData);
    editor.OnRequestEditFormat = OnRequestEditFormat;
    // The write-back runs with painting off and then restores the state it found.
    editor.SuppressPaint = [this, before = std::make_shared<bool>(false)](bool on) {
        if (on) {
            *before = FSuppressPaint;
            SetSuppressPaint(true);
        } else {
            SetSuppressPaint(*before);
        }
    };
    editor.DialogChanged = [this](QDialog* form, QAbstractButton* cancel) {
        FContainerForm = form;
        FSBERCancel = cancel;
    };
    return editor;
}

} // namespace qor
