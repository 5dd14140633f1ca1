#include "sheet/lineentry.h"

#include "chart/hexagrams.h"
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "sheet/chartsteps.h"
#include "widgets/linefield.h"
#include "widgets/lineglyph.h"

#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <QScopedValueRollback>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// Counts the handlers running, so that the outermost one knows it is the last.
class Depth
{
public:
    explicit Depth(int &depth)
        : m_depth(depth)
    {
        ++m_depth;
    }
    ~Depth() { --m_depth; }
    Depth(const Depth &) = delete;
    Depth &operator=(const Depth &) = delete;

private:
    int &m_depth;
};

} // namespace

LineEntry::LineEntry(ChartDocument &document, ChartSheet &sheet, ChartSteps &steps,
                     std::function<void()> enableChartCommands, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_sheet(sheet)
    , m_steps(steps)
    , m_enableChartCommands(std::move(enableChartCommands))
{
    for (int n = 1; n <= 6; ++n) {
        connect(sheet.Text(n), &QLineEdit::textChanged, this, [this, n] { Text_Change(n); });
        connect(sheet.co(n), &QCheckBox::toggled, this, [this, n] { co_Click(n); });
        connect(sheet.cx(n), &QCheckBox::toggled, this, [this, n] { cx_Click(n); });
    }
}

void LineEntry::Text_Change(int n)
{
    ChartSteps::Scope pass(m_steps);
    Depth depth(m_handling);
    LineField *field = m_sheet.Text(n);
    // Six lines pasted in the traditional notation, "787896": line 1 first, into the six fields.
    static const QRegularExpression sixLines(u"^\\s*[6789]{6}\\s*$"_s);
    if (const QString pasted = field->text(); pasted.size() > 1 && sixLines.match(pasted).hasMatch()) {
        const QString digits = pasted.trimmed();
        field->setText(QString());
        for (int k = 1; k <= 6; ++k) {
            m_sheet.Text(k)->setEnabled(true);
            m_sheet.Text(k)->setText(digits.mid(k - 1, 1));
        }
    }
    if (field->text().size() > 1)
        field->setText(field->text().left(1)); // runs this handling for the one character first

    // 6/7/8/9: the value, then the tick of 太阳 (9) or 太阴 (6), or none.
    if (const QString t = field->text(); t.size() == 1 && QStringView(u"6789").contains(t[0])) {
        const bool yang = t == u"7" || t == u"9";
        field->setText(yang ? u"1"_s : u"0"_s); // runs this handling for the value
        (yang ? m_sheet.co(n) : m_sheet.cx(n))->setChecked(t == u"6" || t == u"9");
    }

    const QString text = field->text();
    if (text == u"0" || text == u"1") {
        if (!m_showing)
            m_document.setLine(n, text[0].unicode());
        lineEntered(n, text == u"1");
    } else if (text.isEmpty()) {
        // An empty line does not move.
        m_sheet.co(n)->setChecked(false);
        m_sheet.cx(n)->setChecked(false);
        if (!m_showing)
            m_document.setLine(n, 0);
        m_sheet.Lyao(n)->clear();
        m_sheet.yan(n)->hide();
        m_sheet.yin(n)->hide();
        m_sheet.Byan(n)->hide();
        m_sheet.Byin(n)->hide();
    }
    // Any other character leaves the line as it was.
    if (m_handling == 1 && !m_showing)
        m_shown = m_document.cast().lines;
}

// The writes of a "1" or a "0", in the order the line's display relies on:
// glyphs, next field, changed value, steps, boxes (whose untick may run the
// tick handling), commands, name.
void LineEntry::lineEntered(int n, bool yang)
{
    LineGlyph *shown = yang ? m_sheet.yan(n) : m_sheet.yin(n);
    LineGlyph *shownChanged = yang ? m_sheet.Byan(n) : m_sheet.Byin(n);
    LineGlyph *hidden = yang ? m_sheet.yin(n) : m_sheet.yan(n);
    LineGlyph *hiddenChanged = yang ? m_sheet.Byin(n) : m_sheet.Byan(n);
    QCheckBox *ownBox = yang ? m_sheet.co(n) : m_sheet.cx(n);
    QCheckBox *otherBox = yang ? m_sheet.cx(n) : m_sheet.co(n);

    if (yang) {
        shown->show();
        shownChanged->show();
    }
    if (n < 6)
        m_sheet.Text(n + 1)->setEnabled(true);
    if (!yang) {
        shown->show();
        shownChanged->show();
    }
    m_sheet.BY(n) = yang ? u"1"_s : u"0"_s;
    if (n == 1) {
        m_steps.switchOn(m_steps.Tsy);
        m_steps.switchOn(m_steps.TimerBengua);
        m_steps.switchOn(m_steps.TimerSBG2);
    }
    if (n == 6)
        m_steps.switchOn(m_steps.Timerai);
    hidden->hide();
    hiddenChanged->hide();
    otherBox->setEnabled(false);
    ownBox->setEnabled(true);
    otherBox->setChecked(false);
    // A field freed by the line below can be edited while a box of its line is
    // ticked. The untick above writes that box's flipped value, and a box of
    // the same kind stays ticked; either way the changed line must follow the
    // value just entered and the box that is ticked now.
    if (ownBox->isChecked() || m_sheet.BY(n) != (yang ? u"1" : u"0"))
        showChangedLine(n, changedValue(yang ? u'1' : u'0', ownBox->isChecked()) == u'1');
    if (n == 6 && m_enableChartCommands)
        m_enableChartCommands();
    m_sheet.Lyao(n)->setText(qs(lineName(n, yang ? u'1' : u'0')));
}

void LineEntry::showChangedLine(int n, bool yang)
{
    m_sheet.Byan(n)->setVisible(yang);
    m_sheet.Byin(n)->setVisible(!yang);
    m_sheet.BY(n) = yang ? u"1"_s : u"0"_s;
}

void LineEntry::co_Click(int n)
{
    ChartSteps::Scope pass(m_steps);
    Depth depth(m_handling);
    const bool ticked = m_sheet.co(n)->isChecked();
    // The box of the other kind than the line's value says nothing of the cast.
    if (!m_showing && m_document.cast().line(n).value == u'1')
        m_document.setMoving(n, ticked);
    m_sheet.sy(n)->setVisible(ticked);
    m_sheet.sy(n)->setText(ticked ? u"○"_s : QString());
    m_sheet.Byan(n)->setVisible(!ticked);
    m_sheet.Byin(n)->setVisible(ticked);
    m_sheet.BY(n) = ticked ? u"0"_s : u"1"_s;
    for (int k = 1; k <= 6; ++k)
        m_sheet.Bsy(k)->clear();
    m_sheet.Text(n)->setEnabled(!ticked);
    if (m_handling == 1 && !m_showing)
        m_shown = m_document.cast().lines;
}

void LineEntry::cx_Click(int n)
{
    ChartSteps::Scope pass(m_steps);
    Depth depth(m_handling);
    const bool ticked = m_sheet.cx(n)->isChecked();
    if (!m_showing && m_document.cast().line(n).value == u'0')
        m_document.setMoving(n, ticked);
    m_sheet.sy(n)->setVisible(ticked);
    m_sheet.sy(n)->setText(ticked ? u"×"_s : QString());
    m_sheet.Byan(n)->setVisible(ticked);
    m_sheet.Byin(n)->setVisible(!ticked);
    m_sheet.BY(n) = ticked ? u"1"_s : u"0"_s;
    for (int k = 1; k <= 6; ++k)
        m_sheet.Bsy(k)->clear();
    m_sheet.Text(n)->setEnabled(!ticked);
    if (m_handling == 1 && !m_showing)
        m_shown = m_document.cast().lines;
}

void LineEntry::showLines()
{
    const std::array<CastLine, 6> &lines = m_document.cast().lines;
    if (m_handling > 0 || m_showing || lines == m_shown)
        return;
    ChartSteps::Scope pass(m_steps);
    const QScopedValueRollback showing(m_showing, true);
    const bool sameValues = std::ranges::equal(lines, m_shown, {}, &CastLine::value, &CastLine::value);
    if (sameValues) {
        // Only moving marks differ: tick or untick their boxes.
        for (int n = 1; n <= 6; ++n) {
            const CastLine &line = lines[static_cast<std::size_t>(n - 1)];
            if (line.value == u'1')
                m_sheet.co(n)->setChecked(line.moving);
            else if (line.value == u'0')
                m_sheet.cx(n)->setChecked(line.moving);
        }
    } else {
        m_sheet.emptyChartAndLines();
        m_sheet.emptyLineDisplays();
        for (int n = 1; n <= 6; ++n)
            if (const char16_t v = lines[static_cast<std::size_t>(n - 1)].value)
                m_sheet.Text(n)->setText(QString(QChar(v)));
        for (int n = 1; n <= 6; ++n) {
            const CastLine &line = lines[static_cast<std::size_t>(n - 1)];
            if (line.moving)
                (line.value == u'1' ? m_sheet.co(n) : m_sheet.cx(n))->setChecked(true);
        }
    }
    m_shown = lines;
}

} // namespace lotgrid
