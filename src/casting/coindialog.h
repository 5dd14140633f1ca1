#pragma once

#include "chart/castingrules.h"
#include "core/six.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace lotgrid {

// The dialog `Yingbi` of the cast by hand with three coins: six rows, line 6 at
// the top, filled from line 1 up. Each row holds how many of the three coins
// show 背 (0 to 3), entered by flipping its coins (a click on a coin of the
// lowest empty row, or of a filled row, flips that coin and fills the row) or by
// typing the counts in one run into `digits` ("123012", line 1 first). "确定"
// is enabled once all six rows are filled. Anything but the digits 0-3, or more
// than six of them, is refused with a message and leaves the rows as they were.
class CoinDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CoinDialog(bool facesSwapped, QWidget *parent = nullptr);

    Six<std::array<QToolButton *, 3>> coins; // coin<line>_<1..3>
    Six<QLabel *> results;                   // result<line>: "少阳" .. or empty
    QLineEdit *digits;                       // the counts of 背, line 1 first
    QCheckBox *swapFaces;                    // 字 counts 3
    QLabel *message;                         // why the last input was refused
    QPushButton *ok;                         // "确定"
    QPushButton *cancel;                     // "取消"

    // How many coins of each line show 背, line 1 first; -1 for an empty row.
    const std::array<int, 6> &backs() const { return m_backs; }
    // The six lines, once every row is filled.
    std::optional<CastLines> lines() const;

    void coin_Click(int line, int coin);
    void digits_Edited(const QString &text);

private:
    void showRows();
    int filledRows() const;

    std::array<int, 6> m_backs{-1, -1, -1, -1, -1, -1};
    Six<std::array<bool, 3>> m_faceUp; // true: the coin shows 背
};

} // namespace lotgrid
