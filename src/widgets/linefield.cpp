#include "widgets/linefield.h"

#include <QKeyEvent>
#include <QValidator>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// Keeps the text before its first surrogate code unit. The change handling
// cuts a longer text to its first UTF-16 unit, which must be a whole character.
class WholeCharacters : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        const qsizetype cut
            = std::find_if(input.cbegin(), input.cend(), [](QChar c) { return c.isSurrogate(); }) - input.cbegin();
        if (cut < input.size()) {
            input.truncate(cut);
            pos = std::min<int>(pos, int(cut));
        }
        return Acceptable;
    }
};

// True for a key whose text the field would insert: anything but control
// characters. Format characters (bidi marks, joiners) count as text too, since
// QLineEdit inserts them even with Ctrl held.
bool insertsText(const QString &typed)
{
    return std::any_of(typed.cbegin(), typed.cend(), [](QChar c) { return c.category() != QChar::Other_Control; });
}

// QLineEdit never types the text of a key held with Ctrl or Ctrl+Shift alone,
// format characters apart: such keys are shortcuts (Ctrl+V gives "v" on some
// platforms) and go on to the field's own handling.
bool isShortcut(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers held = event->modifiers();
    return held == Qt::ControlModifier || held == (Qt::ControlModifier | Qt::ShiftModifier);
}

bool hasFormatCharacter(const QString &typed)
{
    return std::any_of(typed.cbegin(), typed.cend(), [](QChar c) { return c.category() == QChar::Other_Format; });
}

} // namespace

LineField::LineField(QWidget *parent)
    : QLineEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setValidator(new WholeCharacters(this));
}

void LineField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool isEnter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // 6 old yin, 7 young yang, 8 young yin, 9 old yang: the line handling writes them as "0"/"1" and a tick.
    const bool isLine = typed.size() == 1 && QStringView(u"016789").contains(typed[0]);
    const bool typesText = insertsText(typed) && (!isShortcut(event) || hasFormatCharacter(typed));
    if (isEnter || (typesText && !isLine)) {
        event->accept();
        return;
    }
    const bool wasEmpty = text().isEmpty();
    QLineEdit::keyPressEvent(event);
    // The change handling has run by now, and with it the enabling of the next line's field.
    if (isLine && event->isAccepted() && (text() == u"0" || text() == u"1"))
        emit lineTyped();
    else if (event->key() == Qt::Key_Backspace && wasEmpty && event->modifiers() == Qt::NoModifier)
        emit backspaceWhenEmpty();
}

void LineField::inputMethodEvent(QInputMethodEvent *event)
{
    event->accept();
}

} // namespace lotgrid
