#include "casting/liupaidialog.h"

#include "qtcore/textconv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

QLabel *note(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::PlaceholderText));
    l->setPalette(p);
    return l;
}

} // namespace

LiupaiDialog::LiupaiDialog(const SchoolOptions &options, QWidget *parent)
    : QDialog(parent)
    , yangren(new QComboBox(this))
    , fanyin(new QCheckBox(u"内卦、外卦变为后天对宫之卦（乾巽、坎离、艮坤、震兑）也算反吟"_s, this))
    , shijianZichu(new QComboBox(this))
    , shuziShichen(new QCheckBox(u"动爻之数加上起卦时辰之数"_s, this))
{
    setObjectName(u"liupaiDialog"_s);
    setWindowTitle(u"流派设置"_s);
    yangren->setObjectName(u"yangren"_s);
    fanyin->setObjectName(u"fanyin"_s);
    shijianZichu->setObjectName(u"shijianZichu"_s);
    shuziShichen->setObjectName(u"shuziShichen"_s);

    yangren->addItem(u"禄后一位（十干皆然，默认）"_s);
    yangren->addItem(u"阳前阴后（阳干禄后一位，阴干禄前一位）"_s);
    yangren->setCurrentIndex(static_cast<int>(options.blade));
    fanyin->setChecked(options.facingTrigramsReverse);
    shijianZichu->addItem(u"随“子初换日”选项（默认）"_s);
    shijianZichu->addItem(u"子正换日：23点后仍用当天农历日"_s);
    shijianZichu->addItem(u"子初换日：23点起用次日农历日"_s);
    shijianZichu->setCurrentIndex(static_cast<int>(options.timeCastDay));
    shuziShichen->setChecked(options.numberCastAddsHour);

    auto *form = new QFormLayout;
    form->addRow(u"羊刃："_s, yangren);
    form->addRow(
        QString(),
        note(u"改变神煞中羊刃的地支。默认禄后一位，十干一律（六爻书通行的取法）；阳前阴后是子平命理阳刃、阴刃之说。"_s,
             this));
    form->addRow(u"反吟："_s, fanyin);
    form->addRow(
        QString(),
        note(u"改变内卦、外卦反吟的判定。默认只看地支逐位相冲（《增删卜易》）；勾选后兼取《卜筮正宗》的对宫卦之说。"_s,
             this));
    form->addRow(u"时间起卦："_s, shijianZichu);
    form->addRow(QString(),
                 note(u"改变23点至24点之间时间起卦所用的农历日：子初换日为23点换日，子正换日为0点换日。"_s, this));
    form->addRow(u"数字起卦："_s, shuziShichen);
    form->addRow(
        QString(),
        note(u"改变数字起卦的动爻。默认动爻只用数字之和；勾选后按《梅花易数》之法，另加起卦时辰之数。"_s, this));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"确定"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

SchoolOptions LiupaiDialog::options() const
{
    SchoolOptions o;
    o.blade = static_cast<BladeRule>(std::max(0, yangren->currentIndex()));
    o.facingTrigramsReverse = fanyin->isChecked();
    o.timeCastDay = static_cast<TimeCastDay>(std::max(0, shijianZichu->currentIndex()));
    o.numberCastAddsHour = shuziShichen->isChecked();
    return o;
}

} // namespace lotgrid
