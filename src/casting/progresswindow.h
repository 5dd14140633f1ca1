#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QTimer;

namespace lotgrid {

// The progress window `zg` of the automatic cast: a borderless window whose
// bar advances 10 of 1000 every 100 ms (about ten seconds) while the message
// line names the line being cast. When the bar reaches 1000 it runs the cast
// it was given, which shows the main window again and closes this one. It has
// no cancel, and it refuses to close before the cast, so that the hidden main
// window always comes back. Wherever it is placed, it shows inside the
// available area of its screen.
class ProgressWindow : public QWidget
{
    Q_OBJECT
public:
    ProgressWindow(std::function<void()> cast, QWidget *parent = nullptr);

    QProgressBar *ProgressBar1; // 0..1000
    QLabel *Labelinfo;          // the message line
    QString Text1;              // the bar's value as the message step read it
    QTimer *Timer1;             // 100 ms: advance the bar, cast at 1000
    QTimer *Timer2;             // 100 ms: the message for the bar's value

    void stepTimer1();
    void stepTimer2();

    bool castDone() const { return m_castDone; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void keepInsideScreen();

    std::function<void()> m_cast;
    bool m_castDone = false;
};

} // namespace lotgrid
