#include "guapan/guapanlayout.h"

#include "widgets/appfont.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// Spacings in ems of the body type.
constexpr qreal Margin = 1.2;     // around the whole drawing
constexpr qreal FieldGap = 1.4;   // between two fields of the header or the foot
constexpr qreal LabelGap = 0.45;  // between a field's label and its value
constexpr qreal NoteGap = 0.35;   // before a note in small type
constexpr qreal FieldLine = 1.7;  // one line of the header or the foot
constexpr qreal RowHeight = 2.15; // one line of the hexagram
constexpr qreal ColumnGap = 0.9;  // between the columns of the rows
constexpr qreal TightGap = 0.15;  // before the small 空 after a line's text
constexpr qreal BarLength = 4.4;  // a line's bar
constexpr qreal BarThickness = 0.5;
constexpr qreal RuleSpace = 0.7;   // above and below a rule
constexpr qreal MinimumWidth = 24; // the header and the foot wrap no narrower
constexpr qreal SmallScale = 0.85;
constexpr qreal MinimumPixels = 9; // no type smaller: a character's strokes run together
constexpr qreal TitleScale = 1.2;
// A value of the header or the foot wraps to at most this many lines; the
// rest of a longer one (a question pasted whole) is left to the case itself.
constexpr int MaxValueLines = 3;

// Type from the application's font at the zoom, in whole pixels and without
// hinting, so that advances scale evenly onto a picture or a page.
QFont sized(const QFont &base, qreal pixels)
{
    QFont f(base);
    QStringList families = base.families();
    if (families.isEmpty())
        families << base.family();
    // The program's Chinese face after the application's own, before the system's
    // fallback, which may pick another region's forms of the characters.
    if (!families.contains(chineseFamily()))
        families << chineseFamily();
    f.setFamilies(families);
    f.setPixelSize(std::max(1, qRound(pixels)));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

qreal bodyPixels(const GuapanStyle &style)
{
    // A point is 1/72 inch and the layout's pixel 1/96 inch, the logical inch of the screen.
    const qreal base = style.font.pixelSize() > 0 ? style.font.pixelSize() : style.font.pointSizeF() * 96.0 / 72.0;
    return (base > 0 ? base : 12.0) * (style.zoom > 0 ? style.zoom : 1.0);
}

// Closing punctuation never starts a line, opening punctuation never ends one.
const QString NoLineStart = u"，。、；：？！）》」』】〕”’…·%,.;:?!)]}"_s;
const QString NoLineEnd = u"（《「『【〔“‘([{"_s;

// Words of the chart that a line break never splits.
const QStringList Unsplit{u"月建"_s, u"日建"_s, u"月破"_s, u"日破"_s, u"旬空"_s, u"应期"_s, u"用神"_s, u"原神"_s,
                          u"忌神"_s, u"仇神"_s, u"伏神"_s, u"飞神"_s, u"六合"_s, u"六冲"_s, u"三合"_s, u"进神"_s,
                          u"退神"_s, u"长生"_s, u"帝旺"_s, u"暗动"_s, u"冲实"_s, u"回头"_s, u"卦身"_s, u"驿马"_s,
                          u"桃花"_s, u"贵人"_s, u"禄神"_s, u"羊刃"_s, u"文昌"_s, u"华盖"_s, u"天乙"_s, u"出空"_s,
                          u"入墓"_s, u"世爻"_s, u"应爻"_s, u"农历"_s};

bool isHan(QChar c)
{
    return c.unicode() >= 0x2E80 && !c.isSurrogate();
}

// Where a line of `text` that could hold the characters [from, from + fits)
// best ends: after a space or a punctuation mark in its last third, otherwise
// at the last place Unicode's line breaking allows that neither splits one of
// the chart's words nor starts the next line with closing punctuation; never
// before from + 1.
qsizetype lineEnd(const QString &text, qsizetype from, qsizetype fits)
{
    if (from + fits >= text.size() || fits <= 1)
        return fits;
    // The line and the character after it are all the breaking rules look at.
    const QString line = text.mid(from, fits + 1);
    const auto allowed = [&line](qsizetype at) {
        if (NoLineStart.contains(line.at(at)) || NoLineEnd.contains(line.at(at - 1)))
            return false;
        if (line.at(at).isSpace() || line.at(at - 1).isSpace())
            return true;
        return std::ranges::none_of(Unsplit, [&](const QString &w) { return line.mid(at - 1, 2) == w; });
    };
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, line);
    qsizetype lastAllowed = 0;
    for (qsizetype at = fits; at > 0; --at) {
        finder.setPosition(at);
        const bool boundary = finder.isAtBoundary() || line.at(at).isSpace();
        if (!boundary || !allowed(at))
            continue;
        const QChar before = line.at(at - 1);
        if ((before.isSpace() || before.isPunct()) && at * 3 >= fits * 2)
            return at;
        if (lastAllowed == 0)
            lastAllowed = at;
        if (at * 3 < fits * 2)
            break;
    }
    return lastAllowed > 0 ? lastAllowed : fits;
}

// ASCII punctuation next to Chinese text in its full-width form: "用神:妻财" →
// "用神：妻财"; a time "12:37" or a date stays as it is.
QString fullWidthPunctuation(QString text)
{
    static constexpr std::array<std::pair<char16_t, char16_t>, 7> Forms{
        {{u',', u'，'}, {u';', u'；'}, {u':', u'：'}, {u'(', u'（'}, {u')', u'）'}, {u'?', u'？'}, {u'!', u'！'}}};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto form = std::ranges::find(Forms, text.at(i).unicode(), &std::pair<char16_t, char16_t>::first);
        if (form == Forms.end())
            continue;
        const bool hanBefore = i > 0 && isHan(text.at(i - 1));
        const bool hanAfter = i + 1 < text.size() && isHan(text.at(i + 1));
        if (hanBefore || hanAfter)
            text[i] = QChar(form->second);
    }
    return text;
}

class Builder
{
public:
    Builder(GuapanLayout &layout, qreal em)
        : m_layout(layout)
        , m_em(em)
        , m_metrics{QFontMetricsF(layout.body), QFontMetricsF(layout.small), QFontMetricsF(layout.title)}
    {
    }

    qreal em(qreal n) const { return n * m_em; }
    const QFontMetricsF &metrics(GuapanType t) const { return m_metrics[static_cast<std::size_t>(t)]; }
    qreal width(const QString &text, GuapanType t = GuapanType::Body) const
    {
        return text.isEmpty() ? 0 : metrics(t).horizontalAdvance(text);
    }

    // A run on the baseline `baseline` from `x`; returns its right end.
    qreal place(const QString &text, qreal x, qreal baseline, GuapanPart part, GuapanInk ink,
                GuapanType type = GuapanType::Body, int line = 0, GuapanCell cell = GuapanCell::None)
    {
        if (text.isEmpty())
            return x;
        const QFontMetricsF &m = metrics(type);
        GuapanRun run;
        run.text = text;
        run.origin = {x, baseline};
        run.box = QRectF(x, baseline - m.ascent(), width(text, type), m.ascent() + m.descent());
        run.part = part;
        run.ink = ink;
        run.type = type;
        run.line = line;
        run.cell = cell;
        m_layout.runs << run;
        m_right = std::max(m_right, run.box.right());
        return run.box.right();
    }

    // The baseline that centres body type on a band from `top` of `height`.
    qreal baselineIn(qreal top, qreal height) const
    {
        const QFontMetricsF &m = metrics(GuapanType::Body);
        return top + (height + m.ascent() - m.descent()) / 2;
    }

    // Lines of fields from `top`, wrapping before `right`; returns the bottom.
    qreal flow(const QList<GuapanFieldLine> &lines, qreal left, qreal top, qreal right, GuapanPart part)
    {
        const qreal lineHeight = em(FieldLine);
        qreal y = top;
        for (const GuapanFieldLine &line : lines) {
            qreal x = left;
            qreal indent = left;
            const auto newLine = [&] {
                y += lineHeight;
                x = indent;
            };
            for (qsizetype k = 0; k < line.fields.size(); ++k) {
                const GuapanField &f = line.fields[k];
                const qreal labelWidth = f.label.isEmpty() ? 0 : width(f.label) + em(LabelGap);
                const qreal noteWidth = f.note.isEmpty() ? 0 : em(NoteGap) + width(f.note, GuapanType::Small);
                if (k > 0) {
                    x += em(FieldGap);
                    if (!fitsIn(f.value, right - x - labelWidth - noteWidth))
                        newLine();
                }
                const qreal baseline = baselineIn(y, lineHeight);
                if (!f.label.isEmpty())
                    x = place(f.label, x, baseline, part, GuapanInk::Secondary) + em(LabelGap);
                if (k == 0 && line.hanging)
                    indent = x;
                x = placeWrapped(f.value, x, y, right, part);
                if (!f.note.isEmpty()) {
                    if (x + noteWidth > right)
                        newLine();
                    else
                        x += em(NoteGap);
                    x = place(f.note, x, baselineIn(y, lineHeight), part, GuapanInk::Secondary, GuapanType::Small);
                }
            }
            y += lineHeight;
        }
        return y;
    }

    qreal right() const { return m_right; }

private:
    // Whether `text` fits in `room`, measured no further than it could.
    bool fitsIn(const QString &text, qreal room) const
    {
        for (qsizetype n = 16;; n *= 2) {
            n = std::min(n, text.size());
            if (width(text.left(n)) > room)
                return false;
            if (n == text.size())
                return true;
        }
    }

    // How many characters of `text` from `from` fit in `room` (at least one,
    // never half a surrogate pair). The widths measured grow by doubling and
    // are then halved, so that a line costs about its own length whatever
    // follows it.
    qsizetype fitting(const QString &text, qsizetype from, qreal room) const
    {
        const qsizetype rest = text.size() - from;
        const auto fits = [&](qsizetype n) { return width(text.mid(from, n)) <= room; };
        qsizetype good = 0;
        qsizetype bad = rest + 1;
        for (qsizetype n = 16; good < rest; n *= 2) {
            n = std::min(n, rest);
            if (!fits(n)) {
                bad = n;
                break;
            }
            good = n;
        }
        while (bad - good > 1) {
            const qsizetype mid = good + (bad - good) / 2;
            (fits(mid) ? good : bad) = mid;
        }
        good = std::max<qsizetype>(good, 1);
        if (good > 1 && good < rest && text.at(from + good - 1).isHighSurrogate())
            --good;
        return good;
    }

    // A value from `x`, broken between characters where it would pass `right`;
    // the later pieces start under its start. At most MaxValueLines lines: a
    // longer value ends its last line with "…". Returns the right end, `y`
    // the last line's top.
    qreal placeWrapped(const QString &value, qreal x, qreal &y, qreal right, GuapanPart part)
    {
        static const QString Ellipsis = u"…"_s;
        const QString text = fullWidthPunctuation(value);
        const qreal start = x;
        qsizetype at = 0;
        for (int line = 1; at < text.size(); ++line) {
            qsizetype fits = fitting(text, at, right - x);
            const bool cut = line == MaxValueLines && at + fits < text.size();
            if (cut)
                fits = fitting(text, at, right - x - width(Ellipsis));
            else
                fits = lineEnd(text, at, fits);
            x = place(cut ? text.mid(at, fits) + Ellipsis : text.mid(at, fits).trimmed(), x,
                      baselineIn(y, em(FieldLine)), part, GuapanInk::Ink);
            at = cut ? text.size() : at + fits;
            while (at < text.size() && text.at(at).isSpace())
                ++at;
            if (at < text.size()) {
                y += em(FieldLine);
                x = start;
            }
        }
        return x;
    }

    GuapanLayout &m_layout;
    qreal m_em;
    std::array<QFontMetricsF, 3> m_metrics;
    qreal m_right = 0;
};

// The x of every column of the rows; a column a chart does not fill has no width.
struct Columns {
    qreal spirit = 0, hidden = 0, label = 0, bar = 0, role = 0, moving = 0, marks = 0;
    qreal arrow = 0, changed = 0, changedBar = 0, changedRole = 0, changedMarks = 0, right = 0;
    qreal hiddenWidth = 0;
};

// The widest text of one field of the rows.
qreal widest(const GuapanModel &model, QString GuapanRowModel::*field, const Builder &b)
{
    qreal w = 0;
    for (const GuapanRowModel &row : model.rows)
        w = std::max(w, b.width(row.*field));
    return w;
}

// The space the widest row's marks of one side take, one after another in
// small type, with the gap after the last.
qreal marksWidth(const GuapanModel &model, QStringList GuapanRowModel::*marks, const Builder &b)
{
    qreal widest = 0;
    for (const GuapanRowModel &row : model.rows) {
        qreal w = 0;
        for (const QString &m : row.*marks)
            w += b.width(m, GuapanType::Small) + b.em(0.5);
        widest = std::max(widest, w);
    }
    return widest;
}

// The layout with body type of `px` pixels; with `limit` > 0 the header, the
// title's words and the foot wrap within it, and with `stacked` each line's
// marks go on lines of their own under it, on its side of the arrow.
GuapanLayout layOutAt(const GuapanModel &model, const QFont &font, qreal px, qreal limit, bool stacked = false);

} // namespace

QStringList GuapanLayout::texts(GuapanPart part) const
{
    QStringList out;
    for (const GuapanRun &r : runs)
        if (r.part == part)
            out << r.text;
    return out;
}

QList<GuapanRun> GuapanLayout::rowRuns(int line) const
{
    QList<GuapanRun> out;
    for (const GuapanRun &r : runs)
        if (r.part == GuapanPart::Row && r.line == line)
            out << r;
    return out;
}

GuapanLayout layOutGuapan(const GuapanModel &model, const GuapanStyle &style)
{
    qreal px = bodyPixels(style);
    GuapanLayout layout = layOutAt(model, style.font, px, 0);
    if (style.width <= 0)
        return layout;
    // The widths go with the type's size, all but the pixels rounded: a few
    // steps find the largest whole size that fits.
    for (int step = 0; step < 8 && layout.size.width() > style.width && px > MinimumPixels; ++step) {
        const qreal scaled = std::floor(px * style.width / layout.size.width());
        px = std::max(MinimumPixels, std::min(scaled, px - 1));
        layout = layOutAt(model, style.font, px, 0);
    }
    if (layout.size.width() > style.width)
        layout = layOutAt(model, style.font, px, style.width);
    // Too wide still: the marks go under their lines, in the largest type that then fits.
    for (qreal stackedPx = bodyPixels(style); layout.size.width() > style.width;) {
        layout = layOutAt(model, style.font, stackedPx, style.width, true);
        if (stackedPx <= MinimumPixels || layout.size.width() <= style.width)
            break;
        const qreal scaled = std::floor(stackedPx * style.width / layout.size.width());
        stackedPx = std::max(MinimumPixels, std::min(scaled, stackedPx - 1));
    }
    layout.fits = layout.size.width() <= style.width;
    return layout;
}

namespace {

GuapanLayout layOutAt(const GuapanModel &model, const QFont &font, qreal px, qreal limit, bool stacked)
{
    GuapanLayout layout;
    layout.body = sized(font, px);
    layout.small = sized(font, std::max(px * SmallScale, MinimumPixels));
    layout.title = emphasised(sized(font, px * TitleScale));
    Builder b(layout, layout.body.pixelSize());
    const qreal left = b.em(Margin);

    // The columns first: the header and the foot wrap at the width of the rows.
    Columns c;
    const QString voidMark = u"空"_s;
    const qreal voidWidth = b.width(voidMark, GuapanType::Small);
    const auto anyRow = [&model](auto pred) { return std::ranges::any_of(model.rows, pred); };
    qreal x = left;
    if (model.hasSpirits) {
        c.spirit = x;
        x += widest(model, &GuapanRowModel::spirit, b) + b.em(ColumnGap);
    }
    if (model.hasHidden) {
        c.hidden = x;
        c.hiddenWidth = widest(model, &GuapanRowModel::hidden, b);
        x += c.hiddenWidth + b.em(ColumnGap);
        if (anyRow([](const GuapanRowModel &r) { return r.hiddenVoid; }))
            x += b.em(TightGap) + voidWidth;
    }
    c.label = x;
    x += widest(model, &GuapanRowModel::label, b) + b.em(ColumnGap);
    if (anyRow([](const GuapanRowModel &r) { return r.isVoid; }))
        x += b.em(TightGap) + voidWidth;
    c.bar = x;
    x += b.em(BarLength) + b.em(ColumnGap * 0.7);
    c.role = x;
    x += b.width(u"世"_s) + b.em(ColumnGap * 0.7);
    c.moving = x;
    x += std::max(b.width(u"○"_s), b.width(u"×"_s)) + b.em(ColumnGap);
    c.marks = x;
    if (!stacked)
        x += marksWidth(model, &GuapanRowModel::marks, b);

    // The title: each hexagram's name over its own lines.
    const auto titleWidth = [&b](const GuapanHexagramTitle &t) {
        return b.width(u"本卦"_s, GuapanType::Small) + b.em(LabelGap) + b.width(t.name, GuapanType::Title)
               + b.width(u"（"_s + t.detail + u"）"_s);
    };
    if (model.hasChanged) {
        c.arrow = x;
        x += b.width(u"→"_s) + b.em(ColumnGap);
        // Room for the original's title before the changed one's.
        x = std::max(x, c.label + titleWidth(model.original) + b.em(FieldGap));
        c.changed = x;
        x += widest(model, &GuapanRowModel::changedLabel, b) + b.em(ColumnGap);
        if (anyRow([](const GuapanRowModel &r) { return r.changedVoid; }))
            x += b.em(TightGap) + voidWidth;
        c.changedBar = x;
        x += b.em(BarLength) + b.em(ColumnGap * 0.7);
        c.changedRole = x;
        x += b.width(u"世"_s) + b.em(ColumnGap);
        c.changedMarks = x;
        if (!stacked)
            x += marksWidth(model, &GuapanRowModel::changedMarks, b);
    }
    // The last column's gap is no part of the drawing.
    c.right = x - (x == c.marks || x == c.changedMarks ? b.em(ColumnGap) : b.em(0.5));

    qreal titleRight = 0;
    if (model.complete) {
        titleRight = c.label + titleWidth(model.original);
        if (model.hasChanged)
            titleRight = c.changed + titleWidth(model.changed);
        if (limit <= 0)
            for (const QString &w : model.titleWords)
                titleRight += b.em(FieldGap) + b.width(w);
    }
    const qreal wrapRight = limit > 0
                                ? std::max({c.right, titleRight, std::min(limit - left, left + b.em(MinimumWidth))})
                                : std::max({c.right, titleRight, left + b.em(MinimumWidth)});

    qreal y = b.em(Margin) - b.em(0.3);
    if (!model.header.isEmpty()) {
        y = b.flow(model.header, left, y, wrapRight, GuapanPart::Header);
        y += b.em(RuleSpace) * 0.5;
        layout.rules << QLineF(left, y, wrapRight, y);
        y += b.em(RuleSpace);
    }

    if (!model.complete) {
        b.place(u"六爻尚未排齐"_s, left, b.baselineIn(y, b.em(FieldLine)), GuapanPart::Note, GuapanInk::Secondary);
        y += b.em(FieldLine);
    } else {
        // Title line: column heads over 六神 and 伏神, then the two hexagrams and their words.
        const qreal titleHeight = b.em(2.0);
        const qreal baseline = b.baselineIn(y, titleHeight);
        if (model.hasSpirits)
            b.place(u"六神"_s, c.spirit, baseline, GuapanPart::Title, GuapanInk::Secondary, GuapanType::Small);
        if (model.hasHidden)
            b.place(u"伏神"_s, c.hidden, baseline, GuapanPart::Title, GuapanInk::Secondary, GuapanType::Small);
        const auto title = [&](const QString &head, const GuapanHexagramTitle &t, qreal at) {
            at = b.place(head, at, baseline, GuapanPart::Title, GuapanInk::Secondary, GuapanType::Small)
                 + b.em(LabelGap);
            at = b.place(t.name, at, baseline, GuapanPart::Title, GuapanInk::Ink, GuapanType::Title);
            return b.place(u"（"_s + t.detail + u"）"_s, at, baseline, GuapanPart::Title, GuapanInk::Ink);
        };
        qreal end = title(u"本卦"_s, model.original, c.label);
        if (model.hasChanged)
            end = title(u"变卦"_s, model.changed, c.changed);
        // Words past the room start a line of their own under the titles.
        qreal wordsBaseline = baseline;
        for (const QString &w : model.titleWords) {
            if (end + b.em(FieldGap) + b.width(w) > wrapRight && end > c.label) {
                y += b.em(FieldLine);
                wordsBaseline = b.baselineIn(y, titleHeight);
                end = c.label - b.em(FieldGap);
            }
            end = b.place(w, end + b.em(FieldGap), wordsBaseline, GuapanPart::Title, GuapanInk::Ink);
        }
        y += titleHeight;
        if (!model.minor.isEmpty()) {
            qreal at = c.label;
            const qreal minorBaseline = b.baselineIn(y - b.em(0.2), b.em(1.3));
            for (const GuapanField &f : model.minor) {
                at = b.place(f.label, at, minorBaseline, GuapanPart::Title, GuapanInk::Secondary, GuapanType::Small)
                     + b.em(LabelGap * 0.6);
                at = b.place(f.value, at, minorBaseline, GuapanPart::Title, GuapanInk::Secondary, GuapanType::Small)
                     + b.em(FieldGap);
            }
            y += b.em(1.1);
        }

        const qreal rowHeight = b.em(RowHeight);
        const qreal barHeight = b.em(BarThickness);
        for (const GuapanRowModel &row : model.rows) {
            const qreal base = b.baselineIn(y, rowHeight);
            const qreal barTop = y + (rowHeight - barHeight) / 2;
            const int n = row.line;
            const auto put = [&](const QString &text, qreal at, GuapanInk ink, GuapanCell cell,
                                 GuapanType type = GuapanType::Body) {
                return b.place(text, at, base, GuapanPart::Row, ink, type, n, cell);
            };
            if (row.picked)
                layout.highlights << QRectF(left - b.em(0.35), y + b.em(0.06),
                                            std::max(c.right, c.marks) - left + b.em(0.7), rowHeight - b.em(0.12));
            if (row.useGod)
                layout.highlights << QRectF(left - b.em(0.35), y + b.em(0.12),
                                            c.moving + b.width(row.movingMark) - left + b.em(0.7),
                                            rowHeight - b.em(0.24));
            if (row.hiddenUseGod)
                layout.highlights << QRectF(c.hidden - b.em(0.3), y + b.em(0.12),
                                            c.hiddenWidth + voidWidth + b.em(0.75), rowHeight - b.em(0.24));
            const GuapanInk lineInk = row.moving ? GuapanInk::Accent : GuapanInk::Ink;
            put(row.spirit, c.spirit, GuapanInk::Ink, GuapanCell::Spirit);
            const qreal hiddenEnd = put(row.hidden, c.hidden, GuapanInk::Secondary, GuapanCell::Hidden);
            if (row.hiddenVoid)
                put(voidMark, hiddenEnd + b.em(TightGap), GuapanInk::Secondary, GuapanCell::HiddenVoid,
                    GuapanType::Small);
            const qreal labelEnd = put(row.label, c.label, GuapanInk::Ink, GuapanCell::Label);
            if (row.isVoid)
                put(voidMark, labelEnd + b.em(TightGap), GuapanInk::Secondary, GuapanCell::Void, GuapanType::Small);
            layout.bars << GuapanBar{QRectF(c.bar, barTop, b.em(BarLength), barHeight), row.yang, lineInk, n, false};
            put(row.role, c.role, GuapanInk::Ink, GuapanCell::Role);
            put(row.movingMark, c.moving, GuapanInk::Accent, GuapanCell::Moving);
            // Stacked, the marks run on lines under the row from `start`, wrapping before `end`.
            const qreal stackRight = std::max(c.right, limit - left);
            const qreal stackLine = b.em(1.25);
            int stackLines = 0;
            const auto putMarks = [&](const QStringList &marks, qreal at, GuapanCell cell, qreal start = 0,
                                      qreal stop = 0) {
                int lines = marks.isEmpty() || !stacked ? 0 : 1;
                qreal markBase = base;
                if (stacked) {
                    at = start;
                    markBase = b.baselineIn(y + rowHeight - b.em(0.35), stackLine);
                }
                for (const QString &m : marks) {
                    if (stacked && at > start && at + b.width(m, GuapanType::Small) > stop) {
                        at = start;
                        markBase += stackLine;
                        ++lines;
                    }
                    at = b.place(m, at, markBase, GuapanPart::Row, GuapanInk::Secondary, GuapanType::Small, n, cell)
                         + b.em(0.5);
                }
                stackLines = std::max(stackLines, lines);
            };
            putMarks(row.marks, c.marks, GuapanCell::Mark, c.label,
                     model.hasChanged ? c.changed - b.em(ColumnGap) : stackRight);
            if (model.hasChanged) {
                const GuapanInk changedInk = row.moving ? GuapanInk::Accent : GuapanInk::Secondary;
                if (row.moving)
                    put(u"→"_s, c.arrow, GuapanInk::Accent, GuapanCell::Arrow);
                const qreal changedEnd = put(row.changedLabel, c.changed, changedInk, GuapanCell::Changed);
                if (row.changedVoid)
                    put(voidMark, changedEnd + b.em(TightGap), GuapanInk::Secondary, GuapanCell::ChangedVoid,
                        GuapanType::Small);
                layout.bars << GuapanBar{QRectF(c.changedBar, barTop, b.em(BarLength), barHeight), row.changedYang,
                                         changedInk, n, true};
                put(row.changedRole, c.changedRole, GuapanInk::Secondary, GuapanCell::ChangedRole);
            }
            if (model.hasChanged)
                putMarks(row.changedMarks, c.changedMarks, GuapanCell::ChangedMark, c.changed, stackRight);
            y += rowHeight + stackLines * stackLine;
        }
    }

    if (!model.foot.isEmpty()) {
        y += b.em(RuleSpace) * 0.5;
        layout.rules << QLineF(left, y, wrapRight, y);
        y += b.em(RuleSpace) * 0.7;
        y = b.flow(model.foot, left, y, wrapRight, GuapanPart::Foot);
    }
    const qreal right = std::max({b.right(), wrapRight, c.right});
    for (QLineF &rule : layout.rules)
        rule.setP2({right, rule.y2()});
    layout.size = QSizeF(std::ceil(right + left), std::ceil(y + b.em(Margin) - b.em(0.3)));
    return layout;
}

} // namespace

} // namespace lotgrid
