#include "accessibility.h"

#include <QAccessibleWidget>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace velandra::ui {
namespace {

// The piece of `text` around `offset` that a boundary type delimits: a character, a word or
// blank run, a sentence, or (a box having one line and one paragraph) the whole text.
struct Segment {
    int start;
    int end;
};

QTextBoundaryFinder::BoundaryType FinderType(QAccessible::TextBoundaryType type) {
    switch (type) {
        case QAccessible::CharBoundary:
            return QTextBoundaryFinder::Grapheme;
        case QAccessible::WordBoundary:
            return QTextBoundaryFinder::Word;
        case QAccessible::SentenceBoundary:
            return QTextBoundaryFinder::Sentence;
        default:
            return QTextBoundaryFinder::Line;  // not used: the whole text is one segment
    }
}

bool WholeText(QAccessible::TextBoundaryType type) {
    return type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary ||
           type == QAccessible::NoBoundary;
}

// The segment holding `offset`; at the end of the text, the last segment. Every step of the
// finder moves forward, so this ends for any text and offset.
Segment SegmentAt(const QString& text, int offset, QAccessible::TextBoundaryType type) {
    const int length = static_cast<int>(text.size());
    if (length == 0 || WholeText(type)) return {0, length};
    const int inside = std::clamp(offset, 0, length - 1);
    QTextBoundaryFinder finder(FinderType(type), text);
    finder.setPosition(inside);
    int start = finder.isAtBoundary() ? inside : static_cast<int>(finder.toPreviousBoundary());
    int end = static_cast<int>(finder.toNextBoundary());
    if (start < 0) start = 0;
    if (end <= start) end = length;
    return {start, end};
}

class AccessibleLineEdit : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
  public:
    explicit AccessibleLineEdit(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return Edit()->text();
        return QAccessibleWidget::text(kind);
    }

    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value) {
            Edit()->setText(text);
        } else {
            QAccessibleWidget::setText(kind, text);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !Edit()->isReadOnly();
        state.readOnly = Edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    // Text
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !Edit()->hasSelectedText()) return;
        *startOffset = Edit()->selectionStart();
        *endOffset = Edit()->selectionEnd();
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) Edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex != 0) return;
        const int start = Clamp(startOffset);
        Edit()->setSelection(start, Clamp(endOffset) - start);
    }

    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(Clamp(position)); }

    QString text(int startOffset, int endOffset) const override {
        const int start = Clamp(startOffset);
        const int end = std::max(start, Clamp(endOffset));
        return Edit()->text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                         int* endOffset) const override {
        const QString all = Edit()->text();
        if (!InRange(offset)) return Nothing(startOffset, endOffset);
        if (type == QAccessible::CharBoundary && offset == all.size()) {
            *startOffset = *endOffset = offset;
            return {};
        }
        return Piece(all, SegmentAt(all, offset, type), startOffset, endOffset);
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                             int* endOffset) const override {
        const QString all = Edit()->text();
        if (!InRange(offset)) return Nothing(startOffset, endOffset);
        const int before = type == QAccessible::CharBoundary && offset == all.size()
                               ? offset
                               : SegmentAt(all, offset, type).start;
        if (before == 0) return Nothing(startOffset, endOffset);
        return Piece(all, SegmentAt(all, before - 1, type), startOffset, endOffset);
    }

    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                            int* endOffset) const override {
        const QString all = Edit()->text();
        if (!InRange(offset)) return Nothing(startOffset, endOffset);
        const int after = SegmentAt(all, offset, type).end;
        if (after >= all.size() || WholeText(type)) return Nothing(startOffset, endOffset);
        return Piece(all, SegmentAt(all, after, type), startOffset, endOffset);
    }

    // One run of the box's own font over the whole text, so a reader takes the text in one go.
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        const QFont font = Edit()->font();
        return QStringLiteral("font-family:%1;font-size:%2pt")
            .arg(QFontInfo(font).family())
            .arg(font.pointSizeF());
    }

    QRect characterRect(int offset) const override {
        const QString all = Edit()->text();
        const QFontMetrics metrics(Edit()->font());
        const int at = Clamp(offset);
        const QRect contents = Edit()->contentsRect();
        int left = contents.left();
        if (Edit()->alignment() & Qt::AlignHCenter) {
            left += (contents.width() - metrics.horizontalAdvance(all)) / 2;
        }
        const int x = left + metrics.horizontalAdvance(all.left(at));
        const int width = at < all.size() ? metrics.horizontalAdvance(all.at(at)) : 0;
        const int y = contents.top() + (contents.height() - metrics.height()) / 2;
        return {Edit()->mapToGlobal(QPoint(x, y)), QSize(width, metrics.height())};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        Edit()->setCursorPosition(Clamp(endIndex));
        Edit()->setCursorPosition(Clamp(startIndex));
    }

    // Editable text, through the box's own editing so that undo and signals work as for typing.
    void deleteText(int startOffset, int endOffset) override {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString& text) override {
        Edit()->setCursorPosition(Clamp(offset));
        Edit()->insert(text);
    }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        setSelection(0, startOffset, endOffset);
        Edit()->insert(text);
    }

  private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
    int Clamp(int offset) const { return std::clamp(offset, 0, characterCount()); }
    bool InRange(int offset) const { return offset >= 0 && offset <= characterCount(); }

    static QString Nothing(int* startOffset, int* endOffset) {
        *startOffset = *endOffset = -1;
        return {};
    }
    static QString Piece(const QString& all, Segment segment, int* startOffset, int* endOffset) {
        *startOffset = segment.start;
        *endOffset = segment.end;
        return all.mid(segment.start, segment.end - segment.start);
    }
};

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName("Announcer");
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void Announcer::Announce(const QString& message) {
    if (message.isEmpty()) return;
    setAccessibleName(message);
    hide();
    show();
}

QAccessibleInterface* CreateAccessibleInterface(const QString& className, QObject* object) {
    if (auto* announcer = dynamic_cast<Announcer*>(object)) {
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    }
    if (className == QLatin1String("QLineEdit") && object != nullptr && object->isWidgetType()) {
        return new AccessibleLineEdit(static_cast<QLineEdit*>(object));
    }
    return nullptr;
}

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(CreateAccessibleInterface);
        return true;
    }();
    (void)installed;
}

}  // namespace velandra::ui
