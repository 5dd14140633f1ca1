#pragma once
// Building blocks shared by the reference windows: a top-level window that is
// deleted when closed, headings, lines of text, and read-only tables that keep
// their cells selectable and copyable.

#include <QString>

#include <initializer_list>

class QBoxLayout;
class QLabel;
class QTableWidget;
class QTableWidgetItem;
class QWidget;

namespace lotgrid {
struct CellColours;
}

namespace lotgrid::reference {

// A window standing beside `parent` (Qt::Window), named `name`, titled `caption`, deleted on close.
QWidget *newWindow(QWidget *parent, const QString &name, const QString &caption);

// The window's heading: larger bold text.
QLabel *heading(const QString &text);

// One line of fixed text, selectable with the mouse.
QLabel *textLine(const QString &text);

// Adds one textLine per text to `layout`, in order.
void addLines(QBoxLayout *layout, std::initializer_list<const char16_t *> texts);

// A read-only table of `rows` x `columns` cells without header sections, sized
// to show every cell without scroll bars; Ctrl+C copies the selected cells as
// tab-separated lines.
QTableWidget *fixedTable(int rows, int columns);

// Puts `text` in cell (row, column), centred; bold on request.
QTableWidgetItem *setCell(QTableWidget *table, int row, int column, const QString &text, bool bold = false);

// Writes a cell's text and ground in `colours`.
void colourCell(QTableWidgetItem *item, const CellColours &colours);

// Gives every column the width of the widest and fixes the table to its contents.
void fitTable(QTableWidget *table);

} // namespace lotgrid::reference
