#pragma once
// The main window's status bar ("zhuangtai"): a short message after every
// command that finishes without a window of its own (copied, exported, saved
// to the journal, screenshot written), and a standing hint while six lines
// stand without a day stem: 按时间排盘 fills the stem and the builds from the
// moment of the cast.

#include <QObject>
#include <QString>

class QLabel;
class QMainWindow;
class QStatusBar;

namespace lotgrid {

class ChartDocument;

class StatusMessages : public QObject
{
    Q_OBJECT
public:
    StatusMessages(QMainWindow &window, const ChartDocument &document);

    QStatusBar *bar() const { return m_bar; }
    // The hint as it stands; empty when none is needed.
    QString hint() const;

public slots:
    void say(const QString &message);
    void showHint();

private:
    const ChartDocument &m_document;
    QStatusBar *m_bar;
    QLabel *m_hint;
};

} // namespace lotgrid
