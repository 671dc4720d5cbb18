// TFormTRLData: a TRLData placed on a form.
//
// The data container draws nothing, but forms hold widgets: this small widget stands for it in
// Designer's form editor, owns the TRLData, offers its published properties and is hidden when the
// program runs. A program reaches the data in one call and can let a view show it:
//
//   qor::TRLData* data = qor::TFormTRLData::Find(form, "RLData1");   // QUiLoader forms
//   ui->ReportListView1->SetData(ui->RLData1->Data());               // uic-compiled forms
#pragma once

#include "QOR_Published.h"
#include "QOR_rldata.h"

#include <QWidget>

namespace qor {

// The form's stand-in for a TRLData: see the top of this file.
class KORVANE_EXPORT TFormTRLData : public QWidget, public TComponentState {
    Q_OBJECT
public:
    QOR_PROPERTY(int, NrOfColumns)
    QOR_PROPERTY(int, NrOfRows)
    QOR_PROPERTY(QString, CommonHeader)

    // A new, empty data container on AOwner.
    explicit TFormTRLData(QWidget* AOwner = nullptr);

    // The data container, owned by this widget (its child object).
    TRLData* Data() const { return FData; }
    // The data of the TFormTRLData named Name among Form's descendants; nullptr when there is none.
    static TRLData* Find(const QWidget* Form, const QString& Name);

    int NrOfColumns() const { return FData->NrOfColumns(); }
    void SetNrOfColumns(int v) { FData->SetNrOfColumns(v); }
    int NrOfRows() const { return FData->NrOfRows(); }
    void SetNrOfRows(int v) { FData->SetNrOfRows(v); }
    QString CommonHeader() const { return FData->CommonHeader(); }
    void SetCommonHeader(const QString& v) { FData->SetCommonHeader(v); }

    QObject* ComponentObject() override { return this; }
    // Shown only in Designer's form editor.
    void setVisible(bool visible) override;
    // The size of a non-visual component's picture on a form.
    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TRLData* FData;
};

} // namespace qor
