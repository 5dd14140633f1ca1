#include "sheet/chartsheet.h"

#include "chart/chart.h"
#include "chart/words.h"
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"

#include "widgets/chartcolours.h"
#include "widgets/linefield.h"
#include "widgets/lineglyph.h"
#include "widgets/zoomstyle.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr std::array<const char16_t *, 10> StemOptionNames{u"OPj",  u"OPY", u"OPB", u"OPD", u"OPW",
                                                           u"OPJI", u"OPG", u"OPX", u"OPR", u"OPGUI"};
constexpr std::u16string_view StemCaptions = u"甲乙丙丁戊己庚辛壬癸";

// Rows: the headings, lines 6 to 1, the band under the chart; stacked, the
// changed hexagram's title and lines come before the band.
constexpr int ExtrasRow = 7;
constexpr int StackedTitleRow = 7;

// Columns of a line row, left to right.
enum Column {
    ColCaption,
    ColText,
    ColLyao,
    ColCo,
    ColCx,
    ColLiushen,
    ColFushen,
    ColFkong,
    ColGlyph,
    ColSy,
    ColLSY,
    ColLyongshen, // and 原/忌/仇 (Lyuanji) beside it: a line shows one or the other
    ColLliuqin,
    ColLkong,
    ColWangshuai,
    ColSha,
    ColBiaoji,
    ColBGlyph,
    ColBsy,
    ColL,
    ColBGLiuqin,
    ColBkong,
};

QString nameOf(const char16_t *family, int line)
{
    return QString::fromUtf16(family) + QString::number(line);
}

QLabel *label(QWidget *parent, const QString &name, const QString &text = {})
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

void colour(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

constexpr int TitleGap = 8;

// A hexagram's text with its type right after it, in one box the width of the longest pair.
QWidget *titleOf(QWidget *parent, QLabel *text, QLabel *type)
{
    auto *title = new QWidget(parent);
    auto *box = new QHBoxLayout(title);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(TitleGap);
    text->setParent(title);
    type->setParent(title);
    box->addWidget(text);
    box->addWidget(type);
    box->addStretch(1);
    return title;
}

void bold(QWidget *w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

// The short names practitioners write the 神煞 under a chart with, and the one
// character that marks a line carrying one; in ShenSha order.
constexpr std::array<std::u16string_view, 11> ShenShaShortNames{u"贵人", u"禄",   u"羊刃", u"文昌", u"驿马", u"桃花",
                                                                u"将星", u"华盖", u"劫煞", u"灾煞", u"天医"};
constexpr std::u16string_view ShenShaMarkers = u"贵禄刃昌马桃将盖劫灾医";
static_assert(ShenShaShortNames.size() == ShenShaNames.size() && ShenShaMarkers.size() == ShenShaNames.size());

} // namespace

ChartSheet::ChartSheet(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(u"ChartSheet"_s);
    setAutoFillBackground(true);
    m_basePointSize = font().pointSizeF();

    auto *outer = new QVBoxLayout(this);
    outer->setSpacing(6);

    Lnongli = label(this, u"Lnongli"_s);
    outer->addWidget(Lnongli);

    auto *sexRow = new QHBoxLayout;
    sexRow->addWidget(label(this, {}, u"性      别："_s));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(u"Combo1"_s);
    Combo1->addItems({u"男"_s, u"女"_s});
    Combo1->setCurrentIndex(-1);
    sexRow->addWidget(Combo1);
    sexRow->addSpacing(24);
    Lyuejian = label(this, u"Lyuejian"_s);
    sexRow->addWidget(Lyuejian);
    Lrijian = label(this, u"Lrijian"_s);
    sexRow->addWidget(Lrijian);
    sexRow->addSpacing(24);
    Lxunkong = label(this, u"Lxunkong"_s);
    sexRow->addWidget(Lxunkong);
    sexRow->addStretch(1);
    outer->addLayout(sexRow);

    auto *momentRow = new QHBoxLayout;
    Lqgsj = label(this, u"Lqgsj"_s, u"起卦时间(北京时间)："_s);
    momentRow->addWidget(Lqgsj);
    qgsj = new QDateTimeEdit(this);
    qgsj->setObjectName(u"qgsj"_s);
    qgsj->setDisplayFormat(u"yyyy-MM-dd HH:mm"_s);
    qgsj->setCalendarPopup(true);
    qgsj->setTimeSpec(Qt::UTC);
    qgsj->setDateTimeRange(readingOf(FirstChartMoment), readingOf(LastChartMoment));
    connect(qgsj, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime &reading) {
        if (!m_showing)
            emit momentEdited(momentOf(reading));
    });
    momentRow->addWidget(qgsj);
    momentRow->addSpacing(12);
    Lsizhu = label(this, u"Lsizhu"_s);
    momentRow->addWidget(Lsizhu);
    ansj = new QPushButton(u"按时间排盘"_s, this);
    ansj->setObjectName(u"ansj"_s);
    momentRow->addWidget(ansj);
    zdsj = new QCheckBox(u"自动"_s, this);
    zdsj->setObjectName(u"zdsj"_s);
    momentRow->addWidget(zdsj);
    momentRow->addStretch(1);
    outer->addLayout(momentRow);
    addMomentFields(outer);

    auto *questionRow = new QHBoxLayout;
    questionRow->addWidget(label(this, {}, u"卜问何事："_s));
    TextWHS = new QLineEdit(this);
    TextWHS->setObjectName(u"TextWHS"_s);
    connect(TextWHS, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_showing)
            emit questionEdited(text);
    });
    questionRow->addWidget(TextWHS, 1);
    questionRow->addWidget(label(this, {}, u"占类："_s));
    zhanlei = new QComboBox(this);
    zhanlei->setObjectName(u"zhanlei"_s);
    questionRow->addWidget(zhanlei);
    outer->addLayout(questionRow);

    auto *stemRow = new QHBoxLayout;
    stemRow->addWidget(label(this, {}, u"选择日干："_s));
    auto *stemGroup = new QButtonGroup(this);
    for (std::size_t i = 0; i < dayStems.size(); ++i) {
        auto *option = new QRadioButton(QString(QChar(StemCaptions[i])), this);
        option->setObjectName(QString::fromUtf16(StemOptionNames[i]));
        stemGroup->addButton(option, static_cast<int>(i));
        dayStems[i] = option;
        stemRow->addWidget(option);
    }
    connect(stemGroup, &QButtonGroup::idToggled, this, [this](int stem, bool on) {
        if (on && !m_showing)
            emit dayStemPicked(stem);
    });
    auto *required = label(this, {}, u"(必选)"_s);
    stemRow->addWidget(required);
    stemRow->addStretch(1);
    outer->addLayout(stemRow);

    // The chart itself stands on a white panel, apart from the fields that describe the cast.
    auto *chart = new QFrame(this);
    chart->setObjectName(u"chartPanel"_s);
    chartPanel = chart;
    chart->setFrameShape(QFrame::StyledPanel);
    chart->setAutoFillBackground(true);
    auto *grid = new QGridLayout(chart);
    m_grid = grid;
    outer->addWidget(chart);
    outer->addStretch(1);

    // Header row.
    grid->addWidget(label(this, {}, u"六爻"_s), 0, ColText, 1, 2);
    grid->addWidget(label(this, {}, u"太阳"_s), 0, ColCo);
    grid->addWidget(label(this, {}, u"太阴"_s), 0, ColCx);
    auto *spiritHeader = label(this, {}, u"六神"_s);
    grid->addWidget(spiritHeader, 0, ColLiushen);
    auto *benguaBox = new QHBoxLayout;
    benguaBox->addWidget(label(this, {}, u"本卦"_s));
    bengua = label(this, u"bengua"_s);
    bold(bengua);
    Lbengualei = label(this, u"Lbengualei"_s);
    benguaBox->addSpacing(6);
    benguaBox->addWidget(titleOf(this, bengua, Lbengualei), 1);
    grid->addLayout(benguaBox, 0, ColGlyph, 1, ColLliuqin - ColGlyph);
    grid->addWidget(label(this, {}, u"六亲"_s), 0, ColLliuqin);
    auto *bianguaBox = new QHBoxLayout;
    bianguaBox->addWidget(label(this, {}, u"变卦"_s));
    biangua = label(this, u"biangua"_s);
    bold(biangua);
    Lbianlei = label(this, u"Lbianlei"_s);
    bianguaBox->addSpacing(6);
    bianguaBox->addWidget(titleOf(this, biangua, Lbianlei), 1);
    Lfanfu = label(this, u"Lfanfu"_s);
    static_cast<QHBoxLayout *>(Lbianlei->parentWidget()->layout())->insertWidget(2, Lfanfu);
    m_bianguaTitle = bianguaBox;
    m_bianguaHeading = label(this, u"Lliuqin"_s, u"六亲"_s);
    grid->addWidget(label(this, {}, u"伏神"_s), 0, ColFushen, 1, 2);

    // Bold, in the face the bold hexagram texts already use, so no further font is loaded at start-up.
    QFont entryFont = font();
    entryFont.setBold(true);

    for (int n = 6; n >= 1; --n) {
        const int row = 7 - n;
        grid->addWidget(label(this, {}, QString::number(n) + u"爻"_s), row, ColCaption);

        auto *text = new LineField(this);
        text->setObjectName(nameOf(u"Text", n));
        text->setFont(entryFont);
        text->setAlignment(Qt::AlignCenter);
        text->setEnabled(n == 1);
        Text(n) = text;
        grid->addWidget(text, row, ColText);

        Lyao(n) = label(this, nameOf(u"Lyao", n));
        grid->addWidget(Lyao(n), row, ColLyao);

        co(n) = new QCheckBox(this);
        co(n)->setObjectName(nameOf(u"co", n));
        co(n)->setEnabled(false);
        grid->addWidget(co(n), row, ColCo, Qt::AlignCenter);
        cx(n) = new QCheckBox(this);
        cx(n)->setObjectName(nameOf(u"cx", n));
        cx(n)->setEnabled(false);
        grid->addWidget(cx(n), row, ColCx, Qt::AlignCenter);

        liushen(n) = label(this, nameOf(u"liushen", n));
        grid->addWidget(liushen(n), row, ColLiushen);

        Lfushen(n) = label(this, nameOf(u"Lfushen", n));
        grid->addWidget(Lfushen(n), row, ColFushen);
        Lfkong(n) = label(this, nameOf(u"Lfkong", n));
        grid->addWidget(Lfkong(n), row, ColFkong);

        auto *spot = new GlyphSpot(this);
        yan(n) = spot->yang();
        yin(n) = spot->yin();
        yan(n)->setObjectName(nameOf(u"yan", n));
        yin(n)->setObjectName(nameOf(u"yin", n));
        grid->addWidget(spot, row, ColGlyph);

        sy(n) = label(this, nameOf(u"sy", n));
        sy(n)->hide();
        grid->addWidget(sy(n), row, ColSy);
        LSY(n) = label(this, nameOf(u"LSY", n));
        grid->addWidget(LSY(n), row, ColLSY);
        Lyongshen(n) = label(this, nameOf(u"Lyongshen", n));
        Lyongshen(n)->setCursor(Qt::PointingHandCursor);
        Lyuanji(n) = label(this, nameOf(u"Lyuanji", n));
        auto *marks = new QHBoxLayout;
        marks->setSpacing(4);
        marks->addWidget(Lyongshen(n));
        marks->addWidget(Lyuanji(n));
        marks->addStretch(1);
        grid->addLayout(marks, row, ColLyongshen);
        Lliuqin(n) = label(this, nameOf(u"Lliuqin", n));
        grid->addWidget(Lliuqin(n), row, ColLliuqin);
        Lkong(n) = label(this, nameOf(u"Lkong", n));
        grid->addWidget(Lkong(n), row, ColLkong);
        Lwangshuai(n) = label(this, nameOf(u"Lwangshuai", n));
        grid->addWidget(Lwangshuai(n), row, ColWangshuai);
        Lsha(n) = label(this, nameOf(u"Lsha", n));
        grid->addWidget(Lsha(n), row, ColSha);
        Lbiaoji(n) = label(this, nameOf(u"Lbiaoji", n));
        grid->addWidget(Lbiaoji(n), row, ColBiaoji);

        auto *changedSpot = new GlyphSpot(this);
        Byan(n) = changedSpot->yang();
        Byin(n) = changedSpot->yin();
        Byan(n)->setObjectName(nameOf(u"Byan", n));
        Byin(n)->setObjectName(nameOf(u"Byin", n));
        m_changedGlyphs(n) = changedSpot;
        Bsy(n) = label(this, nameOf(u"Bsy", n));
        L(n) = label(this, nameOf(u"L", n));
        BGLiuqin(n) = label(this, nameOf(u"BGLiuqin", n));
        LBkong(n) = label(this, nameOf(u"LBkong", n));
    }
    placeChangedHexagram();

    // Under the chart: 卦身 and the 神煞, two lines kept free so the chart does not grow as they fill.
    m_extrasRow = new QBoxLayout(QBoxLayout::LeftToRight);
    Lguashen = label(this, u"Lguashen"_s);
    Lshensha = label(this, u"Lshensha"_s);
    for (QLabel *l : {Lguashen, Lshensha}) {
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_extrasRow->addWidget(l);
    }
    m_extrasRow->setStretchFactor(Lshensha, 1);
    grid->addLayout(m_extrasRow, ExtrasRow, ColCaption, 1, ColBkong + 2);

    grid->setColumnStretch(ColBkong + 1, 1);
    addReadingFields();
    fitToFont();

    // Tab visits the six line fields first, in line order, then the fields above them.
    QWidget *previous = Text(1);
    const auto chain = [&previous](QWidget *next) {
        QWidget::setTabOrder(previous, next);
        previous = next;
    };
    for (int n = 2; n <= 6; ++n)
        chain(Text(n));
    for (int n = 1; n <= 6; ++n) {
        chain(co(n));
        chain(cx(n));
    }
    chain(Combo1);
    chain(TextWHS);
    chain(zhanlei);
    for (QRadioButton *option : dayStems)
        chain(option);

    // A cast is typed in one run: a line value moves on to the line above,
    // Backspace in an empty field back to the line below. The next field is
    // selected whole, so that typing over an earlier cast replaces its value.
    const auto goToLine = [this](int n) {
        if (n < 1 || n > 6 || !Text(n)->isEnabled())
            return;
        Text(n)->setFocus(Qt::TabFocusReason);
        Text(n)->selectAll();
    };
    for (int n = 1; n <= 6; ++n) {
        connect(Text(n), &LineField::lineTyped, this, [goToLine, n] { goToLine(n + 1); });
        connect(Text(n), &LineField::backspaceWhenEmpty, this, [goToLine, n] { goToLine(n - 1); });
    }

    // Light or dark with the desktop: the paper, the chart's panel and every coloured field.
    followDesktopColours(this, [this, chart, required](const ChartColours &c) {
        setPalette(c.sheetPalette());
        QPalette panel = chart->palette();
        panel.setColor(QPalette::Window, c.panel());
        chart->setPalette(panel);
        const auto ink = [&c](QWidget *w, Ink role) { colour(w, c.ink(role)); };
        ink(Lyuejian, Ink::Relative);
        ink(Lrijian, Ink::DayBuild);
        ink(Lxunkong, Ink::DayBuild);
        ink(required, Ink::Alert);
        ink(bengua, Ink::Original);
        ink(Lbengualei, Ink::HexagramType);
        ink(biangua, Ink::Changed);
        ink(Lbianlei, Ink::HexagramType);
        ink(Lfanfu, Ink::HexagramType);
        ink(Lguashen, Ink::Original);
        for (int n = 1; n <= 6; ++n) {
            ink(liushen(n), Ink::Spirit);
            ink(Lfushen(n), Ink::Quiet);
            ink(Lfkong(n), Ink::Quiet);
            ink(LSY(n), Ink::WorldResponse);
            ink(Lliuqin(n), Ink::Relative);
            ink(Lkong(n), Ink::DayBuild);
            ink(Lsha(n), Ink::Quiet);
            ink(Lbiaoji(n), Ink::Alert);
            ink(Bsy(n), Ink::WorldResponse);
            ink(L(n), Ink::Relative);
            ink(BGLiuqin(n), Ink::Relative);
            ink(LBkong(n), Ink::DayBuild);
            // A moving line's field is locked, not idle: its value stands out in the marks'
            // colour rather than greyed, and the 太阳/太阴 boxes keep their active look.
            QPalette field = Text(n)->palette();
            field.setColor(QPalette::Disabled, QPalette::Text, c.ink(Ink::Alert));
            field.setColor(QPalette::Disabled, QPalette::Base, field.color(QPalette::Active, QPalette::Base));
            Text(n)->setPalette(field);
            for (QCheckBox *box : {co(n), cx(n)}) {
                QPalette look = box->palette();
                for (const QPalette::ColorRole role :
                     {QPalette::WindowText, QPalette::Text, QPalette::Base, QPalette::Button, QPalette::ButtonText})
                    look.setColor(QPalette::Disabled, role, look.color(QPalette::Active, role));
                box->setPalette(look);
            }
        }
    });
}

void ChartSheet::setZoom(qreal factor)
{
    m_zoom = factor;
    if (!m_style)
        m_style = new ZoomStyle(this);
    m_style->setFactor(factor);
    for (QAbstractButton *box : findChildren<QAbstractButton *>())
        box->setStyle(m_style);
    QFont type; // the size alone: every other attribute still comes from the desktop
    type.setPointSizeF(m_basePointSize * factor);
    setFont(type);
}

void ChartSheet::setFit(Fit fit)
{
    if (fit == m_fit)
        return;
    const bool moves = (fit == Fit::Stacked) != (m_fit == Fit::Stacked);
    m_fit = fit;
    if (moves) {
        placeChangedHexagram();
        m_extrasRow->setDirection(fit == Fit::Stacked ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
        writeShensha();
    }
    fitToFont();
    // Laid out at once: the window measures the sheet as it now stands.
    m_grid->activate();
}

// Beside the original hexagram, the changed one has columns of its own, the
// moving line's two states on one row. Stacked, its title and lines stand in
// rows under the original's, glyph under glyph, 世应 under 世应 and 六亲 under
// 六亲; the band under the chart goes under both.
void ChartSheet::placeChangedHexagram()
{
    const bool stacked = m_fit == Fit::Stacked;
    const auto place = [this](QWidget *w, int row, int column, int columns = 1) {
        m_grid->removeWidget(w);
        m_grid->addWidget(w, row, column, 1, columns);
    };
    // A layout taken out of the grid is free to go back in at another place.
    const auto take = [this](QLayout *layout) {
        m_grid->removeItem(layout);
        layout->setParent(nullptr);
    };
    take(m_bianguaTitle);
    if (stacked) {
        m_grid->addLayout(m_bianguaTitle, StackedTitleRow, ColGlyph, 1, ColLliuqin - ColGlyph);
        place(m_bianguaHeading, StackedTitleRow, ColLliuqin);
    } else {
        m_grid->addLayout(m_bianguaTitle, 0, ColBGlyph, 1, ColL - ColBGlyph);
        place(m_bianguaHeading, 0, ColL, 2);
    }
    for (int n = 1; n <= 6; ++n) {
        QHBoxLayout *&relative = m_changedRelatives(n);
        if (relative) {
            relative->removeWidget(L(n));
            relative->removeWidget(BGLiuqin(n));
            take(relative);
            delete relative;
            relative = nullptr;
        }
        if (stacked) {
            const int row = StackedTitleRow + 7 - n;
            place(m_changedGlyphs(n), row, ColGlyph);
            place(Bsy(n), row, ColLSY);
            m_grid->removeWidget(L(n));
            m_grid->removeWidget(BGLiuqin(n));
            relative = new QHBoxLayout;
            relative->setSpacing(0);
            relative->addWidget(L(n));
            relative->addWidget(BGLiuqin(n));
            relative->addStretch(1);
            m_grid->addLayout(relative, row, ColLliuqin);
            place(LBkong(n), row, ColLkong);
        } else {
            const int row = 7 - n;
            place(m_changedGlyphs(n), row, ColBGlyph);
            place(Bsy(n), row, ColBsy);
            place(L(n), row, ColL);
            place(BGLiuqin(n), row, ColBGLiuqin);
            place(LBkong(n), row, ColBkong);
        }
    }
    if (m_extrasRow) {
        take(m_extrasRow);
        m_grid->addLayout(m_extrasRow, stacked ? StackedTitleRow + 7 : ExtrasRow, ColCaption, 1, ColBkong + 2);
    }
}

void ChartSheet::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_grid)
        fitToFont();
}

// Widths and spacings measured in the sheet's type, so the whole sheet follows
// the zoom. Columns keep their width while their fields are empty or hidden,
// so the chart does not shift as it fills.
void ChartSheet::fitToFont()
{
    const auto scaled = [this](int pixels) { return qRound(pixels * m_zoom); };
    const bool closedUp = m_fit != Fit::Wide;
    const bool stacked = m_fit == Fit::Stacked;
    layout()->setSpacing(scaled(6));
    m_grid->setContentsMargins(scaled(closedUp ? 4 : 10), scaled(8), scaled(closedUp ? 4 : 10), scaled(10));
    m_grid->setHorizontalSpacing(scaled(closedUp ? 3 : 10));
    m_grid->setVerticalSpacing(scaled(6));
    const QFontMetrics fm(font());
    QFont boldFont = font();
    boldFont.setBold(true);
    const QFontMetrics bfm(boldFont);
    Lyuejian->setMinimumWidth(fm.horizontalAdvance(u"月建：子  "_s));
    for (LineField *text : Text)
        text->setFixedWidth(bfm.horizontalAdvance(u"00"_s) + scaled(16));
    m_grid->setColumnMinimumWidth(ColLyao, fm.horizontalAdvance(u"初九"_s));
    m_grid->setColumnMinimumWidth(ColLiushen, fm.horizontalAdvance(u"青龙"_s));
    m_grid->setColumnMinimumWidth(ColSy, fm.horizontalAdvance(u"○"_s));
    m_grid->setColumnMinimumWidth(ColLSY, fm.horizontalAdvance(u"世"_s));
    m_grid->setColumnMinimumWidth(ColLyongshen, bfm.horizontalAdvance(u"用神"_s));
    m_grid->setColumnMinimumWidth(ColLliuqin, fm.horizontalAdvance(u"父母戌土"_s));
    for (const int c : {ColFkong, ColLkong})
        m_grid->setColumnMinimumWidth(c, fm.horizontalAdvance(u"空"_s));
    // The markers in a smaller type. A line seldom carries more than three of
    // them, or a moving line more than two changes; the rare longer ones widen their column.
    QFont smallFont = font();
    // Never under 9 pixels, where a character's strokes run together.
    smallFont.setPointSizeF(std::max(font().pointSizeF() * 0.85, 9.0 * 72.0 / std::max(logicalDpiY(), 1)));
    for (QLabel *marker : Lsha)
        marker->setFont(smallFont);
    m_grid->setColumnMinimumWidth(ColSha, QFontMetrics(smallFont).horizontalAdvance(u"贵昌灾"_s));
    for (QLabel *strength : Lwangshuai)
        strength->setFont(smallFont);
    m_grid->setColumnMinimumWidth(ColWangshuai, QFontMetrics(smallFont).horizontalAdvance(u"旺·长生"_s));
    m_grid->setColumnMinimumWidth(ColBiaoji, fm.horizontalAdvance(u"回头克 化绝"_s));
    // Stacked, the changed hexagram's columns stand empty and take no room.
    m_grid->setColumnMinimumWidth(ColBsy, stacked ? 0 : fm.horizontalAdvance(u"世"_s));
    m_grid->setColumnMinimumWidth(ColL, stacked ? 0 : fm.horizontalAdvance(u"父母"_s));
    m_grid->setColumnMinimumWidth(ColBGLiuqin, stacked ? 0 : fm.horizontalAdvance(u"戌土"_s));
    m_grid->setColumnMinimumWidth(ColBkong, stacked ? 0 : fm.horizontalAdvance(u"空"_s));
    m_grid->setColumnMinimumWidth(ColFushen, fm.horizontalAdvance(u"父母戌土"_s));
    Lsizhu->setMinimumWidth(fm.horizontalAdvance(u"丙午年 庚子月 乙丑日 庚辰时  "_s));
    // The longest hexagram texts have four-character names and a soul status.
    // No 六冲 or 六合 hexagram has a soul status: the longest of them with its
    // type is a four-character name with its palace.
    const int longestText = bfm.horizontalAdvance(u"雷泽归妹 归魂 兑宫"_s);
    const int typed = bfm.horizontalAdvance(u"天雷无妄 巽宫"_s) + TitleGap;
    // Closed up, the titles take only the width of what they show.
    bengua->parentWidget()->setMinimumWidth(closedUp ? 0
                                                     : std::max(longestText, typed + fm.horizontalAdvance(u"六冲"_s)));
    biangua->parentWidget()->setMinimumWidth(
        closedUp ? 0 : std::max(longestText, typed + fm.horizontalAdvance(u"六合变六冲"_s)));
    // Measured on sample texts: the Chinese characters may come from a taller
    // fallback face. Stacked, 卦身 stands on a line of its own above the 神煞.
    for (QLabel *l : {Lguashen, Lshensha}) {
        const QString text = l->text();
        l->setText(stacked && l == Lguashen ? u"卦身：子"_s : u"卦身：子\n驿马：申"_s);
        l->setMinimumHeight(0); // a label's size hint holds its minimum: measured free of the last zoom's
        l->setMinimumHeight(l->sizeHint().height());
        l->setText(text);
    }
    Lguashen->setMinimumWidth(fm.horizontalAdvance(u"卦身：子"_s));
    fitFanfu();
    m_extrasRow->setContentsMargins(scaled(4), scaled(8), 0, 0);
    m_extrasRow->setSpacing(scaled(closedUp ? 12 : 24));
}

void ChartSheet::showChartExtras(const Chart &chart)
{
    const auto write = [](QLabel *field, const QString &text, const QString &tip = {}) {
        if (field->text() != text)
            field->setText(text);
        if (field->toolTip() != tip)
            field->setToolTip(tip);
    };
    const Analysis &a = chart.analysis;
    QString voids;
    if (chart.voids)
        voids = u"旬空："_s + qs(branchName((*chart.voids)[0])) + qs(branchName((*chart.voids)[1]));
    write(Lxunkong, voids);
    const QString empty = u"空"_s;
    const bool six = chart.original != nullptr;
    for (int n = 1; n <= 6; ++n) {
        const ChartLine &line = chart.line(n);
        write(Lkong(n), six && line.isVoid ? empty : QString());
        write(LBkong(n), six && chart.changed && line.cast.moving && line.changedVoid ? empty : QString());
        write(Lfushen(n),
              six && line.hidden ? qs(relativeLabel(line.hidden->relative, line.hidden->branch)) : QString());
        write(Lfkong(n), six && line.hidden && line.hiddenVoid ? empty : QString());

        QStringList marks, notes;
        if (six)
            for (const std::u16string_view w : lineMarkWords(chart, n)) {
                marks << qs(w);
                if (const std::u16string_view note = schoolMarkNote(w); !note.empty())
                    notes << qs(note);
            }
        write(Lbiaoji(n), marks.join(u' '), notes.join(u'\n'));

        QString carried;
        QStringList names;
        if (six && a.guaShen && std::ranges::find(a.guaShen->positions, n) != a.guaShen->positions.end()) {
            carried += u'身';
            names << u"卦身"_s;
        }
        for (const ShenShaEntry &e : a.shenSha) {
            if (!six || std::ranges::find(e.list(), line.branch) == e.list().end())
                continue;
            carried += ShenShaMarkers[static_cast<std::size_t>(e.kind)];
            names << qs(shenShaName(e.kind));
        }
        write(Lsha(n), carried, names.join(u'、'));
    }

    write(Lbengualei, qs(hexagramTypeName(a.originalType)));
    const std::u16string_view typeChange = a.typeChange();
    write(Lbianlei, qs(typeChange.empty() ? hexagramTypeName(a.changedType) : typeChange));

    QString guaShen, guaShenTip;
    if (six && a.guaShen) {
        guaShen = u"卦身："_s + qs(branchName(a.guaShen->branch));
        QStringList at;
        for (const int n : a.guaShen->positions)
            at << qs(linePlaceName(n));
        guaShenTip = at.isEmpty() ? u"卦身不上卦"_s : at.join(u'、') + u"持卦身"_s;
    }
    write(Lguashen, guaShen, guaShenTip);

    // The day stem's four on the first line, the day branch's six and 天医 on the second.
    QStringList stemPart, restPart, full;
    for (const ShenShaEntry &e : a.shenSha) {
        QString branches;
        for (const Branch b : e.list())
            branches += qs(branchName(b));
        const auto kind = static_cast<std::size_t>(e.kind);
        (e.kind <= ShenSha::Literary ? stemPart : restPart) << qs(ShenShaShortNames[kind]) + u'：' + branches;
        full << qs(shenShaName(e.kind)) + u'：' + branches;
    }
    m_shenshaParts[0] = stemPart;
    m_shenshaParts[1] = restPart;
    writeShensha();
    if (Lshensha->toolTip() != full.join(u'\n'))
        Lshensha->setToolTip(full.join(u'\n'));
}

// The day stem's 神煞 on one line and the day branch's on the next; stacked,
// at most four to a line, so the band is no wider than the chart above it.
void ChartSheet::writeShensha()
{
    const qsizetype perLine = m_fit == Fit::Stacked ? 4 : 0;
    QStringList lines;
    for (const QStringList &part : m_shenshaParts)
        for (qsizetype at = 0; at < part.size(); at += perLine ? perLine : part.size())
            lines << part.mid(at, perLine ? perLine : -1).join(u"  "_s);
    if (Lshensha->text() != lines.join(u'\n'))
        Lshensha->setText(lines.join(u'\n'));
}

Moment ChartSheet::momentOf(const QDateTime &reading)
{
    const QDate d = reading.date();
    const QTime t = reading.time();
    return Moment{{d.year(), d.month(), d.day()}, t.hour(), t.minute()};
}

QDateTime ChartSheet::readingOf(const Moment &m)
{
    return QDateTime(QDate(m.date.year, m.date.month, m.date.day), QTime(m.hour, m.minute), Qt::UTC);
}

void ChartSheet::showQuestion(const QString &question)
{
    const QScopedValueRollback showing(m_showing, true);
    if (TextWHS->text() != question)
        TextWHS->setText(question);
}

void ChartSheet::showDocument(const ChartDocument &document)
{
    const QScopedValueRollback showing(m_showing, true);
    const CastInput &cast = document.cast();
    const Chart &chart = document.chart();
    const auto byHand = [&cast](DayPart part) { return cast.pickedByHand(part); };

    if (cast.dayStem) {
        dayStems[static_cast<std::size_t>(*cast.dayStem)]->setChecked(true);
    } else if (QButtonGroup *group = dayStems[0]->group(); group->checkedButton()) {
        group->setExclusive(false);
        group->checkedButton()->setChecked(false);
        group->setExclusive(true);
    }
    const ChartColours inks = ChartColours::forDesktop();
    const QColor handColour = inks.isDark() ? QColor(0xff, 0xa0, 0x40) : QColor(0xc0, 0x60, 0x00);
    for (QRadioButton *option : dayStems) {
        const bool handPicked = cast.dayStem && byHand(DayPart::DayStem) && option->isChecked();
        option->setToolTip(handPicked ? u"日干为手动选择，不随起卦时间变化"_s : QString());
        const QColor ink = handPicked ? handColour : inks.ink(Ink::Text);
        if (option->palette().color(QPalette::WindowText) != ink) {
            QPalette p = option->palette();
            p.setColor(QPalette::ButtonText, ink);
            p.setColor(QPalette::WindowText, ink);
            option->setPalette(p);
        }
    }
    for (int n = 1; n <= 6; ++n) {
        const QString spirit = qs(chart.line(n).spirit);
        if (liushen(n)->text() != spirit)
            liushen(n)->setText(spirit);
    }

    const auto showBuild = [](QLabel *field, const QString &caption, const std::optional<Branch> &build,
                              const QColor &colour, bool handPicked) {
        const QString text = build ? caption + qs(branchName(*build)) : QString();
        if (field->text() != text)
            field->setText(text);
        if (field->palette().color(QPalette::WindowText) != colour) {
            QPalette p = field->palette();
            p.setColor(QPalette::WindowText, colour);
            field->setPalette(p);
        }
        field->setToolTip(build && handPicked ? caption.chopped(1) + u"为手动选择，不随起卦时间变化"_s : QString());
    };
    const bool monthByHand = byHand(DayPart::MonthBuild), dayByHand = byHand(DayPart::DayBuild);
    showBuild(Lyuejian, u"月建："_s, cast.monthBuild, monthByHand ? handColour : inks.ink(Ink::Relative), monthByHand);
    showBuild(Lrijian, u"日建："_s, cast.dayBuild, dayByHand ? handColour : inks.ink(Ink::DayBuild), dayByHand);

    if (const auto typed = document.typedMoment(); typed && cast.moment && inChartRange(*cast.moment)) {
        const QDateTime reading = readingOf(*typed);
        if (qgsj->dateTime() != reading)
            qgsj->setDateTime(reading);
    }
    showMomentFields(document);
    // The pillars, and the day parts picked by hand that differ from them.
    QString pillars;
    if (const auto &p = chart.pillars) {
        pillars = qs(sexagenaryName(p->year)) + u"年 "_s + qs(sexagenaryName(p->month)) + u"月 "_s
                  + qs(sexagenaryName(p->day)) + u"日 "_s + qs(sexagenaryName(p->hour)) + u"时"_s;
        QStringList apart;
        if (byHand(DayPart::DayStem) && cast.dayStem && *cast.dayStem != p->day.stem())
            apart << u"日干"_s;
        if (monthByHand && cast.monthBuild && *cast.monthBuild != p->month.branch())
            apart << u"月建"_s;
        if (dayByHand && cast.dayBuild && *cast.dayBuild != p->day.branch())
            apart << u"日建"_s;
        if (!apart.isEmpty())
            pillars += u"（"_s + apart.join(u'、') + u"为手动）"_s;
    }
    if (!cast.moment)
        pillars = u"（未记起卦时间）"_s;
    else if (!chart.pillars)
        pillars = u"起卦时间 %1-%2-%3 %4:%5 超出历表范围"_s.arg(cast.moment->date.year)
                      .arg(cast.moment->date.month, 2, 10, QChar(u'0'))
                      .arg(cast.moment->date.day, 2, 10, QChar(u'0'))
                      .arg(cast.moment->hour, 2, 10, QChar(u'0'))
                      .arg(cast.moment->minute, 2, 10, QChar(u'0'));
    if (Lsizhu->text() != pillars)
        Lsizhu->setText(pillars);

    showMark(cast.mark);
    showChartExtras(chart);
    showReading(chart);
}

// The marked line's field shows its word in bold; the others are hidden and
// emptied. Without a mark every field is hidden and plain, its text kept.
void ChartSheet::showMark(const LineMark &mark)
{
    if (mark.kind == MarkKind::None) {
        for (QLabel *field : Lyongshen) {
            QFont f = field->font();
            f.setBold(false);
            field->setFont(f);
            field->hide();
        }
        return;
    }
    for (int n = 1; n <= 6; ++n) {
        QLabel *field = Lyongshen(n);
        if (n != mark.line) {
            field->hide();
            field->clear();
            continue;
        }
        QFont f = field->font();
        f.setBold(true);
        field->setFont(f);
        field->setText(mark.kind == MarkKind::UseGod ? u"用神"_s : u"伏神"_s);
        field->show();
    }
}

void ChartSheet::emptyChartAndLines()
{
    for (QLabel *l : L)
        l->clear();
    bengua->clear();
    biangua->clear();
    for (QCheckBox *box : co) {
        box->setChecked(false);
        box->setEnabled(false);
    }
    for (QCheckBox *box : cx) {
        box->setChecked(false);
        box->setEnabled(false);
    }
    for (QString &x : X)
        x.clear();
    XX.clear();
    Text(1)->setEnabled(true);
    for (LineField *text : Text)
        text->clear();
}

void ChartSheet::emptyLineDisplays()
{
    TextBengua.clear();
    TextSBG2.clear();
    for (auto *glyphs : {&yan, &yin, &Byan, &Byin})
        for (LineGlyph *glyph : *glyphs)
            glyph->hide();
    for (auto *family : {&sy, &Bsy, &LSY, &Lliuqin, &BGLiuqin})
        for (QLabel *l : *family)
            l->clear();
}

} // namespace lotgrid
