// Gallery page "Form": a form made in Qt Designer (forms/instruments.ui), loaded when the page is
// built with qor::TUiLoader, so no Designer plugin is needed at run time. The form connects its
// standard Qt widgets to the components with Designer's signal/slot editor: the spin box drives
// the meter and the numeric label, the numeric field the progress bar, the line edit the
// dot-matrix label, and the on/off button enables a label.
#include "GalleryPage.h"

#include <QOR_UiLoader.h>

#include <QFile>
#include <QVBoxLayout>

namespace {

QWidget* MakeFormPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* about = new QLabel(QStringLiteral(
        "This form was made in Qt Designer and is loaded at run time from instruments.ui. Its connections "
        "(valueChanged(double) to setValue(double), textChanged(QString) to setText(QString), "
        "onOffChanged(bool) to setEnabled(bool)) were drawn in Designer's signal/slot editor."));
    about->setWordWrap(true);
    layout->addWidget(about);
    QFile file(QStringLiteral(":/forms/instruments.ui"));
    qor::TUiLoader loader;
    QWidget* form = file.open(QIODevice::ReadOnly) ? loader.load(&file) : nullptr;
    if (form)
        layout->addWidget(gallery::Framed(QStringLiteral("instruments.ui"), form));
    else
        layout->addWidget(new QLabel(QStringLiteral("The form could not be loaded: %1").arg(loader.errorString())));
    layout->addStretch();
    return page;
}

const bool registered = gallery::RegisterPage(200, QStringLiteral("Form"), QStringLiteral("form"), MakeFormPage);

} // namespace
