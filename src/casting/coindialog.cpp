#include "casting/coindialog.h"

#include "casting/dialogparts.h"
#include "chart/words.h"
#include "qtcore/textconv.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

const QString Back = u"背"_s;
const QString Face = u"字"_s;

// A coin as it lies on the table: round, a square hole in the middle; the 字
// side darker, with the four characters of its inscription round the hole
// (read top, bottom, right, left), the 背 side paler and plain. The text of
// the button says which side is up. A coin not yet to be tossed is drawn faint.
class Coin : public QToolButton
{
public:
    using QToolButton::QToolButton;

    QSize sizeHint() const override
    {
        const int side = fontMetrics().height() * 3;
        return {side, side};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        if (!isEnabled())
            p.setOpacity(0.35);
        const bool back = text() == Back;
        const qreal d = std::min(width(), height()) - 6.0; // the coin's diameter, inside a focus ring
        QRectF coin((width() - d) / 2, (height() - d) / 2, d, d);
        if (isDown())
            coin.translate(0, 1);
        const QPointF centre = coin.center();
        const QColor rim(0x6b, 0x4a, 0x12);

        QRadialGradient metal(centre - QPointF(d * 0.18, d * 0.18), d * 0.75);
        metal.setColorAt(0, back ? QColor(0xf6, 0xe3, 0xa8) : QColor(0xcf, 0x9c, 0x35));
        metal.setColorAt(1, back ? QColor(0xd6, 0xb4, 0x5e) : QColor(0x8a, 0x5f, 0x16));
        p.setPen(QPen(rim, std::max(1.0, d * 0.04)));
        p.setBrush(metal);
        p.drawEllipse(coin.adjusted(d * 0.02, d * 0.02, -d * 0.02, -d * 0.02));
        p.setPen(QPen(rim, std::max(1.0, d * 0.02)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, d * 0.4, d * 0.4);

        const qreal hole = d * 0.26;
        p.setPen(QPen(rim, std::max(1.0, d * 0.03)));
        p.setBrush(palette().color(QPalette::Window));
        p.drawRect(QRectF(centre - QPointF(hole / 2, hole / 2), QSizeF(hole, hole)));

        if (!back) {
            QFont type = font();
            type.setPixelSize(std::max(6, qRound(d * 0.2)));
            type.setBold(true);
            p.setFont(type);
            p.setPen(QColor(0x3b, 0x26, 0x06));
            const qreal reach = d * 0.27, box = d * 0.22;
            const std::array<std::pair<QChar, QPointF>, 4> inscription{
                {{u'开', {0, -reach}}, {u'元', {0, reach}}, {u'通', {reach, 0}}, {u'宝', {-reach, 0}}}};
            for (const auto &[character, offset] : inscription)
                p.drawText(QRectF(centre + offset - QPointF(box / 2, box / 2), QSizeF(box, box)), Qt::AlignCenter,
                           QString(character));
        }

        if (hasFocus() || (underMouse() && isEnabled())) {
            p.setOpacity(1);
            p.setPen(QPen(palette().color(QPalette::Highlight), 2, hasFocus() ? Qt::DashLine : Qt::SolidLine));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(coin.adjusted(-2, -2, 2, 2));
        }
    }
};

QString resultText(const CastLine &line)
{
    if (line.value == u'1')
        return line.moving ? u"老阳 ○"_s : u"少阳"_s;
    return line.moving ? u"老阴 ×"_s : u"少阴"_s;
}

} // namespace

CoinDialog::CoinDialog(bool facesSwapped, QWidget *parent)
    : QDialog(parent)
    , digits(new QLineEdit(this))
    , swapFaces(new QCheckBox(u"字面计三、背面计二"_s, this))
    , message(new QLabel(this))
    , ok(new QPushButton(u"确定"_s, this))
    , cancel(new QPushButton(u"取消"_s, this))
{
    setObjectName(u"Yingbi"_s);
    setWindowTitle(u"手动摇卦"_s);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto *rows = new QGridLayout;
    for (int n = 6; n >= 1; --n) {
        const int row = 6 - n;
        auto *place = new QLabel(qs(linePlaceName(n)), this);
        place->setObjectName(u"place%1"_s.arg(n));
        rows->addWidget(place, row, 0);
        for (int k = 0; k < 3; ++k) {
            auto *coin = new Coin(this);
            coin->setObjectName(u"coin%1_%2"_s.arg(n).arg(k + 1));
            connect(coin, &QToolButton::clicked, this, [this, n, k] { coin_Click(n, k); });
            coins(n)[k] = coin;
            rows->addWidget(coin, row, k + 1);
        }
        results(n) = new QLabel(this);
        results(n)->setObjectName(u"result%1"_s.arg(n));
        results(n)->setMinimumWidth(results(n)->fontMetrics().horizontalAdvance(u'老') * 5);
        rows->addWidget(results(n), row, 4);
    }

    digits->setObjectName(u"digits"_s);
    swapFaces->setObjectName(u"swapFaces"_s);
    swapFaces->setChecked(facesSwapped);
    setUpMessage(message);

    auto *typed = new QHBoxLayout;
    auto *digitsLabel = new QLabel(u"背面个数："_s, this);
    digitsLabel->setObjectName(u"digitsLabel"_s);
    digitsLabel->setBuddy(digits);
    typed->addWidget(digitsLabel);
    typed->addWidget(digits);

    QHBoxLayout *buttons = okCancelRow(this, ok, cancel);

    auto *hint = new QLabel(u"每爻掷三枚硬币，自初爻起逐爻记下：点击硬币翻面，"
                            u"或依次输入每爻背面朝上的个数（0-3），如 123012。"_s,
                            this);
    hint->setObjectName(u"hint"_s);
    hint->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(rows);
    layout->addLayout(typed);
    layout->addWidget(swapFaces);
    layout->addWidget(message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(digits, &QLineEdit::textEdited, this, &CoinDialog::digits_Edited);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (lines())
            accept();
        else
            message->setText(u"六爻尚未摇完，请逐爻记下背面个数。"_s);
    });
    // The results follow the face that counts 3.
    connect(swapFaces, &QCheckBox::toggled, this, &CoinDialog::showRows);

    showRows();
    digits->setFocus();
}

int CoinDialog::filledRows() const
{
    int filled = 0;
    while (filled < 6 && m_backs[filled] >= 0)
        ++filled;
    return filled;
}

std::optional<CastLines> CoinDialog::lines() const
{
    return coinCast(m_backs, swapFaces->isChecked());
}

void CoinDialog::coin_Click(int n, int coin)
{
    if (n > filledRows() + 1)
        return; // rows fill from line 1 up
    std::array<bool, 3> &faces = m_faceUp(n);
    if (m_backs[n - 1] < 0)
        faces = {false, false, false};
    faces[coin] = !faces[coin];
    m_backs[n - 1] = static_cast<int>(std::ranges::count(faces, true));
    message->clear();
    showRows();
}

void CoinDialog::digits_Edited(const QString &text)
{
    const bool valid = text.size() <= 6 && std::ranges::all_of(text, [](QChar c) { return c >= u'0' && c <= u'3'; });
    if (!valid) {
        message->setText(u"只能输入 0 到 3 的数字，每爻一位，共六位。"_s);
        showRows(); // puts the counts back
        return;
    }
    message->clear();
    for (int n = 1; n <= 6; ++n) {
        const int count = n <= text.size() ? text[n - 1].unicode() - u'0' : -1;
        if (count == m_backs[n - 1])
            continue;
        m_backs[n - 1] = count;
        for (int k = 0; k < 3; ++k)
            m_faceUp(n)[k] = k < count;
    }
    showRows();
}

void CoinDialog::showRows()
{
    const int filled = filledRows();
    QString run;
    for (int n = 1; n <= 6; ++n) {
        const int count = m_backs[n - 1];
        const bool isFilled = count >= 0;
        for (int k = 0; k < 3; ++k) {
            QToolButton *coin = coins(n)[k];
            const bool back = isFilled && m_faceUp(n)[k];
            coin->setText(back ? Back : Face);
            coin->setToolTip(back ? u"背面朝上，点击翻面"_s : u"字面朝上，点击翻面"_s);
            coin->setEnabled(n <= filled + 1);
            coin->setDown(false);
        }
        const auto line = isFilled ? coinLine(count, swapFaces->isChecked()) : std::nullopt;
        results(n)->setText(line ? u"%1背 %2"_s.arg(count).arg(resultText(*line)) : QString());
        if (isFilled)
            run += QChar(u'0' + count);
    }
    if (digits->text() != run) {
        const int cursor = digits->cursorPosition();
        digits->setText(run);
        digits->setCursorPosition(std::min<int>(cursor, run.size()));
    }
    ok->setEnabled(filled == 6);
}

} // namespace lotgrid
