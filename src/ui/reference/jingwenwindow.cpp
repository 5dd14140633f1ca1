#include "ui/reference/jingwenwindow.h"

#include "chart/zhouyi.h"
#include "qtcore/textconv.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

constexpr std::array<const char16_t *, 6> PlaceWords{u"初", u"二", u"三", u"四", u"五", u"上"};

QString escaped(std::u16string_view text)
{
    return qs(text).toHtmlEscaped();
}

int rowIndex(const HexagramRow &row)
{
    return static_cast<int>(&row - HexagramTable.data());
}

// "乾为天（乾）".
QString titleOf(const HexagramRow &row)
{
    const std::u16string_view name = zhouyiText(row).name;
    const std::u16string_view full = hexagramName(row);
    return full == name ? qs(full) : qs(full) + u"（"_s + qs(name) + u"）"_s;
}

// The name of a place in the text: "九三", "卦辞", "用九".
QString placeName(const HexagramRow &row, TextPart part, int line)
{
    if (part == TextPart::Line)
        return qs(lineName(line, row.key[static_cast<std::size_t>(line - 1)]));
    return qs(textPartName({&row, part, line, {}}));
}

// The anchor of a place: "p3" for line 3, "p0" for the judgement, "p7" for 用九/用六.
QString anchorOf(TextPart part, int line)
{
    return u"p"_s + QString::number(part == TextPart::Line ? line : part == TextPart::AllLines ? 7 : 0);
}

// A text and the commentary under it, indented a step; `marked` on a ground.
QString paragraph(const QString &anchor, const QString &text, const QStringList &under, bool marked)
{
    const QString ground = marked ? u"background-color:#fff3bf;"_s : QString();
    QString html = u"<p style=\"%1margin-bottom:0px\"><a name=\"%2\"></a>%3</p>"_s.arg(ground, anchor, text);
    for (const QString &line : under)
        html += u"<p style=\"%1-qt-block-indent:1;margin-top:0px;margin-bottom:0px\">%2</p>"_s.arg(ground, line);
    return html + u"<p style=\"margin:0px\"></p>"_s;
}

// The whole of a hexagram: judgement, 彖 and 大象, then the lines bottom first
// with their 小象; `moving` lines carry "（动）", the place `marked` a ground.
QString hexagramHtml(const HexagramRow &row, const QString &heading, const std::array<bool, 6> &moving,
                     const QString &marked)
{
    const ZhouyiText &z = zhouyiText(row);
    QString html = u"<h3>%1</h3>"_s.arg(heading.toHtmlEscaped());
    const QString judgement = anchorOf(TextPart::Judgement, 0);
    html += paragraph(judgement, escaped(z.judgement), {u"彖曰："_s + escaped(z.tuan), u"象曰："_s + escaped(z.image)},
                      marked == judgement);
    for (int line = 1; line <= 6; ++line) {
        const ZhouyiLine &l = z.lines[static_cast<std::size_t>(line - 1)];
        const QString anchor = anchorOf(TextPart::Line, line);
        const QString movingMark = moving[static_cast<std::size_t>(line - 1)]
                                       ? u"　<span style=\"color:#c92a2a\">（动）</span>"_s
                                       : QString();
        html += paragraph(anchor, escaped(l.text) + movingMark, {u"象曰："_s + escaped(l.xiang)}, marked == anchor);
    }
    if (!z.allLines.text.empty()) {
        const QString anchor = anchorOf(TextPart::AllLines, 0);
        html
            += paragraph(anchor, escaped(z.allLines.text), {u"象曰："_s + escaped(z.allLines.xiang)}, marked == anchor);
    }
    return html;
}

// The texts the cast reads, the main one marked 【主】.
QString readingHtml(const TextsToRead &texts)
{
    QString html = u"<h3>所占经文（%1）</h3><p style=\"color:#666\">依朱熹《易学启蒙·考变占》取辞。</p>"_s.arg(
        qs(readingRuleName(texts.moving)));
    for (std::size_t i = 0; i < texts.read.size(); ++i) {
        const TextToRead &t = texts.read[i];
        QString head = static_cast<int>(i) == texts.main ? u"<b>【主】</b>"_s : QString();
        head += escaped(zhouyiText(*t.hexagram).name) + u' ';
        if (t.part == TextPart::Judgement)
            head += u"卦辞"_s + (t.role.empty() ? QString() : u"（"_s + qs(t.role) + u"）"_s) + u"："_s;
        QStringList under;
        if (t.part == TextPart::Judgement)
            under << u"彖曰："_s + escaped(zhouyiText(*t.hexagram).tuan);
        under << u"象曰："_s + escaped(xiangOf(t));
        html += paragraph({}, head + u"<b>"_s + escaped(textOf(t)) + u"</b>"_s, under, false);
    }
    return html;
}

} // namespace

JingwenWindow::JingwenWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(u"jingwen"_s);
    setWindowTitle(u"周易经文"_s);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    m_search = new QLineEdit(this);
    m_search->setObjectName(u"jingwenSousuo"_s);
    m_search->setPlaceholderText(u"搜索卦名或经文，如：乾、潜龙、利涉大川"_s);
    m_search->setClearButtonEnabled(true);
    row->addWidget(m_search, 1);
    m_back = new QPushButton(u"本卦经文"_s, this);
    m_back->setObjectName(u"jingwenBengua"_s);
    m_back->setEnabled(false);
    row->addWidget(m_back);
    layout->addLayout(row);

    auto *panes = new QHBoxLayout;
    m_results = new QListWidget(this);
    m_results->setObjectName(u"jingwenJieguo"_s);
    m_results->setMaximumWidth(fontMetrics().horizontalAdvance(u"字"_s) * 12);
    m_results->hide();
    m_text = new QTextBrowser(this);
    m_text->setObjectName(u"jingwenText"_s);
    m_text->setOpenLinks(false);
    panes->addWidget(m_results);
    panes->addWidget(m_text, 1);
    layout->addLayout(panes, 1);

    connect(m_search, &QLineEdit::textChanged, this, &JingwenWindow::search);
    connect(m_results, &QListWidget::currentRowChanged, this, [this](int r) {
        if (r >= 0)
            showResult(r);
    });
    connect(m_results, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showResult(m_results->row(item)); });
    connect(m_back, &QPushButton::clicked, this, &JingwenWindow::showCast);

    const QFontMetrics fm = fontMetrics();
    resize(fm.horizontalAdvance(u"字"_s) * 48, fm.height() * 34);
    showCast();
}

void JingwenWindow::setChart(const Chart &chart)
{
    m_chart = chart;
    if (!m_back->isEnabled())
        showCast();
}

void JingwenWindow::showCast()
{
    m_back->setEnabled(false);
    const std::optional<TextsToRead> texts = textsToRead(m_chart);
    if (!texts) {
        m_text->setHtml(u"<p>六爻未齐，排出本卦后，这里列出所占的经文和本卦、变卦的全文。</p>"
                        u"<p>也可以在上面搜索卦名或经文。</p>"_s);
        return;
    }
    std::array<bool, 6> moving{};
    for (int line = 1; line <= 6; ++line)
        moving[static_cast<std::size_t>(line - 1)] = m_chart.line(line).cast.moving;
    QString html = readingHtml(*texts);
    html += hexagramHtml(*m_chart.original, u"本卦 "_s + titleOf(*m_chart.original), moving, {});
    if (texts->moving > 0 && m_chart.changed)
        html += hexagramHtml(*m_chart.changed, u"变卦 "_s + titleOf(*m_chart.changed), {}, {});
    m_text->setHtml(html);
}

int JingwenWindow::search(const QString &phrase)
{
    m_results->clear();
    const QString wanted = phrase.trimmed();
    const std::vector<TextHit> hits = searchZhouyi(u16(wanted));
    for (const TextHit &hit : hits) {
        const QString label
            = qs(zhouyiText(*hit.hexagram).name) + u" · "_s + placeName(*hit.hexagram, hit.part, hit.line);
        auto *item = new QListWidgetItem(label, m_results);
        item->setData(Qt::UserRole, rowIndex(*hit.hexagram));
        item->setData(Qt::UserRole + 1, static_cast<int>(hit.part));
        item->setData(Qt::UserRole + 2, hit.line);
    }
    if (!wanted.isEmpty() && hits.empty())
        new QListWidgetItem(u"（没有找到）"_s, m_results);
    m_results->setVisible(!wanted.isEmpty());
    return static_cast<int>(hits.size());
}

void JingwenWindow::showResult(int row)
{
    const QListWidgetItem *item = m_results->item(row);
    if (!item || !item->data(Qt::UserRole).isValid())
        return;
    const int index = item->data(Qt::UserRole).toInt();
    if (index < 0 || index >= static_cast<int>(HexagramTable.size()))
        return;
    const HexagramRow &hexagram = HexagramTable[static_cast<std::size_t>(index)];
    const auto part = static_cast<TextPart>(item->data(Qt::UserRole + 1).toInt());
    const QString anchor = anchorOf(part, item->data(Qt::UserRole + 2).toInt());
    m_text->setHtml(hexagramHtml(hexagram, titleOf(hexagram), {}, anchor));
    m_text->scrollToAnchor(anchor);
    m_back->setEnabled(true);
}

void JingwenWindow::followFont(QWidget *source)
{
    if (m_fontSource)
        m_fontSource->removeEventFilter(this);
    m_fontSource = source;
    if (source)
        source->installEventFilter(this);
    takeFont();
}

bool JingwenWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_fontSource && event->type() == QEvent::FontChange)
        takeFont();
    return QWidget::eventFilter(watched, event);
}

void JingwenWindow::takeFont()
{
    if (!m_fontSource)
        return;
    QFont type = font();
    type.setPointSizeF(m_fontSource->font().pointSizeF());
    setFont(type);
}

} // namespace lotgrid
