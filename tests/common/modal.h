#pragma once
// Answers the next modal dialog or message box from inside a test: the box
// is found when it appears, its title and text are recorded, and the chosen
// button is clicked. Use it before the call that opens the box.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

struct ModalAnswer {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat textFormat = Qt::AutoText;
};

// Waits (polling on the event loop) for a modal widget; when it is a message
// box, records it and presses `button`; otherwise runs `other` on it.
inline std::shared_ptr<ModalAnswer> answerNextModal(QMessageBox::StandardButton button,
                                                    std::function<void(QWidget *)> other = {})
{
    auto answer = std::make_shared<ModalAnswer>();
    auto *poll = new QTimer;
    poll->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, answer, button, other, tries] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            if (++*tries > 2000) // 10 s: give up so that a missing box fails the test instead of hanging it
                poll->deleteLater();
            return;
        }
        poll->stop();
        poll->deleteLater();
        answer->seen = true;
        answer->title = modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            answer->text = box->text();
            answer->icon = box->icon();
            answer->textFormat = box->textFormat();
            if (QAbstractButton *b = box->button(button))
                b->click();
            else
                box->close();
        } else if (other) {
            other(modal);
        } else {
            modal->close();
        }
    });
    poll->start();
    return answer;
}
