#include "ui/reference/windowparts.h"

#include "widgets/chartcolours.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid::reference {

QWidget *newWindow(QWidget *parent, const QString &name, const QString &caption)
{
    auto *w = new QWidget(parent, Qt::Window);
    w->setObjectName(name);
    w->setWindowTitle(caption);
    w->setAttribute(Qt::WA_DeleteOnClose);
    return w;
}

QLabel *heading(const QString &text)
{
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.5);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel *textLine(const QString &text)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void addLines(QBoxLayout *layout, std::initializer_list<const char16_t *> texts)
{
    for (const char16_t *text : texts)
        layout->addWidget(textLine(QString::fromUtf16(text)));
}

namespace {
void copySelection(QTableWidget *table)
{
    const QList<QTableWidgetSelectionRange> ranges = table->selectedRanges();
    if (ranges.isEmpty())
        return;
    int top = table->rowCount(), bottom = -1, left = table->columnCount(), right = -1;
    for (const QTableWidgetSelectionRange &r : ranges) {
        top = std::min(top, r.topRow());
        bottom = std::max(bottom, r.bottomRow());
        left = std::min(left, r.leftColumn());
        right = std::max(right, r.rightColumn());
    }
    QStringList lines;
    for (int row = top; row <= bottom; ++row) {
        QStringList cells;
        for (int column = left; column <= right; ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            cells << (item && item->isSelected() ? item->text() : QString());
        }
        lines << cells.join(u'\t');
    }
    QApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}
} // namespace

QTableWidget *fixedTable(int rows, int columns)
{
    auto *table = new QTableWidget(rows, columns);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    table->setWordWrap(false);

    auto *copy = new QAction(table);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(copy, &QAction::triggered, table, [table] { copySelection(table); });
    table->addAction(copy);
    return table;
}

QTableWidgetItem *setCell(QTableWidget *table, int row, int column, const QString &text, bool bold)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    if (bold) {
        QFont font = table->font();
        font.setBold(true);
        item->setFont(font);
    }
    table->setItem(row, column, item);
    return item;
}

void colourCell(QTableWidgetItem *item, const CellColours &colours)
{
    item->setForeground(colours.text);
    item->setBackground(colours.ground);
}

void fitTable(QTableWidget *table)
{
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    int width = 0;
    for (int column = 0; column < table->columnCount(); ++column)
        width = std::max(width, table->columnWidth(column));
    width += table->fontMetrics().horizontalAdvance(u"字"_s); // breathing room on both sides
    for (int column = 0; column < table->columnCount(); ++column)
        table->setColumnWidth(column, width);
    const int height = table->rowHeight(0) + table->fontMetrics().height() / 3;
    for (int row = 0; row < table->rowCount(); ++row)
        table->setRowHeight(row, height);
    table->adjustSize();
}

} // namespace lotgrid::reference
