#pragma once

#include <QLineEdit>

namespace lotgrid {

// Entry field of one line. Typing lets through only "0", "1" and backspace;
// every other character, and any text an input method commits, inserts nothing.
// Text that arrives otherwise (paste, Delete, code) is left to the change handling.
class LineField : public QLineEdit
{
    Q_OBJECT
public:
    explicit LineField(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};

} // namespace lotgrid
