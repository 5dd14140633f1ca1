#pragma once

#include <QLineEdit>

namespace lotgrid {

// Entry field of one line. A key inserts nothing unless its text is exactly
// "0" or "1" (or 6, 7, 8, 9, the line in the traditional notation), whatever the modifiers held with it (Alt, Ctrl+Alt
// as AltGr, Shift); keys without text of their own (navigation, Backspace, Delete, shortcuts such as Ctrl+A or Ctrl+V)
// work as in any field, and any text an input method commits inserts nothing. Text that arrives otherwise (paste, code)
// is left to the change handling, except that the field only ever holds whole characters: from the first character
// outside the Basic Multilingual Plane on (an emoji, say), nothing is kept, so that cutting the text to its first
// character never leaves half of a surrogate pair.
class LineField : public QLineEdit
{
    Q_OBJECT
public:
    explicit LineField(QWidget *parent = nullptr);

signals:
    // A "0" or "1" was typed and the field holds a line value; emitted after
    // the change handling of the new text has run.
    void lineTyped();
    // Backspace was pressed in an empty field.
    void backspaceWhenEmpty();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};

} // namespace lotgrid
