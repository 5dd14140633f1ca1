#pragma once
// The window 周易经文 (jingwen): the 周易 texts of the chart on the sheet. First
// the texts the cast reads by 朱熹's rule, the main one marked; then the
// original and the changed hexagram in full, each line with its 小象 and the
// moving lines marked. A search box looks through the whole text (names,
// 卦辞, 彖, 象, 爻辞, 小象); its results read "乾 · 九三", and a click shows
// that hexagram with the line marked, until "本卦经文" brings the cast back.
// The type follows the font of a widget the window is told to follow (the
// sheet, whose font is the program's zoom).

#include "chart/chart.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace lotgrid {

class JingwenWindow : public QWidget
{
    Q_OBJECT
public:
    explicit JingwenWindow(QWidget *parent = nullptr);

    // Shows the texts of `chart`'s cast (or says that six lines are wanted).
    void setChart(const Chart &chart);
    // Takes the point size of `source`'s font now and whenever it changes.
    void followFont(QWidget *source);
    // Fills the results with the places holding `phrase`; the count of them.
    int search(const QString &phrase);
    // Shows the hexagram of the result in row `row` with its place marked.
    void showResult(int row);
    // Shows the cast's texts again.
    void showCast();

    QLineEdit *searchBox() const { return m_search; }
    QListWidget *results() const { return m_results; }
    QTextBrowser *text() const { return m_text; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void takeFont();

    Chart m_chart;
    QPointer<QWidget> m_fontSource;
    QLineEdit *m_search;
    QListWidget *m_results;
    QPushButton *m_back;
    QTextBrowser *m_text;
};

} // namespace lotgrid
