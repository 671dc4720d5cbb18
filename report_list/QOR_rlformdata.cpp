#include "QOR_rlformdata.h"
#include "QOR_WidgetFactory.h"

#include <QPainter>

namespace qor {

QOR_REGISTER_WIDGET(qor::TFormTRLData);

TFormTRLData::TFormTRLData(QWidget* AOwner) : QWidget(AOwner), FData(new TRLData(this))
{
    FData->setObjectName(QStringLiteral("Data"));
    resize(sizeHint());
    StartConfiguration(this);
}

TRLData* TFormTRLData::Find(const QWidget* Form, const QString& Name)
{
    if (!Form)
        return nullptr;
    const auto* holder = Form->findChild<TFormTRLData*>(Name);
    return holder ? holder->Data() : nullptr;
}

void TFormTRLData::setVisible(bool visible)
{
    QWidget::setVisible(visible && Designing());
}

// A small table in a frame, as non-visual components look on a form.
void TFormTRLData::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.fillRect(rect(), palette().button());
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(r);
    const QRectF sheet = r.adjusted(5, 7, -5, -7);
    p.fillRect(sheet, Qt::white);
    p.fillRect(QRectF(sheet.topLeft(), QSizeF(sheet.width(), sheet.height() / 4)), QColor(200, 200, 200));
    p.drawRect(sheet);
    for (int k = 1; k < 4; ++k) {
        const double y = sheet.top() + sheet.height() * k / 4;
        p.drawLine(QPointF(sheet.left(), y), QPointF(sheet.right(), y));
    }
    p.drawLine(QPointF(sheet.center().x(), sheet.top()), QPointF(sheet.center().x(), sheet.bottom()));
}

} // namespace qor
