#pragma once
// The 断卦要点 pane: a dock ("yaodian") listing the summary of the document's
// chart, an item a line, the trend on top and one line saying it is a reading
// aid. An item's tooltip gives its book and chapter and the rule; clicking it
// picks the lines it rests on, which the sheet and the 卦盘 highlight
// (`linesPicked`). The 视图 menu's item "yaodian" shows or hides it, and the
// choice is remembered in the settings file.

#include <QList>
#include <QObject>

class QAction;
class QDockWidget;
class QLabel;
class QListWidget;
class QMainWindow;

namespace lotgrid {

class ChartDocument;
class ChartSheet;

class YaodianPane : public QObject
{
    Q_OBJECT
public:
    YaodianPane(QMainWindow &window, const ChartDocument &document, ChartSheet &sheet, QString settingsFile);

    QAction *toggleAction() const { return m_toggle; }
    QDockWidget *dock() const { return m_dock; }
    QListWidget *list() const { return m_list; }
    QList<int> picked() const { return m_picked; }

signals:
    // The lines of the item clicked; empty when the pick is cleared (another chart).
    void linesPicked(const QList<int> &lines);

public slots:
    void refresh();

private:
    void pick(const QList<int> &lines);

    const ChartDocument &m_document;
    ChartSheet &m_sheet;
    QString m_settingsFile;
    QDockWidget *m_dock;
    QLabel *m_trend;
    QListWidget *m_list;
    QAction *m_toggle;
    QList<int> m_picked;
};

} // namespace lotgrid
