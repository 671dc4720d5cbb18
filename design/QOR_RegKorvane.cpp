#include "QOR_RegKorvane.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <QtDesigner/QExtensionManager>

#include <QOR_Controls.h>
#include <QOR_univconst.h>

#include <QAction>
#include <cmath>
#include <QFileDialog>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <QOR_Meter.h>
#include <QOR_ProgBar.h>
#include <QOR_gradfl.h>
#include <QOR_NumIO.h>
#include <QOR_MiniCal.h>
#include <QOR_NumLab.h>
#include <QOR_RotLab.h>
#include <QOR_sevenseg.h>
#include <QOR_RasterLab.h>
#include <QOR_replist.h>

namespace qordesign {

namespace {

template <class T>
std::function<QWidget*(QWidget*)> Factory()
{
    return [](QWidget* parent) -> QWidget* { return new T(parent); };
}

// Widget-box icons: small symbolic drawings, crisp at 32 x 32.
void PaintMeterIcon(QPainter& p)
{
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(250, 248, 236));
    p.drawRoundedRect(QRectF(2, 4, 28, 24), 3, 3);
    p.setPen(QPen(QColor(0, 0, 128), 2));
    p.drawArc(QRectF(6, 9, 20, 20), 30 * 16, 120 * 16);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(QPointF(16, 22), QPointF(22, 11));
    p.setBrush(QColor(90, 90, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 22), 2.5, 2.5);
}

void PaintFieldIcon(QPainter& p, const QString& text, bool buttons)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 8.5, buttons ? 21 : 29, 15));
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRectF(2, 9, buttons ? 19 : 27, 14), Qt::AlignRight | Qt::AlignVCenter, text);
    if (!buttons)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 70, 70));
    p.drawPolygon(QPolygonF({QPointF(24, 15), QPointF(31, 15), QPointF(27.5, 10)}));
    p.drawPolygon(QPolygonF({QPointF(24, 17), QPointF(31, 17), QPointF(27.5, 22)}));
}

void PaintReportIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 3.5, 29, 25));
    p.fillRect(QRectF(2, 4, 28, 6), QColor(200, 200, 200));
    for (int r = 0; r < 3; ++r)
        p.fillRect(QRectF(2, 11 + r * 6, 28, 5), r == 1 ? QColor(237, 186, 148).rgb() : QColor(232, 239, 240).rgb());
    p.setPen(QColor(120, 120, 120));
    p.drawLine(QPointF(11.5, 4), QPointF(11.5, 28));
    p.setPen(QColor(0, 0, 0));
    for (int r = 0; r < 3; ++r)
        p.drawRect(QRectF(4.5, 11.5 + r * 6, 4, 4));
    p.drawLine(QPointF(5, 20), QPointF(8, 16));
}

// Bands from dark red to yellow in a grey outline.
void PaintGradFillIcon(QPainter& p)
{
    const int bands = 6;
    for (int i = 0; i < bands; ++i) {
        const int g = 255 * i / (bands - 1);
        p.fillRect(QRectF(3, 3 + i * 26.0 / bands, 26, 26.0 / bands + 0.5), QColor(128 + 127 * i / (bands - 1), g, 0));
    }
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 2.5, 27, 27));
}

// A framed bar two thirds full, blue to red, with grid lines.
void PaintProgBarIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(1.5, 9.5, 29, 13));
    QLinearGradient bar(QPointF(3, 0), QPointF(29, 0));
    bar.setColorAt(0, QColor(0, 0, 255));
    bar.setColorAt(1, QColor(255, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(bar);
    p.drawRect(QRectF(3, 11, 18, 10));
    p.setPen(QPen(QColor(0, 0, 0), 1));
    for (int x = 8; x < 21; x += 5)
        p.drawLine(QPointF(x + 0.5, 11), QPointF(x + 0.5, 21));
}

// A dark display with "A" in green dots on its raster.
void PaintRasterLabIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(16, 16, 16));
    p.drawRect(QRectF(1.5, 5.5, 29, 21));
    static const char* const glyph[] = {"..#..", ".#.#.", "#...#", "#####", "#...#", "#...#"};
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 9; ++k) {
            const bool lit = k >= 2 && k < 7 && glyph[r][k - 2] == '#';
            p.setBrush(lit ? QColor(0, 230, 0) : QColor(64, 64, 64));
            p.fillRect(QRectF(4 + k * 3, 8 + r * 3, 2, 2), p.brush());
        }
}

// A sunken value field with a number and a unit beside it.
void PaintNumLabIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 236, 236));
    p.drawRect(QRectF(2, 9, 21, 14));
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawLine(QPointF(2.5, 22.5), QPointF(2.5, 8.5));
    p.drawLine(QPointF(2.5, 8.5), QPointF(22.5, 8.5));
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(QPointF(23.5, 8.5), QPointF(23.5, 23.5));
    p.drawLine(QPointF(23.5, 23.5), QPointF(2.5, 23.5));
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0));
    p.drawText(QRectF(3, 9, 20, 14), Qt::AlignCenter, QStringLiteral("3.1"));
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRectF(24, 9, 8, 14), Qt::AlignCenter, QStringLiteral("V"));
}

// Text at an angle with a turning arrow.
void PaintRotLabIcon(QPainter& p)
{
    p.save();
    p.translate(16, 17);
    p.rotate(-40);
    QFont f = p.font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRectF(-14, -7, 28, 14), Qt::AlignCenter, QStringLiteral("Abc"));
    p.restore();
    p.setPen(QPen(QColor(200, 0, 0), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 26, 26), -20 * 16, -70 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 0, 0));
    p.drawPolygon(QPolygonF({QPointF(28.5, 15), QPointF(24.5, 13.5), QPointF(28.5, 10)}));
}

// A red slanted "8" on a dark panel, drawn segment by segment.
void PaintSevenSegIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(51, 51, 51));
    p.drawRoundedRect(QRectF(3, 1, 26, 30), 2, 2);
    p.setBrush(QColor(255, 0, 0));
    const double slant = 0.19;
    auto seg = [&](QPointF a, QPointF b) {
        // A bar from a to b, 2.6 pixels thick, leaning with the digit.
        auto lean = [&](QPointF q) { return QPointF(q.x() + (16 - q.y()) * slant, q.y()); };
        QPointF d = b - a;
        const double len = std::hypot(d.x(), d.y());
        const QPointF n(-d.y() / len * 1.3, d.x() / len * 1.3);
        p.drawPolygon(QPolygonF({lean(a + n), lean(b + n), lean(b - n), lean(a - n)}));
    };
    seg({12, 5}, {21, 5});      // top
    seg({10.5, 6.5}, {10.5, 14.5});
    seg({22.5, 6.5}, {22.5, 14.5});
    seg({12, 16}, {21, 16});    // middle
    seg({10.5, 17.5}, {10.5, 25.5});
    seg({22.5, 17.5}, {22.5, 25.5});
    seg({12, 27}, {21, 27});    // bottom
    p.drawEllipse(QPointF(25.5, 27), 1.3, 1.3);
}

// A month sheet: a caption band with arrows, a row of weekday marks, the day grid with a
// selected day and today circled.
void PaintMiniCalIcon(QPainter& p)
{
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(248, 248, 248));
    p.drawRect(QRectF(1.5, 2.5, 29, 27));
    p.fillRect(QRectF(2, 3, 28, 6), QColor(208, 208, 208));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    p.drawPolygon(QPolygonF({QPointF(4, 6), QPointF(7, 4), QPointF(7, 8)}));
    p.drawPolygon(QPolygonF({QPointF(28, 6), QPointF(25, 4), QPointF(25, 8)}));
    p.fillRect(QRectF(2, 9, 28, 3), QColor(192, 192, 192));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 6; ++c) {
            const QRectF cell(3.5 + c * 4.5, 13.5 + r * 4, 3, 2.5);
            const QColor color = r == 1 && c == 2 ? QColor(0x40, 0xA0, 0xD0)
                                 : c >= 4          ? QColor(0xEE, 0xDD, 0xBB)
                                                   : QColor(130, 130, 130);
            p.fillRect(cell, color);
        }
    p.setPen(QPen(QColor(230, 0, 0), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14.5, 23.75), 3, 2.5);
}

QString WideRangeXml()
{
    const QString bound = QString::number(qor::uc_MaxDouble, 'g', 17);
    return QStringLiteral("  <property name=\"RangeLow\"><double>-%1</double></property>\n"
                          "  <property name=\"RangeHigh\"><double>%1</double></property>\n")
        .arg(bound);
}

QList<WidgetEntry> BuildEntries()
{
    // Palette order of the library.
    QList<WidgetEntry> list;
    list.append({QStringLiteral("TMeter"), QStringLiteral("QOR_Meter.h"), QStringLiteral("Analog meter"),
                 QSize(297, 209), Factory<qor::TMeter>(), PaintMeterIcon,
                 {QStringLiteral("AnchorImage"), QStringLiteral("BackGroundImg")}, {}});
    list.append({QStringLiteral("TGradFill"), QStringLiteral("QOR_gradfl.h"), QStringLiteral("Gradient fill"),
                 QSize(121, 121), Factory<qor::TGradFill>(), PaintGradFillIcon, {}, {}});
    list.append({QStringLiteral("TNumLab"), QStringLiteral("QOR_NumLab.h"), QStringLiteral("Numeric label"),
                 QSize(160, 28), Factory<qor::TNumLab>(), PaintNumLabIcon, {}, {}});
    list.append({QStringLiteral("TNumIO"), QStringLiteral("QOR_NumIO.h"), QStringLiteral("Numeric edit field"),
                 QSize(121, 21), Factory<qor::TNumIO>(),
                 [](QPainter& p) { PaintFieldIcon(p, QStringLiteral("42"), false); }, {},
                 // A field placed in Designer starts with the widest range; the form keeps it.
                 WideRangeXml()});
    list.append({QStringLiteral("TNumIO2"), QStringLiteral("QOR_NumIO.h"), QStringLiteral("Numeric input field"),
                 QSize(160, 26), Factory<qor::TNumIO2>(),
                 [](QPainter& p) { PaintFieldIcon(p, QStringLiteral("1.5"), true); }, {}, {}});
    list.append({QStringLiteral("TMiniCal"), QStringLiteral("QOR_MiniCal.h"), QStringLiteral("Month calendar"),
                 QSize(300, 180), Factory<qor::TMiniCal>(), PaintMiniCalIcon, {}, {}});
    list.append({QStringLiteral("TRotLab"), QStringLiteral("QOR_RotLab.h"), QStringLiteral("Rotated label"),
                 QSize(200, 200), Factory<qor::TRotLab>(), PaintRotLabIcon, {}, {}});
    list.append({QStringLiteral("TSevenSeg"), QStringLiteral("QOR_sevenseg.h"), QStringLiteral("Seven-segment display"),
                 QSize(216, 76), Factory<qor::TSevenSeg>(), PaintSevenSegIcon, {}, {}});
    list.append({QStringLiteral("TProgBar"), QStringLiteral("QOR_ProgBar.h"), QStringLiteral("Progress bar"),
                 QSize(300, 28), Factory<qor::TProgBar>(), PaintProgBarIcon, {}, {}});
    list.append({QStringLiteral("TRasterLab"), QStringLiteral("QOR_RasterLab.h"), QStringLiteral("Dot-matrix label"),
                 QSize(400, 68), Factory<qor::TRasterLab>(), PaintRasterLabIcon, {}, {}});
    list.append({QStringLiteral("TReportListView"), QStringLiteral("QOR_replist.h"), QStringLiteral("Report list"),
                 QSize(320, 200), Factory<qor::TReportListView>(), PaintReportIcon, {}, {}});
    return list;
}

// ---------------------------------------------------------------------------------------------
// File-name properties: a task-menu entry per property opens a file dialog.

class FileNameTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)
public:
    FileNameTaskMenu(QWidget* widget, const QStringList& properties, QObject* parent)
        : QObject(parent), FWidget(widget)
    {
        for (const QString& prop : properties) {
            auto* action = new QAction(tr("Choose %1...").arg(prop), this);
            connect(action, &QAction::triggered, this, [this, prop] { Choose(prop); });
            FActions.append(action);
        }
    }
    QList<QAction*> taskActions() const override { return FActions; }
    QAction* preferredEditAction() const override { return FActions.value(0); }

private:
    void Choose(const QString& prop)
    {
        const QString current = FWidget->property(prop.toLatin1().constData()).toString();
        const QString file = QFileDialog::getOpenFileName(
            FWidget, tr("Choose %1").arg(prop), current,
            QStringLiteral("Windows Bitmap Files (*.bmp);;All Files (*)"));
        if (file.isEmpty())
            return;   // cancelled: the property stays as it is
        if (auto* form = QDesignerFormWindowInterface::findFormWindow(FWidget))
            form->cursor()->setWidgetProperty(FWidget, prop, file);
        else
            FWidget->setProperty(prop.toLatin1().constData(), file);
    }
    QWidget* FWidget;
    QList<QAction*> FActions;
};

class FileNameTaskMenuFactory : public QExtensionFactory {
public:
    explicit FileNameTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}
protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override
    {
        if (iid != QLatin1String(Q_TYPEID(QDesignerTaskMenuExtension)))
            return nullptr;
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget)
            return nullptr;
        const QString cls = QString::fromLatin1(widget->metaObject()->className()).section(QStringLiteral("::"), -1);
        for (const auto& e : Entries())
            if (e.ClassName == cls && !e.FileNameProperties.isEmpty())
                return new FileNameTaskMenu(widget, e.FileNameProperties, parent);
        return nullptr;
    }
};

} // namespace

const QList<WidgetEntry>& Entries()
{
    static const QList<WidgetEntry> entries = BuildEntries();
    return entries;
}

WidgetPlugin::WidgetPlugin(const WidgetEntry& entry, QObject* parent)
    : QObject(parent), FEntry(entry)
{
}

QIcon WidgetPlugin::icon() const
{
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    FEntry.PaintIcon(p);
    return QIcon(pix);
}

QWidget* WidgetPlugin::createWidget(QWidget* parent)
{
    QWidget* w = FEntry.Create(parent);
    // Design mode belongs to Designer's form editor only: its preview, QUiLoader and every
    // program get the widget as code would.
    const bool inFormEditor = FCore && parent && QDesignerFormWindowInterface::findFormWindow(parent);
    if (auto* component = dynamic_cast<qor::TComponentState*>(w); component && inFormEditor)
        component->SetDesigning(true);
    return w;
}

void WidgetPlugin::initialize(QDesignerFormEditorInterface* core)
{
    if (FInitialized)
        return;
    FInitialized = true;
    FCore = core;
    if (!core)
        return;
    static bool factoryRegistered = false;
    if (!factoryRegistered) {
        QExtensionManager* manager = core->extensionManager();
        manager->registerExtensions(new FileNameTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
        factoryRegistered = true;
    }
}

QString WidgetPlugin::domXml() const
{
    // The widget box shows the short name; forms store the qualified class.
    const QString cls = FEntry.ClassName;
    return QStringLiteral("<ui language=\"c++\" displayname=\"%1\">\n"
                          " <widget class=\"%2\" name=\"%3\">\n"
                          "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>%4</width>"
                          "<height>%5</height></rect></property>\n"
                          "%6"
                          " </widget>\n"
                          "</ui>\n")
        .arg(cls, name(), cls.mid(1))
        .arg(FEntry.DefaultSize.width())
        .arg(FEntry.DefaultSize.height())
        .arg(FEntry.ExtraDomXml);
}

KorvaneWidgets::KorvaneWidgets(QObject* parent)
    : QObject(parent)
{
    for (const auto& e : Entries())
        FWidgets.append(new WidgetPlugin(e, this));
}

} // namespace qordesign

#include "QOR_RegKorvane.moc"
