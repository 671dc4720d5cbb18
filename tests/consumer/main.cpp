// A minimal program built against the installed library: drawing services, and both numeric
// fields from their documented unit header alone.
#include <QApplication>
#include <QOR_NumIO.h>
#include <QOR_qorbase.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    qor::TBitmap bmp;
    bmp.SetSize(40, 30);
    bmp.Canvas()->Brush()->SetColor(qor::clWhite);
    bmp.Canvas()->FillRect(QRect(0, 0, 40, 30));
    qor::DrawFrame(bmp.Canvas(), qor::TFrameStyle(2), 0, 0, 40, 30,
                   qor::clWhite, 0xC0C0C0, 0x808080, qor::clBlack, 0);
    if (bmp.Canvas()->Pixels(20, 15) != qor::clWhite)
        return 1;

    qor::TNumIO2 field;
    field.SetInputFormat(qor::itFixPoint);
    field.SetValue(2.5);
    qor::TNumIO edit;
    edit.SetRangeHigh(100);
    edit.setText(QStringLiteral("42"));
    return field.Text() == QLatin1String("2.50") && edit.Value() == 42.0 ? 0 : 2;
}
