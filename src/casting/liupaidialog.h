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

    QComboBox *liupaiPreset;     // 增删卜易 / 卜筮正宗 / 通行, 自定义 once an option differs
    QComboBox *yangren;          // 羊刃: 禄后一位 / 阳前阴后
    QCheckBox *fanyin;           // 反吟 of a half also by the facing trigrams
    QComboBox *shijianZichu;     // 时间起卦 from 23:00: the lunar day
    QCheckBox *shuziShichen;     // 数字起卦: the hour joins the moving-line sum
    QComboBox *liangxian;        // 两现: which line decides
    QComboBox *yongshenBuxian;   // 用神不上卦: 伏神 / 日月 / 变爻
    QCheckBox *wangshuai;        // 旺 as 增删卜易 reckons it
    QCheckBox *zhenkong;         // 真空/假空, 真破/目下破
    QCheckBox *dongkongChongshi; // 冲实 of a moving void line
    QCheckBox *sanhe;            // 三合 in 三合章's four forms only
    QCheckBox *huahe;            // 化合
    QCheckBox *dufa;             // 独发/独静
    QCheckBox *yingqiZongzhu;    // 应期 by 各门类应期总注

private:
    void showOptions(const SchoolOptions &options); // every control
    void showPreset();                              // the preset the controls match, or 自定义

    School m_base = School::ZengShan;
    bool m_showing = false;
};

} // namespace lotgrid
