#include "form_widgets.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace velandra::ui {
namespace {

// Normal-size text needs a contrast of 4.5:1 to read well (WCAG 2, level AA).
constexpr double kReadableContrast = 4.5;

// Each family with a free stand-in from Debian's packages, picked by measure so that every text
// of the form fits its element: Liberation Sans has the widths of the sans serif, DejaVu Sans is
// drawn after Verdana, EB Garamond is a Garamond. EB Garamond's italic capitals run two pixels
// past the result caption, so the italic takes Liberation Serif, a Times of narrower italic.
struct FontFace {
    const char* family;
    const char* substitute;
    qreal points;
    bool bold;
    bool italic;
};

FontFace FaceOf(Font role) {
    switch (role) {
        case Font::SansSmall:
            return {"MS Sans Serif", "Liberation Sans", 8.25, false, false};
        case Font::Sans:
            return {"MS Sans Serif", "Liberation Sans", 9.75, false, false};
        case Font::GaramondBold:
            return {"Garamond", "EB Garamond", 14.25, true, false};
        case Font::GaramondItalic:
            return {"Garamond", "Liberation Serif", 12, false, true};
        case Font::VerdanaBold:
            return {"Verdana", "DejaVu Sans", 9.75, true, false};
        case Font::VerdanaItalic:
            return {"Verdana", "DejaVu Sans", 9.75, false, true};
        case Font::None:
            break;
    }
    return {"", "", 0, false, false};
}

double RelativeLuminance(const QColor& colour) {
    const auto channel = [](float c) {
        return c <= 0.04045f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) +
           0.0722 * channel(rgb.blueF());
}

// The colour itself if it reads well on the background, else the nearest shade of it, darker
// on a light background and lighter on a dark one, that does.
QColor Readable(QColor colour, const QColor& background) {
    const bool darken = RelativeLuminance(background) > 0.5;
    for (int step = 0; step < 40 && ContrastRatio(colour, background) < kReadableContrast; ++step) {
        colour = darken ? colour.darker(110) : colour.lighter(110);
    }
    return colour;
}

Qt::Alignment AlignmentOf(Align align) {
    return (align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

// The rectangle a label or button draws its text in.
QRect TextArea(QWidget& widget) {
    if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    return static_cast<QLabel&>(widget).contentsRect();
}

void ShrinkToFit(QWidget& widget, const QString& text, Qt::Alignment align) {
    const QRectF area = TextArea(widget);
    // The font engine rounds a text's ink outwards to whole pixels, so a glyph that starts a
    // fraction of a pixel left of or above the area measures a whole pixel out; past the right
    // and bottom edges the measure is kept strict, where shrinking the text helps.
    const QRectF drawable = area.adjusted(-1, -1, 0, 0);
    QFont font = widget.font();
    const auto fits = [&](double points) {
        font.setPointSizeF(points);
        return drawable.contains(InkRect(font, text, area, align));
    };
    const double points = widget.font().pointSizeF();
    const double fitting = FittingPointSize(points, fits);
    if (fitting != points) {
        font.setPointSizeF(fitting);
        widget.setFont(font);
    }
}

QWidget* CreateWidget(const Element& element, QWidget& form, qreal dpi) {
    QWidget* widget = nullptr;
    const QString text = ToQString(element.text);
    switch (element.kind) {
        case Kind::TextBox: {
            auto* box = new QLineEdit(text, &form);
            box->setMaxLength(std::numeric_limits<int>::max());
            box->setAlignment(AlignmentOf(element.align));
            widget = box;
            break;
        }
        case Kind::PushButton: {
            auto* button = new QPushButton(text, &form);
            button->setAutoDefault(false);
            widget = button;
            break;
        }
        case Kind::Label: {
            auto* label = new QLabel(text, &form);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(AlignmentOf(element.align));
            label->setAutoFillBackground(true);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, ColourFor(element.colour, palette));
            label->setPalette(palette);
            widget = label;
            break;
        }
        case Kind::Line:
            return nullptr;
    }
    widget->setObjectName(ToQString(element.name));
    widget->setGeometry(ToQRect(element.box, dpi));
    widget->setFont(FontFor(element.font));
    if (element.kind != Kind::TextBox) {
        ShrinkToFit(*widget, text,
                    element.kind == Kind::Label ? AlignmentOf(element.align) : Qt::AlignHCenter);
    }
    return widget;
}

}  // namespace

QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QRect ToQRect(const Rect& box, qreal dpi) {
    const Rect pixels = ToPixels(box, dpi);
    return {pixels.left, pixels.top, pixels.width, pixels.height};
}

QLine ToQLine(const Segment& line, qreal dpi) {
    const Segment pixels = ToPixels(line, dpi);
    return {pixels.x1, pixels.y1, pixels.x2, pixels.y2};
}

QFont FontFor(Font role) {
    const FontFace face = FaceOf(role);
    QFont font;
    font.setFamilies({face.family, face.substitute});
    font.setPointSizeF(face.points);
    font.setBold(face.bold);
    font.setItalic(face.italic);
    return font;
}

QRectF InkRect(const QFont& font, const QString& text, const QRectF& area, Qt::Alignment align) {
    const QFontMetricsF metrics(font);
    const qreal left = (align & Qt::AlignHCenter)
                           ? area.left() + (area.width() - metrics.horizontalAdvance(text)) / 2
                           : area.left();
    const qreal baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    return metrics.tightBoundingRect(text).translated(left, baseline);
}

QColor ColourFor(Colour role, const QPalette& palette) {
    switch (role) {
        case Colour::Highlight:
            return Readable(palette.color(QPalette::Active, QPalette::Highlight),
                            palette.color(QPalette::Window));
        case Colour::Desktop:
            // The desktop colour of today's platforms is black, the colour of plain text on a
            // light face; the palette's text colour gives that, and stays readable on a dark one.
            return palette.color(QPalette::WindowText);
        case Colour::Default:
            break;
    }
    return palette.color(QPalette::WindowText);
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void BuildForm(QWidget& form) {
    const qreal dpi = form.logicalDpiY();
    std::vector<std::pair<int, QWidget*>> focusable;
    for (const Element& element : kElements) {
        QWidget* widget = CreateWidget(element, form, dpi);
        if (widget != nullptr && widget->focusPolicy() != Qt::NoFocus) {
            focusable.emplace_back(element.tabIndex, widget);
        }
    }

    std::sort(focusable.begin(), focusable.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
    }

    for (const CaptionedBox& pair : kCaptionedBoxes) {
        auto* box = form.findChild<QLineEdit*>(ToQString(pair.box));
        auto* caption = form.findChild<QLabel*>(ToQString(pair.caption));
        caption->setBuddy(box);
        caption->setAccessibleName(ToQString(pair.accessibleName));
        box->setAccessibleName(ToQString(pair.accessibleName));
        box->setAccessibleDescription(ToQString(pair.accessibleDescription));
    }
    form.findChild<QLabel*>(ToQString(kFormulaElement))
        ->setAccessibleName(ToQString(kFormulaReading));
}

std::vector<QLine> FormLines(qreal dpi) {
    std::vector<QLine> lines;
    for (const Element& element : kElements) {
        if (element.kind == Kind::Line) lines.push_back(ToQLine(element.line, dpi));
    }
    return lines;
}

}  // namespace velandra::ui
