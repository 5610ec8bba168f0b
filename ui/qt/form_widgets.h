// Turns the form's table into Qt widgets and pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QLine>
#include <QPalette>
#include <QRect>
#include <QString>
#include <vector>

#include "appearance.h"
#include "form.h"
#include "form_metrics.h"

class QWidget;

namespace velandra::ui {

QString ToQString(std::string_view utf8);

// The table's twips as Qt pixels at the given logical resolution.
QRect ToQRect(const Rect& box, qreal dpi);
QLine ToQLine(const Segment& line, qreal dpi);

// The font of a role: the named family where it is installed, else a free one of like width.
QFont FontFor(Font role);

// Where the ink of a single line of text lands when drawn in `area` with the given alignment,
// as QPainter lays it out: the line box centred vertically, the text left-aligned or centred.
QRectF InkRect(const QFont& font, const QString& text, const QRectF& area, Qt::Alignment align);

// The concrete colour of a role on a palette, readable on the palette's window colour.
QColor ColourFor(Colour role, const QPalette& palette);

// Creates every widget of the table as a child of the form, named after its element, and
// chains the focusable ones in tab-index order.
void BuildForm(QWidget& form);

// Shrinks the font of each label or button whose text would not fit with the font its family
// resolves to, just enough for the whole text to fit. Measuring loads the fonts.
void FitTexts(QWidget& form);

// The lines of the table in pixels, in creation order.
std::vector<QLine> FormLines(qreal dpi);

}  // namespace velandra::ui
