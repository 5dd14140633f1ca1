#include "casting/liupaidialog.h"

#include "qtcore/textconv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
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
    , liupaiPreset(new QComboBox(this))
    , yangren(new QComboBox(this))
    , fanyin(new QCheckBox(u"内卦、外卦变为后天对宫之卦（乾巽、坎离、艮坤、震兑）也算反吟"_s, this))
    , shijianZichu(new QComboBox(this))
    , shuziShichen(new QCheckBox(u"动爻之数加上起卦时辰之数"_s, this))
    , liangxian(new QComboBox(this))
    , yongshenBuxian(new QComboBox(this))
    , wangshuai(new QCheckBox(u"临日月、得日月动爻变爻生扶、逢长生帝旺皆为旺"_s, this))
    , zhenkong(new QCheckBox(u"分真空假空、真破与目下破"_s, this))
    , dongkongChongshi(new QCheckBox(u"动爻旬空逢日冲亦为冲实"_s, this))
    , sanhe(new QCheckBox(u"三合局只取三合章四格"_s, this))
    , huahe(new QCheckBox(u"动爻化出与本爻六合者标“化合”"_s, this))
    , dufa(new QCheckBox(u"一爻独动标“独发”，一爻独静标“独静”"_s, this))
    , yingqiZongzhu(new QCheckBox(u"应期兼取各门类应期总注诸法及忌神之期"_s, this))
{
    setObjectName(u"liupaiDialog"_s);
    setWindowTitle(u"流派设置"_s);
    const auto name = [](QWidget *w, const QString &objectName, const QString &tip) {
        w->setObjectName(objectName);
        if (!tip.isEmpty())
            w->setToolTip(tip);
    };
    name(liupaiPreset, u"liupaiPreset"_s,
         u"一次选定一个流派的全部取法：增删卜易、卜筮正宗，或通行（本程序先前的取法）；改动任一项即为自定义。"_s);
    name(yangren, u"yangren"_s, u"神煞羊刃：禄后一位为六爻书通行之法（卜筮正宗神煞歌），阳前阴后为子平之说。"_s);
    name(fanyin, u"fanyin"_s, u"卜筮正宗反伏章兼取卦之反吟（变为对宫之卦）；增删卜易反伏章只论地支相冲。"_s);
    name(shijianZichu, u"shijianZichu"_s,
         u"梅花易数时间起卦23点后所用的农历日，子初换日为23点换日、子正换日为0点换日；增删卜易、卜筮正宗不论此法。"_s);
    name(shuziShichen, u"shuziShichen"_s,
         u"梅花易数数字起卦，动爻之数另加起卦时辰之数；增删卜易、卜筮正宗不论此法。"_s);
    name(
        liangxian, u"liangxian"_s,
        u"用神两现取哪一爻：增删卜易两现章古法取旺、动、不破、不空，另有空破之爻定应期；卜筮正宗十八问答取持世、临月日、月破、旬空、动爻。"_s);
    name(yongshenBuxian, u"yongshenBuxian"_s,
         u"用神不上卦：增删卜易飞伏神章以日月为用神，卜筮正宗启蒙节要先查变爻，都不见方取伏神。"_s);
    name(
        wangshuai, u"wangshuai"_s,
        u"增删卜易各门类题头总注：得用临日月，或遇日月动爻变爻生扶，或遇长生帝旺，皆谓之旺；不勾选则看月令旺相与日建生扶。"_s);
    name(
        zhenkong, u"zhenkong"_s,
        u"增删卜易旬空章与月破章：旺、动或得日建动爻生扶之空为假空，静而无助为真空；动或得生之破为目下破，静而无助为真破。"_s);
    name(dongkongChongshi, u"dongkongChongshi"_s, u"增删卜易月破章兑之讼：冲空则实不为空，动爻旬空逢日冲亦实。"_s);
    name(
        sanhe, u"sanhe"_s,
        u"增删卜易三合章：三爻动、两动一静、内卦初三爻动变出、外卦四六爻动变出四格方成局；不勾选则一爻动配静爻或月日亦成。"_s);
    name(huahe, u"huahe"_s, u"增删卜易六合章：动爻化出之支与本爻六合为化合，与化进神一样列于动爻之后。"_s);
    name(dufa, u"dufa"_s, u"增删卜易独静独发章：卦中只一爻动为独发，只一爻静为独静，所重在此一爻。"_s);
    name(
        yingqiZongzhu, u"yingqiZongzhu"_s,
        u"增删卜易各门类应期总注：空爱填冲、三墓喜冲开、合宜相击、太旺逢墓逢冲，及化空出空、化破补破、进退之期与忌神之期。"_s);

    for (const School k : {School::ZengShan, School::BuShi, School::Common, School::Custom})
        liupaiPreset->addItem(qs(schoolName(k)));
    // 自定义 is shown, never chosen: it follows from changing an option.
    if (auto *model = qobject_cast<QStandardItemModel *>(liupaiPreset->model()))
        model->item(static_cast<int>(School::Custom))->setEnabled(false);
    yangren->addItem(u"禄后一位（十干皆然）"_s);
    yangren->addItem(u"阳前阴后（阳干禄后一位，阴干禄前一位）"_s);
    shijianZichu->addItem(u"随“子初换日”选项（默认）"_s);
    shijianZichu->addItem(u"子正换日：23点后仍用当天农历日"_s);
    shijianZichu->addItem(u"子初换日：23点起用次日农历日"_s);
    liangxian->addItem(u"通行：舍静用动、舍衰用旺、舍破舍空、舍闲用世应"_s);
    liangxian->addItem(u"增删卜易古法：取旺取动，空破之爻定应期"_s);
    liangxian->addItem(u"卜筮正宗：持世为先，次临月日、月破、旬空、动爻"_s);
    yongshenBuxian->addItem(u"取伏神"_s);
    yongshenBuxian->addItem(u"先取日月，日月不是再取伏神"_s);
    yongshenBuxian->addItem(u"先取变爻，变爻不见再取伏神"_s);
    m_base = options.base == School::Custom ? School::ZengShan : options.base;
    showOptions(options);

    auto *form = new QFormLayout;
    form->addRow(u"流派："_s, liupaiPreset);
    form->addRow(u"两现："_s, liangxian);
    form->addRow(u"用神不上卦："_s, yongshenBuxian);
    form->addRow(u"旺衰："_s, wangshuai);
    form->addRow(u"空破："_s, zhenkong);
    form->addRow(QString(), dongkongChongshi);
    form->addRow(u"三合："_s, sanhe);
    form->addRow(u"化合："_s, huahe);
    form->addRow(u"独发独静："_s, dufa);
    form->addRow(u"应期："_s, yingqiZongzhu);
    form->addRow(u"羊刃："_s, yangren);
    form->addRow(
        QString(),
        note(u"改变神煞中羊刃的地支。禄后一位，十干一律（六爻书通行的取法）；阳前阴后是子平命理阳刃、阴刃之说。"_s,
             this));
    form->addRow(u"反吟："_s, fanyin);
    form->addRow(
        QString(),
        note(u"改变内卦、外卦反吟的判定。只看地支逐位相冲为《增删卜易》之说；勾选后兼取《卜筮正宗》的对宫卦之说。"_s,
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

    connect(liupaiPreset, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing || index < 0 || index >= static_cast<int>(School::Custom))
            return;
        m_base = static_cast<School>(index);
        showOptions(schoolPreset(m_base));
    });
    for (QComboBox *box : {yangren, shijianZichu, liangxian, yongshenBuxian})
        connect(box, &QComboBox::currentIndexChanged, this, &LiupaiDialog::showPreset);
    for (QCheckBox *box :
         {fanyin, shuziShichen, wangshuai, zhenkong, dongkongChongshi, sanhe, huahe, dufa, yingqiZongzhu})
        connect(box, &QCheckBox::toggled, this, &LiupaiDialog::showPreset);
}

void LiupaiDialog::showOptions(const SchoolOptions &o)
{
    m_showing = true;
    yangren->setCurrentIndex(static_cast<int>(o.blade));
    fanyin->setChecked(o.facingTrigramsReverse);
    shijianZichu->setCurrentIndex(static_cast<int>(o.timeCastDay));
    shuziShichen->setChecked(o.numberCastAddsHour);
    liangxian->setCurrentIndex(static_cast<int>(o.twice));
    yongshenBuxian->setCurrentIndex(static_cast<int>(o.absent));
    wangshuai->setChecked(o.bookStrength);
    zhenkong->setChecked(o.voidKinds);
    dongkongChongshi->setChecked(o.movingFillByClash);
    sanhe->setChecked(o.bookHarmonies);
    huahe->setChecked(o.changeCombine);
    dufa->setChecked(o.loneLine);
    yingqiZongzhu->setChecked(o.bookYingqi);
    m_showing = false;
    showPreset();
}

void LiupaiDialog::showPreset()
{
    if (m_showing)
        return;
    m_showing = true;
    liupaiPreset->setCurrentIndex(static_cast<int>(schoolOf(options())));
    m_showing = false;
}

SchoolOptions LiupaiDialog::options() const
{
    SchoolOptions o;
    o.blade = static_cast<BladeRule>(std::max(0, yangren->currentIndex()));
    o.facingTrigramsReverse = fanyin->isChecked();
    o.timeCastDay = static_cast<TimeCastDay>(std::max(0, shijianZichu->currentIndex()));
    o.numberCastAddsHour = shuziShichen->isChecked();
    o.twice = static_cast<TwiceRule>(std::max(0, liangxian->currentIndex()));
    o.absent = static_cast<AbsentRule>(std::max(0, yongshenBuxian->currentIndex()));
    o.bookStrength = wangshuai->isChecked();
    o.voidKinds = zhenkong->isChecked();
    o.movingFillByClash = dongkongChongshi->isChecked();
    o.bookHarmonies = sanhe->isChecked();
    o.changeCombine = huahe->isChecked();
    o.loneLine = dufa->isChecked();
    o.bookYingqi = yingqiZongzhu->isChecked();
    const School matched = schoolOf(o);
    o.base = matched == School::Custom ? m_base : matched;
    return o;
}

} // namespace lotgrid
