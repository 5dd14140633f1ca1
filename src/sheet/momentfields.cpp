// The clock and place of the moment on the sheet, and the fields that take a
// cast as practitioners write it: the zone, 北京时间 as standard time, the
// place of true solar time, 干支 and 卦名, and the header lines they give.
#include "sheet/chartsheet.h"

#include "calendar/cities.h"
#include "calendar/zones.h"
#include "chart/castmoment.h"
#include "chart/momentwords.h"
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"
#include "widgets/chartcolours.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

const QString OtherZone = u"其他…"_s;
const QString TypedLongitude = u"输入经度…"_s;
const QString NoSolarTime = u"不用真太阳时"_s;

QLabel *caption(QWidget *parent, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// The item of `combo` whose data is `value`, added before the last item (the
// one that asks for more) when there is none; such an item stays, to be picked again.
int itemFor(QComboBox *combo, const QVariant &value, const QString &text)
{
    const int found = combo->findData(value);
    if (found >= 0)
        return found;
    combo->insertItem(combo->count() - 1, text, value);
    return combo->count() - 2;
}

} // namespace

void ChartSheet::addMomentFields(QBoxLayout *outer)
{
    auto *row = new QHBoxLayout;
    row->addWidget(caption(this, u"时区："_s));
    shiqu = new QComboBox(this);
    shiqu->setObjectName(u"shiqu"_s);
    for (const CommonZone &z : CommonZones)
        shiqu->addItem(qs(z.name), QString::fromLatin1(z.iana.data(), qsizetype(z.iana.size())));
    shiqu->addItem(OtherZone);
    shiqu->setToolTip(u"起卦时间所记的时钟；换算为北京时间排盘"_s);
    row->addWidget(shiqu);
    biaozhunshi = new QCheckBox(u"按标准时"_s, this);
    biaozhunshi->setObjectName(u"biaozhunshi"_s);
    biaozhunshi->setToolTip(u"1986—1991年夏令时期间记下的北京时间已是标准时，不再减一小时"_s);
    row->addWidget(biaozhunshi);
    row->addSpacing(12);
    row->addWidget(caption(this, u"真太阳时："_s));
    chengshi = new QComboBox(this);
    chengshi->setObjectName(u"chengshi"_s);
    chengshi->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    chengshi->setMinimumContentsLength(7);
    chengshi->addItem(NoSolarTime);
    for (const City &c : cities())
        chengshi->addItem(qs(c.name) + (c.region == c.name ? QString() : u"（"_s + qs(c.region) + u"）"_s), qs(c.name));
    chengshi->addItem(TypedLongitude);
    chengshi->setMaxVisibleItems(20);
    chengshi->setToolTip(u"按所选地点的经度与均时差求真太阳时，时辰（及跨子夜的日）随之；节气不变"_s);
    row->addWidget(chengshi);
    row->addStretch(1);
    outer->addLayout(row);

    auto *entryRow = new QHBoxLayout;
    entryRow->addWidget(caption(this, u"干支："_s));
    ganzhi = new QLineEdit(this);
    ganzhi->setObjectName(u"ganzhi"_s);
    ganzhi->setPlaceholderText(u"如 卯月戊寅日，回车查日期"_s);
    entryRow->addWidget(ganzhi, 1);
    entryRow->addSpacing(12);
    entryRow->addWidget(caption(this, u"卦名："_s));
    guaming = new QLineEdit(this);
    guaming->setObjectName(u"guaming"_s);
    guaming->setPlaceholderText(u"如 贲之艮、火山旅 二五爻动"_s);
    entryRow->addWidget(guaming, 1);
    outer->addLayout(entryRow);

    for (QLabel **l : {&Lshiqu, &Llinjie}) {
        *l = caption(this, {});
        (*l)->setWordWrap(true);
        (*l)->hide();
        outer->addWidget(*l);
    }
    Lshiqu->setObjectName(u"Lshiqu"_s);
    Llinjie->setObjectName(u"Llinjie"_s);
}

void ChartSheet::showMomentFields(const ChartDocument &document)
{
    const MomentClock &clock = document.clock();
    const Chart &chart = document.chart();

    const QString iana = QString::fromStdString(clock.zone);
    const int zone = itemFor(shiqu, iana, iana);
    if (shiqu->currentIndex() != zone)
        shiqu->setCurrentIndex(zone);
    const QString zoneName = qs(clock.zone.empty() ? std::u16string(BeijingTimeName) : zoneDisplayName(clock.zone));
    const QString captionText = u"起卦时间("_s + zoneName + u")："_s;
    if (Lqgsj->text() != captionText)
        Lqgsj->setText(captionText);
    biaozhunshi->setEnabled(clock.zone.empty());
    if (biaozhunshi->isChecked() != clock.standardTime)
        biaozhunshi->setChecked(clock.standardTime);

    int place = 0;
    if (clock.longitude) {
        const QString name = qs(clock.place);
        place = name.isEmpty() ? itemFor(chengshi, *clock.longitude, qs(longitudeWords(*clock.longitude)))
                               : chengshi->findData(name);
    }
    if (chengshi->currentIndex() != place)
        chengshi->setCurrentIndex(std::max(place, 0));

    QStringList head;
    if (chart.input.origin) {
        head << u"起卦时间："_s + qs(momentOriginWords(chart));
        if (const QString solar = qs(solarTimeWords(chart)); !solar.isEmpty())
            head << solar;
    }
    const QString headText = head.join(u"  "_s);
    if (Lshiqu->text() != headText)
        Lshiqu->setText(headText);
    Lshiqu->setVisible(!headText.isEmpty());

    QStringList warnings;
    for (const std::u16string &w : warningLines(chart))
        warnings << qs(w);
    const QString warningText = warnings.join(u'\n');
    if (Llinjie->text() != warningText) {
        Llinjie->setText(warningText);
        const ChartColours inks = ChartColours::forDesktop();
        QPalette p = Llinjie->palette();
        p.setColor(QPalette::WindowText, inks.isDark() ? QColor(0xff, 0x80, 0x60) : QColor(0xc0, 0x30, 0x00));
        Llinjie->setPalette(p);
    }
    Llinjie->setVisible(!warningText.isEmpty());
}

} // namespace lotgrid
