// The control host: the event bridge and the retained surface, instantiated for the Qt classes
// the bases stand on.
#include "QOR_Controls.h"

#include "QOR_Accessible_p.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <type_traits>

namespace qor {

namespace {

template <class QtBase>
constexpr bool IsScrollArea = std::is_base_of_v<QAbstractScrollArea, QtBase>;

} // namespace

// =============================================================================================
// TControlHost

template <class QtBase>
TControlHost<QtBase>::TControlHost(QWidget* AOwner, TColor DefaultColor)
    : QtBase(AOwner), FColor(DefaultColor)
{
    InstallAccessibleFactory();
    FFont.AssignQFont(this->font());
    FFont.SetColor(clWindowText);
    FFont.OnChange = [this] {
        const QFont f = FFont.ToQFont();
        if (f != this->font())
            this->setFont(f);   // FontChange follows and renders again
        else
            GuardedCall([this] { FontChanged(); });
    };
    // Every control hears the pointer move over it, a button held or not, so OnMouseMove and
    // MouseMove work alike for all (Qt sends moves without a button only to tracking widgets).
    EventWidget()->setMouseTracking(true);
    StartConfiguration(this);
    AdoptAccessibleInterface(this);
    if constexpr (std::is_base_of_v<QAbstractButton, QtBase>)
        QObject::connect(this, &QAbstractButton::clicked, this, [this] { GuardedCall([this] { Click(); }); });
    else if constexpr (std::is_base_of_v<QComboBox, QtBase>)
        QObject::connect(this, &QComboBox::activated, this, [this] { GuardedCall([this] { Click(); }); });
}

template <class QtBase>
TControlHost<QtBase>::~TControlHost() = default;

template <class QtBase>
QWidget* TControlHost<QtBase>::EventWidget()
{
    if constexpr (IsScrollArea<QtBase>)
        return this->viewport();
    else
        return this;
}

template <class QtBase>
void TControlHost<QtBase>::SetColor(TColor c)
{
    if (c == FColor)
        return;
    FColor = c;
    ColorChanged();
}

template <class QtBase>
void TControlHost<QtBase>::SyncFontFromWidget()
{
    if (FFont.ToQFont() == this->font())
        return;
    // The QWidget font has no colour: keep the TFont's, and do not echo the change back.
    const TColor color = FFont.Color();
    auto handler = std::move(FFont.OnChange);
    FFont.AssignQFont(this->font());
    FFont.SetColor(color);
    FFont.OnChange = std::move(handler);
}

template <class QtBase>
void TControlHost<QtBase>::changeEvent(QEvent* e)
{
    QtBase::changeEvent(e);
    GuardedCall([&] {
        switch (e->type()) {
        case QEvent::FontChange:
            SyncFontFromWidget();
            FontChanged();
            break;
        case QEvent::EnabledChange:
            EnabledChanged();
            break;
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
            LooksChanged();
            break;
        default:
            break;
        }
    });
}

template <class QtBase>
void TControlHost<QtBase>::showEvent(QShowEvent* e)
{
    QtBase::showEvent(e);
    EndConfiguration();
    GuardedCall([this] { VisibleChanged(); });
}

template <class QtBase>
void TControlHost<QtBase>::hideEvent(QHideEvent* e)
{
    QtBase::hideEvent(e);
    GuardedCall([this] { VisibleChanged(); });
}

template <class QtBase>
void TControlHost<QtBase>::mousePressEvent(QMouseEvent* e)
{
    if constexpr (HasNativeBehaviour<QtBase>) {
        QtBase::mousePressEvent(e);
        if (FNativeDoubleClick)
            return;
    } else if (this->focusPolicy() & Qt::ClickFocus) {
        this->setFocus(Qt::MouseFocusReason);
    }
    GuardedCall([&] { DispatchMousePress(e); });
}

template <class QtBase>
void TControlHost<QtBase>::mouseReleaseEvent(QMouseEvent* e)
{
    GuardedCall([&] { DispatchMouseRelease(e, !HasNativeClick<QtBase>); });
    if constexpr (HasNativeBehaviour<QtBase>)
        QtBase::mouseReleaseEvent(e);
}

template <class QtBase>
void TControlHost<QtBase>::mouseDoubleClickEvent(QMouseEvent* e)
{
    if constexpr (HasNativeBehaviour<QtBase>) {
        FNativeDoubleClick = true;
        QtBase::mouseDoubleClickEvent(e);
        FNativeDoubleClick = false;
    }
    GuardedCall([&] { DispatchMouseDoubleClick(e); });
}

template <class QtBase>
void TControlHost<QtBase>::mouseMoveEvent(QMouseEvent* e)
{
    if constexpr (HasNativeBehaviour<QtBase>)
        QtBase::mouseMoveEvent(e);
    GuardedCall([&] { DispatchMouseMove(e); });
}

template <class QtBase>
void TControlHost<QtBase>::wheelEvent(QWheelEvent* e)
{
    e->ignore();
    GuardedCall([&] { DispatchWheel(e); });
    // A wheel the handlers leave goes to the native widget, and from there (or from a widget
    // with no use for it) on to the parent.
    if constexpr (HasNativeBehaviour<QtBase>)
        if (!e->isAccepted())
            QtBase::wheelEvent(e);
}

template <class QtBase>
void TControlHost<QtBase>::keyPressEvent(QKeyEvent* e)
{
    bool used = false;
    GuardedCall([&] { used = DispatchKeyPress(e); });
    if (used) {
        e->accept();
        return;
    }
    if constexpr (HasNativeBehaviour<QtBase>)
        QtBase::keyPressEvent(e);
    else
        e->ignore();
}

template <class QtBase>
void TControlHost<QtBase>::keyReleaseEvent(QKeyEvent* e)
{
    bool used = false;
    GuardedCall([&] { used = DispatchKeyRelease(e); });
    if (used) {
        e->accept();
        return;
    }
    if constexpr (HasNativeBehaviour<QtBase>)
        QtBase::keyReleaseEvent(e);
    else
        e->ignore();
}

template <class QtBase>
void TControlHost<QtBase>::enterEvent(QEnterEvent* e)
{
    QtBase::enterEvent(e);
    GuardedCall([&] { MouseEnter(); });
}

template <class QtBase>
void TControlHost<QtBase>::leaveEvent(QEvent* e)
{
    QtBase::leaveEvent(e);
    GuardedCall([&] { MouseLeave(); });
}

template <class QtBase>
void TControlHost<QtBase>::focusInEvent(QFocusEvent* e)
{
    QtBase::focusInEvent(e);
    GuardedCall([&] {
        DoEnter();
        FocusChanged(true);
    });
}

template <class QtBase>
void TControlHost<QtBase>::focusOutEvent(QFocusEvent* e)
{
    QtBase::focusOutEvent(e);
    GuardedCall([&] {
        DoExit();
        FocusChanged(false);
    });
}

template <class QtBase>
void TControlHost<QtBase>::contextMenuEvent(QContextMenuEvent* e)
{
    bool handled = false;
    GuardedCall([&] { handled = DispatchContextMenu(e); });
    if (handled)
        e->accept();
    else
        QtBase::contextMenuEvent(e);
}

template <class QtBase>
void TControlHost<QtBase>::resizeEvent(QResizeEvent* e)
{
    QtBase::resizeEvent(e);
    GuardedCall([&] {
        Resized();
        Resize();
    });
}

// =============================================================================================
// TSurfaceHost

template <class QtBase>
TSurfaceHost<QtBase>::TSurfaceHost(QWidget* AOwner, TColor DefaultColor)
    : TControlHost<QtBase>(AOwner, DefaultColor)
{
    QWidget* target = this->EventWidget();
    target->setAttribute(Qt::WA_OpaquePaintEvent);
    target->setAutoFillBackground(false);
    // palette() is a reference to the widget's own palette, which follows every change.
    FSurface.Canvas()->SetPalette(&this->palette());
}

template <class QtBase>
TSurfaceHost<QtBase>::~TSurfaceHost() = default;

template <class QtBase>
QSize TSurfaceHost<QtBase>::SurfaceSize()
{
    return this->EventWidget()->size();
}

// The device pixels that cover a logical extent: at a fractional ratio the last logical pixel
// ends inside a device pixel, which belongs to the widget all the same. (The tolerance keeps
// products like 100 x 1.1 from rounding up a whole pixel too far.)
static int DevicePixels(int logical, qreal dpr)
{
    return int(std::ceil(logical * dpr - 1e-6));
}

template <class QtBase>
bool TSurfaceHost<QtBase>::EnsureSurface()
{
    const qreal dpr = this->EventWidget()->devicePixelRatioF();
    const QSize logical = SurfaceSize().expandedTo(QSize(0, 0));
    const QSize want(DevicePixels(logical.width(), dpr), DevicePixels(logical.height(), dpr));
    const QImage& img = FSurface.Image();
    const QImage::Format format = FTransparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (!img.isNull() && img.size() == want && img.devicePixelRatio() == dpr && img.format() == format)
        return false;
    if (want.isEmpty()) {
        FSurface.SetSize(0, 0);
        return true;
    }
    QImage fresh(want, format);
    fresh.setDevicePixelRatio(dpr);
    fresh.fill(FTransparent ? QColor(Qt::transparent) : ToQColor(this->Color(), this->palette()));
    FSurface.SetImage(fresh);
    return true;
}

template <class QtBase>
TCanvas* TSurfaceHost<QtBase>::Canvas()
{
    EnsureSurface();
    return FSurface.Canvas();
}

template <class QtBase>
TBitmap* TSurfaceHost<QtBase>::Surface()
{
    EnsureSurface();
    return &FSurface;
}

template <class QtBase>
void TSurfaceHost<QtBase>::Invalidate()
{
    FNeedsPaint = true;
    this->EventWidget()->update();
}

template <class QtBase>
void TSurfaceHost<QtBase>::Repaint()
{
    FNeedsPaint = true;
    this->EventWidget()->repaint();
}

template <class QtBase>
void TSurfaceHost<QtBase>::Update()
{
    this->EventWidget()->update();
}

template <class QtBase>
void TSurfaceHost<QtBase>::SetTransparentSurface(bool v)
{
    if (v == FTransparent)
        return;
    FTransparent = v;
    QWidget* target = this->EventWidget();
    // A child widget that is not opaque gets its parent painted beneath it.
    target->setAttribute(Qt::WA_OpaquePaintEvent, !v);
    Invalidate();
}

template <class QtBase>
void TSurfaceHost<QtBase>::RenderNow()
{
    if (FInPaint)
        return;
    // What is drawn is what the settings are: a program that only renders (to images, say)
    // ends the configuration phase here, as showing does.
    this->EndConfiguration();
    EnsureSurface();
    FNeedsPaint = false;
    FInPaint = true;
    struct Reset {
        bool& Flag;
        ~Reset() { Flag = false; }
    } reset{FInPaint};
    if (FTransparent && !FSurface.Empty()) {
        FSurface.Canvas()->Flush();
        FSurface.Image().fill(Qt::transparent);
    }
    const TPaletteScope palette(this->palette());
    GuardedCall([this] { Paint(); });
    FSurface.Canvas()->Flush();
}

template <class QtBase>
void TSurfaceHost<QtBase>::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(this->Color());
    c->FillRect(QRect(QPoint(0, 0), SurfaceSize()));
}

template <class QtBase>
void TSurfaceHost<QtBase>::paintEvent(QPaintEvent*)
{
    if (EnsureSurface() || FNeedsPaint)
        RenderNow();
    if (FSurface.Empty())
        return;
    QPainter p(this->EventWidget());
    p.drawImage(QPoint(0, 0), FSurface.Image());
}

template <class QtBase>
void TSurfaceHost<QtBase>::resizeEvent(QResizeEvent* e)
{
    FNeedsPaint = true;
    TControlHost<QtBase>::resizeEvent(e);
}

template <class QtBase>
void TSurfaceHost<QtBase>::showEvent(QShowEvent* e)
{
    CreationSize();   // before anything shown can resize it
    TControlHost<QtBase>::showEvent(e);
}

template <class QtBase>
QSize TSurfaceHost<QtBase>::CreationSize() const
{
    if (!FCreationSize.isValid())
        FCreationSize = this->size();
    return FCreationSize;
}

template <class QtBase>
QSize TSurfaceHost<QtBase>::PreferredSize() const
{
    // The scroll area's own hint follows its contents and scroll bars.
    if constexpr (IsScrollArea<QtBase>)
        return QtBase::sizeHint();
    else
        return CreationSize();
}

template <class QtBase>
QSize TSurfaceHost<QtBase>::MinimumDrawSize() const
{
    return QtBase::minimumSizeHint();
}

template <class QtBase>
QSize TSurfaceHost<QtBase>::sizeHint() const
{
    QSize s = QtBase::sizeHint();
    GuardedCall([&] { s = PreferredSize(); });
    return s;
}

template <class QtBase>
QSize TSurfaceHost<QtBase>::minimumSizeHint() const
{
    QSize s = QtBase::minimumSizeHint();
    GuardedCall([&] { s = MinimumDrawSize(); });
    return s;
}

template class TControlHost<QWidget>;
template class TControlHost<QLineEdit>;
template class TControlHost<QAbstractScrollArea>;
template class TControlHost<QToolButton>;
template class TControlHost<QComboBox>;
template class TControlHost<QTreeWidget>;
template class TSurfaceHost<QWidget>;
template class TSurfaceHost<QAbstractScrollArea>;

} // namespace qor
