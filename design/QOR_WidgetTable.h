// What Designer needs to know of each class the package registers: one declarative table.
#pragma once

#include <QSize>
#include <QString>

class QPainter;

namespace qordesign {

struct WidgetEntry {
    QString ClassName;     // the palette's name: "TMeter", "TRLData"
    QString FormClass;     // the widget class forms store: "qor::TMeter", "qor::TFormTRLData"
    QString IncludeFile;   // "QOR_Meter.h"
    QString ToolTip;       // a few words
    QString WhatsThis;     // a sentence or two on what the component is for
    QString ObjectName;    // the name Designer gives a new widget (it numbers further ones)
    QSize DefaultSize;
    void (*PaintIcon)(QPainter&);   // the widget-box icon, see QOR_WidgetIcons.h
    QString DomDefaults;   // properties Designer stores with each new widget, as .ui XML
};

// The entry of the palette class ClassName; nullptr when the table has none.
const WidgetEntry* FindWidgetEntry(const QString& ClassName);

} // namespace qordesign
