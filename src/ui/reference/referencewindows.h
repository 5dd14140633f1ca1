#pragma once
// The windows that stand beside the chart: the hidden-spirit query, the five
// reference tables, the two help pages, and the about box. Each factory returns a new
// top-level window (parented to `parent`, deleted when closed) carrying its name
// as objectName(); the main window keeps one of each and raises it when asked again.

#include "chart/hexagrams.h"

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace lotgrid {

// `Fenshen`: asks `currentOriginal` for the chart's original hexagram (none without six lines) when "查询" is pressed.
QWidget *createFenshen(QWidget *parent, std::function<const HexagramRow *()> currentOriginal);
QWidget *createLiujia(QWidget *parent);
QWidget *createSswx1(QWidget *parent);
QWidget *createYao3x(QWidget *parent);
QWidget *createYao6h(QWidget *parent);
QWidget *createYao6c(QWidget *parent);
// `Helpf` (使用说明), the manual: how a chart is made and what the program does by itself,
// then the moment row, the casts, the marks, strength, the use god, 应期, the 周易 texts,
// the journal, the exports, the school options and the command-line tools, explained.
QWidget *createHelpf(QWidget *parent);
QDialog *createAboutt(QWidget *parent);

} // namespace lotgrid
