#include "ui/reference/fenshen.h"

#include "chart/purehexagrams.h"
#include "qtcore/textconv.h"
#include "ui/reference/referencewindows.h"
#include "ui/reference/windowparts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {
constexpr std::array<const char16_t *, 6> LineCaptions{u"一爻：", u"二爻：", u"三爻：",
                                                       u"四爻：", u"五爻：", u"六爻："};

// A field of the window; the query's results are read-only (still selectable and copyable).
QLineEdit *field(const QString &name, QWidget *parent, bool readOnly = true)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    // Wide enough for the longest label, "雷泽归妹 归魂 兑宫", with a little room to spare.
    const QFontMetrics metrics = edit->fontMetrics();
    edit->setMinimumWidth(metrics.horizontalAdvance(u"雷泽归妹 归魂 兑宫"_s) + 3 * metrics.averageCharWidth());
    return edit;
}
} // namespace

Fenshen::Fenshen(QWidget *parent, std::function<const HexagramRow *()> currentOriginal)
    : QWidget(parent, Qt::Window)
    , m_currentOriginal(std::move(currentOriginal))
{
    setObjectName(u"Fenshen"_s);
    setWindowTitle(u"查询"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(reference::heading(u"查询伏神"_s));

    auto *grid = new QGridLayout;
    int row = 0;
    auto *text1Caption = new QLabel(u"当前卦："_s, this);
    m_Text1 = field(u"Text1"_s, this, false); // may be typed over; every query replaces it
    text1Caption->setBuddy(m_Text1);
    grid->addWidget(text1Caption, row, 0, Qt::AlignRight);
    grid->addWidget(m_Text1, row++, 1);

    auto *lbenguaCaption = new QLabel(u"本宫卦："_s, this);
    m_Lbengua = field(u"Lbengua"_s, this);
    QFont bold = m_Lbengua->font();
    bold.setBold(true);
    m_Lbengua->setFont(bold);
    lbenguaCaption->setBuddy(m_Lbengua);
    grid->addWidget(lbenguaCaption, row, 0, Qt::AlignRight);
    grid->addWidget(m_Lbengua, row++, 1);

    // Line 6 on top, line 1 at the bottom, as on the chart.
    for (int line = 6; line >= 1; --line) {
        auto *caption = new QLabel(QString::fromUtf16(LineCaptions[line - 1]), this);
        m_T(line) = field(u"T"_s + QString::number(line), this);
        caption->setBuddy(m_T(line));
        grid->addWidget(caption, row, 0, Qt::AlignRight);
        grid->addWidget(m_T(line), row++, 1);
    }

    m_Command1 = new QPushButton(u"查询"_s, this);
    m_Command1->setObjectName(u"Command1"_s);
    connect(m_Command1, &QPushButton::clicked, this, &Fenshen::Command1_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_Command1);

    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_Command1->setFocus();
}

void Fenshen::Command1_Click()
{
    const HexagramRow *original = m_currentOriginal ? m_currentOriginal() : nullptr;
    m_Text1->setText(original ? qs(original->text) : QString());
    if (!original)
        return;
    const PureHexagramTexts pure = pureHexagramTexts(original->palace);
    for (int line = 6; line >= 1; --line)
        m_T(line)->setText(qs(pure.lines[line - 1]));
    m_Lbengua->setText(qs(pure.name));
}

QWidget *createFenshen(QWidget *parent, std::function<const HexagramRow *()> currentOriginal)
{
    return new Fenshen(parent, std::move(currentOriginal));
}

} // namespace lotgrid
