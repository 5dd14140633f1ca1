// The reference windows made of fixed lines of text (the three punishments,
// the six harmonies, the six clashes), the help window and the about box.

#include "core/version.h"
#include "ui/reference/referencewindows.h"
#include "ui/reference/windowparts.h"
#include "widgets/appicon.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// A window of a heading over lines of text; returns its layout for more.
QVBoxLayout *textWindow(QWidget *w, const QString &title, std::initializer_list<const char16_t *> lines)
{
    auto *layout = new QVBoxLayout(w);
    layout->addWidget(reference::heading(title));
    reference::addLines(layout, lines);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return layout;
}

QLabel *sectionHeading(const QString &text)
{
    QLabel *label = reference::textLine(text);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    return label;
}

} // namespace

QWidget *createYao3x(QWidget *parent)
{
    QWidget *w = reference::newWindow(parent, u"Yao3x"_s, u"爻之三刑"_s);
    textWindow(w, u"爻之三刑"_s,
               {u"子刑卯、卯刑子，为无礼之刑", u"巳刑申，申刑寅，寅刑巳，为持势之刑",
                u"丑刑戌、戌刑未，未刑土，为无恩之刑", u"辰、午、酉、亥自刑",
                u"相刑，不仅卦爻中动变而成，卦爻与日、月也可勾为三刑", u"相刑虽主凶灾之事，但也有贪合忘刑之别"});
    return w;
}

QWidget *createYao6h(QWidget *parent)
{
    QWidget *w = reference::newWindow(parent, u"yao6h"_s, u"爻之六合"_s);
    textWindow(w, u"爻之六合"_s,
               {u"六合：子丑、寅亥、卯戌、辰酉、巳申、午未", u"应来合世：为他来合我；世爻合应，为我去合他",
                u"合有合申有生，合申有克：如子与丑合，卯与戌合，巳与申合，为合申有克",
                u"合申有生：如寅与亥合，辰与酉合，午与未合"});
    return w;
}

QWidget *createYao6c(QWidget *parent)
{
    QWidget *w = reference::newWindow(parent, u"yao6c"_s, u"爻之六冲"_s);
    QVBoxLayout *layout
        = textWindow(w, u"爻之六冲"_s,
                     {u"爻之相冲：子午、丑未、寅申、卯酉、巳亥、辰戌",
                      u"六冲卦有：乾、坎、艮、震、巽、离、坤、兑、天雷无妄、雷天大壮",
                      u"日辰冲动爻为散，动爻冲爻为散。旺相者，冲之不散；有气者，冲之不散；休囚者，遇冲易散。"});

    auto *left = new QVBoxLayout;
    left->addWidget(sectionHeading(u"相冲者有六："_s));
    reference::addLines(left,
                        {u"1.日月冲爻", u"2.卦逢六冲", u"3.六合变六冲", u"4.六冲变六冲", u"5.动爻变冲", u"6.爻与爻冲"});
    left->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(sectionHeading(u"爻冲有五："_s));
    reference::addLines(right, {u"1.爻遇月冲为月破", u"2.爻旺相遇日冲为暗动", u"3.爻休囚遇日冲为日破",
                                u"4.动爻化回头冲，如逢仇敌", u"5.爻与爻冲，谓之相击"});
    right->addStretch();

    auto *lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addSpacing(24);
    lists->addLayout(right, 1);
    layout->addSpacing(8);
    layout->addLayout(lists);
    return w;
}

QWidget *createHelpf(QWidget *parent)
{
    QWidget *w = reference::newWindow(parent, u"Helpf"_s, u"帮助"_s);
    auto *layout = new QVBoxLayout(w);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    layout->addWidget(sectionHeading(u"帮助指南"_s));
    reference::addLines(layout, {u"本软件为半自动,半自动的功能如下：", u"1. 根据手填数据自动显示本卦",
                                 u"2. 根据太阳或者太阴自动显示或变更变卦", u"3. 自动显示世、应",
                                 u"4. 根据本卦的属性，自动显示变卦的六亲", u"5. 工具配有自动卜卦功能",
                                 u"6. 选择日干自动得出当日六神", u"7. 因本人能力有限，故月建日建需手动指定",
                                 u"8. 菜单中带截图功能，快捷键为Ctrl+S"});
    layout->addSpacing(10);

    layout->addWidget(sectionHeading(u"使用指南"_s));
    reference::addLines(layout, {u"1. 选择当天的日干，得出六神", u"2. 手摇占卦者，请在1爻至6爻中填入手摇的卦，阳用“1”",
                                 u"代表，阴用“0”代表，如果有太阳或者太阴（动爻），请", u"在后面的框框中打上勾。",
                                 u"3. 工具中有自动卜卦功能（慎用）", u"4. 工具中有清除数据功能（重新卜卦用）",
                                 u"5. 无用神可以选择伏神"});
    layout->addSpacing(10);

    layout->addWidget(sectionHeading(u"免责申明"_s));
    auto *disclaimer = new QPlainTextEdit;
    disclaimer->setObjectName(u"disclaimer"_s);
    disclaimer->setReadOnly(true);
    const QStringList disclaimerLines{u"本软件为个人学习娱乐爱好所作，请在下载后24小时内删除，"_s,
                                      u"如用本软件所自带的功能对任何事物（包括人）或自己造成的"_s,
                                      u"一切后果均与本人无任何关系！"_s};
    disclaimer->setPlainText(disclaimerLines.join(u'\n') + u'\n');
    // Sized to show the three lines whole; should a font run wider, the lines wrap rather than hide.
    const QFontMetrics metrics(disclaimer->font());
    int widest = 0;
    for (const QString &line : disclaimerLines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int margins = 2 * (disclaimer->frameWidth() + qCeil(disclaimer->document()->documentMargin()));
    const int scrollBar = disclaimer->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    disclaimer->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    disclaimer->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    disclaimer->setFixedHeight(metrics.lineSpacing() * 5 + margins);
    disclaimer->setMinimumWidth(widest + margins + scrollBar + metrics.averageCharWidth());
    layout->addWidget(disclaimer);
    return w;
}

QDialog *createAboutt(QWidget *parent)
{
    auto *d = new QDialog(parent);
    d->setObjectName(u"aboutt"_s);
    d->setWindowTitle(u"关于"_s);
    d->setAttribute(Qt::WA_DeleteOnClose);
    d->setModal(true);

    auto *icon = new QLabel;
    icon->setObjectName(u"icon"_s);
    // Drawn for the screen the box opens on: whole and sharp at any scale.
    icon->setPixmap(appIconPixmap(48, (parent ? parent : d)->devicePixelRatioF()));
    icon->setFixedSize(48, 48);

    auto *texts = new QVBoxLayout;
    QLabel *name = reference::textLine(u"Lotgrid(六爻) %1"_s.arg(QStringView(VersionText)));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    texts->addWidget(name);
    texts->addWidget(reference::textLine(u"业余开发，间接性更新"_s));

    auto *top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);

    auto *close = new QPushButton(u"关闭"_s);
    close->setObjectName(u"Command1"_s);
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, d, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(d);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return d;
}

} // namespace lotgrid
