#include "form_widgets.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <algorithm>
#include <limits>

namespace velandra::ui {
namespace {

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
    const auto edges = [](const QRectF& r) {
        return Edges{r.left(), r.top(), r.right(), r.bottom()};
    };
    QFont font = widget.font();
    const auto fits = [&](double points) {
        font.setPointSizeF(points);
        return InkFits(edges(InkRect(font, text, area, align)), edges(area));
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
    font.setFamilies({ToQString(face.family), ToQString(face.substitute)});
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
    if (role != Colour::Highlight) {
        // The desktop colour of today's platforms is black, the colour of plain text on a light
        // face; the palette's text colour gives that, and stays readable on a dark one.
        return palette.color(QPalette::WindowText);
    }
    const auto rgb = [](const QColor& colour) {
        const QColor c = colour.toRgb();
        return Rgb{c.red(), c.green(), c.blue()};
    };
    const Rgb readable = Readable(rgb(palette.color(QPalette::Active, QPalette::Highlight)),
                                  rgb(palette.color(QPalette::Window)));
    return {readable.red, readable.green, readable.blue};
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

void FitTexts(QWidget& form) {
    for (const Element& element : kElements) {
        if (element.kind != Kind::Label && element.kind != Kind::PushButton) continue;
        auto* widget = form.findChild<QWidget*>(ToQString(element.name));
        ShrinkToFit(*widget, ToQString(element.text),
                    element.kind == Kind::Label ? AlignmentOf(element.align) : Qt::AlignHCenter);
    }
}

std::vector<QLine> FormLines(qreal dpi) {
    std::vector<QLine> lines;
    for (const Element& element : kElements) {
        if (element.kind == Kind::Line) lines.push_back(ToQLine(element.line, dpi));
    }
    return lines;
}

}  // namespace velandra::ui
