// A minimal program built against the installed library.
#include <QApplication>
#include <QOR_Graphics.h>
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
    return bmp.Canvas()->Pixels(20, 15) == qor::clWhite ? 0 : 1;
}
