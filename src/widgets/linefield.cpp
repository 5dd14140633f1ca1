#include "widgets/linefield.h"

#include <QKeyEvent>

namespace lotgrid {

LineField::LineField(QWidget *parent)
    : QLineEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void LineField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool isCharacter = !typed.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
                             && (typed.front().isPrint() || typed.front() == u'\r' || typed.front() == u'\n'
                                 || typed.front() == u'\t' || typed.front() == u'\b');
    const bool isEnter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isEnter || (isCharacter && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab)) {
        if (typed != u"0" && typed != u"1" && event->key() != Qt::Key_Backspace) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void LineField::inputMethodEvent(QInputMethodEvent *event)
{
    event->accept();
}

} // namespace lotgrid
