#pragma once
// 流派设置: where the schools part ways, one choice each, named by what it
// changes and by the book it follows. The window reads and keeps the choices
// in the settings file (castsettings); the dialog only shows and edits them.

#include "chart/schooloptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace lotgrid {

class LiupaiDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LiupaiDialog(const SchoolOptions &options, QWidget *parent = nullptr);

    SchoolOptions options() const;

    QComboBox *yangren;      // 羊刃: 禄后一位 / 阳前阴后
    QCheckBox *fanyin;       // 反吟 of a half also by the facing trigrams
    QComboBox *shijianZichu; // 时间起卦 from 23:00: the lunar day
    QCheckBox *shuziShichen; // 数字起卦: the hour joins the moving-line sum
};

} // namespace lotgrid
