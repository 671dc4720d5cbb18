// Page registry of the gallery. A page file registers itself with
//   static const bool registered = gallery::RegisterPage(order, "Title", "file-name", factory);
// The page list is sorted by order.
#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace gallery {

struct PageInfo {
    int Order;
    QString Title;      // shown in the page list
    QString FileName;   // base name of the screenshot, "drawing" -> drawing.png
    std::function<QWidget*()> Create;
};

bool RegisterPage(int order, const QString& title, const QString& fileName, std::function<QWidget*()> create);
// The pages sorted by order.
std::vector<PageInfo> Pages();

// A titled group box holding the widget, for laying out pages.
QWidget* Framed(const QString& title, QWidget* content);
// A label that names the field beside it (its buddy): a screen reader reads it as the field's name.
QLabel* LabelFor(const QString& text, QWidget* field);

} // namespace gallery
