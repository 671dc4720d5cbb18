// The widget-box icons of the plugin, one per registered class. Each draws on a transparent
// 32 x 32 pixmap with an antialiased painter.
#pragma once

class QPainter;

namespace qordesign {

void PaintMeterIcon(QPainter& p);
void PaintMarkSelIcon(QPainter& p);
void PaintColSelIcon(QPainter& p);
void PaintGradFillIcon(QPainter& p);
void PaintTableEditorIcon(QPainter& p);
void PaintNumLabIcon(QPainter& p);
void PaintNumIOIcon(QPainter& p);
void PaintNumIO2Icon(QPainter& p);
void PaintOnOffButIcon(QPainter& p);
void PaintMiniCalIcon(QPainter& p);
void PaintRotLabIcon(QPainter& p);
void PaintSevenSegIcon(QPainter& p);
void PaintProgBarIcon(QPainter& p);
void PaintRasterLabIcon(QPainter& p);
void PaintFolderTreeIcon(QPainter& p);
void PaintThumbnailsIcon(QPainter& p);
void PaintReportIcon(QPainter& p);
void PaintRepSpeedButtonIcon(QPainter& p);
void PaintRLDataIcon(QPainter& p);

} // namespace qordesign
