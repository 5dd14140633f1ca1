// The reference windows made of fixed lines of text (the three punishments,
// the six harmonies, the six clashes) and the about box.

#include "core/version.h"
#include "ui/reference/referencewindows.h"
#include "ui/reference/windowparts.h"
#include "widgets/appicon.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

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
