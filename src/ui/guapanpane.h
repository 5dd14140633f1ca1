#pragma once
// The 卦盘 beside the entry sheet: a dock ("guapanDock") holding the drawing in
// its own scroll area, so it never covers the sheet. It follows the document
// and the words of the case as they change, and the chart's zoom; the 视图
// menu's item "guapanPane" shows or hides it, and the choice is remembered in
// the settings file. A button above the drawing ("guapanJingwen") asks for the
// window of the 周易 texts.

#include "guapan/guapanmodel.h"

#include <QObject>
#include <QSize>

#include <functional>

class QAction;
class QDockWidget;
class QMainWindow;
class QPushButton;
class QScrollArea;

namespace lotgrid {

class ChartDocument;
class GuapanView;

class GuapanPane : public QObject
{
    Q_OBJECT
public:
    // `words` gives the case's words as they stand (question, 占类, sex …).
    GuapanPane(QMainWindow &window, const ChartDocument &document, std::function<GuapanWords()> words,
               QString settingsFile);

    QAction *toggleAction() const { return m_toggle; }
    QDockWidget *dock() const { return m_dock; }
    // The drawing, up to date even while the pane is closed.
    GuapanView *view() const;

    void setZoom(qreal zoom);
    // The size a window needs to show a sheet of size `sheet` and, when shown
    // docked, the whole drawing beside or below it.
    QSize besideSheet(QSize sheet) const;
    // The width the whole drawing takes docked beside the sheet, with the dock's separator.
    int widthBeside() const;
    // The whole drawing shows (or the pane is hidden or floating).
    bool showsWhole() const;
    // Gives a docked pane the width (or, below the sheet, the height) of its
    // drawing, as far as the room the sheet of size `sheet` leaves allows.
    void fitDock(QSize sheet);

signals:
    // The drawing's size changed (another chart, words, zoom).
    void drawingResized();
    // The button 周易经文 was pressed.
    void jingwenRequested();

public slots:
    // Draws the document's chart with the words as they stand now; a pane not
    // on screen draws it when it is shown.
    void refresh();
    // Highlights lines 1..6 (an item picked in the 断卦要点 pane); none clears it.
    void setPicked(const QList<int> &lines);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void draw();
    void fitView();
    QSize paneSize() const;
    int separator() const;

    const ChartDocument &m_document;
    std::function<GuapanWords()> m_words;
    QString m_settingsFile;
    QDockWidget *m_dock;
    QScrollArea *m_scroll;
    QPushButton *m_jingwen;
    GuapanView *m_view;
    QAction *m_toggle;
    QSize m_drawn;
    bool m_stale = false; // the document changed while the pane was not on screen
    QList<int> m_picked;
};

} // namespace lotgrid
