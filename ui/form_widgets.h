// Turns the form's table into Qt widgets and pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QLine>
#include <QPalette>
#include <QRect>
#include <QString>
#include <vector>

#include "form.h"

class QWidget;

namespace velandra::ui {

QString ToQString(std::string_view utf8);

// Twips to pixels at the given logical resolution: 15 twips make a pixel at 96 dpi.
int ToPixels(int twips, qreal dpi);
QRect ToPixels(const Rect& box, qreal dpi);
QLine ToPixels(const Segment& line, qreal dpi);

// The font of a role: the named family where it is installed, else a free one of like width.
QFont FontFor(Font role);

// The concrete colour of a role on a palette, readable on the palette's window colour.
QColor ColourFor(Colour role, const QPalette& palette);

// WCAG contrast ratio of two colours, from 1 (none) to 21.
double ContrastRatio(const QColor& a, const QColor& b);

// Creates every widget of the table as a child of the form, named after its element, and
// chains the focusable ones in tab-index order.
void BuildForm(QWidget& form);

// The lines of the table in pixels, in creation order.
std::vector<QLine> FormLines(qreal dpi);

}  // namespace velandra::ui
