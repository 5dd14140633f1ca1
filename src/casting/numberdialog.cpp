#include "casting/numberdialog.h"

#include "casting/dialogparts.h"
#include "core/elements.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

enum class Reading { Number, Empty, NotDigits, OutOfRange };

struct ReadNumber {
    Reading reading;
    std::int64_t value = 0;
};

// Plain ASCII digits only (spaces around them are ignored).
ReadNumber readNumber(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {Reading::Empty};
    if (!std::ranges::all_of(text, [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return {Reading::NotDigits};
    std::int64_t value = 0;
    for (QChar c : text) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > LargestCastNumber)
            return {Reading::OutOfRange};
    }
    if (value < 1)
        return {Reading::OutOfRange};
    return {Reading::Number, value};
}

} // namespace

NumberDialog::NumberDialog(bool addsHour, int hour, QWidget *parent)
    : QDialog(parent)
    , number1(new QLineEdit(this))
    , number2(new QLineEdit(this))
    , addHour(new QCheckBox(this))
    , message(new QLabel(this))
    , ok(new QPushButton(u"确定"_s, this))
    , cancel(new QPushButton(u"取消"_s, this))
    , m_hour(hour)
{
    setObjectName(u"Shuzi"_s);
    setWindowTitle(u"数字起卦"_s);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    number1->setObjectName(u"number1"_s);
    number2->setObjectName(u"number2"_s);
    for (QLineEdit *field : {number1, number2})
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(u'9') * 12);
    addHour->setObjectName(u"addHour"_s);
    const QChar hourBranch = hour >= 1 && hour <= 12 ? QChar(BranchNames[static_cast<std::size_t>(hour - 1)]) : u'?';
    addHour->setText(u"动爻加时辰数（%1时 %2）"_s.arg(hourBranch).arg(hour));
    addHour->setChecked(addsHour);
    setUpMessage(message);

    auto *fields = new QGridLayout;
    auto *label1 = new QLabel(u"第一个数（上卦）："_s, this);
    label1->setObjectName(u"number1Label"_s);
    label1->setBuddy(number1);
    auto *label2 = new QLabel(u"第二个数（下卦）："_s, this);
    label2->setObjectName(u"number2Label"_s);
    label2->setBuddy(number2);
    fields->addWidget(label1, 0, 0);
    fields->addWidget(number1, 0, 1);
    fields->addWidget(label2, 1, 0);
    fields->addWidget(number2, 1, 1);

    auto *hint = new QLabel(u"请输入两个 1 到 99999999 之间的整数。"_s, this);
    hint->setObjectName(u"hint"_s);

    QHBoxLayout *buttons = okCancelRow(this, ok, cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(fields);
    layout->addWidget(addHour);
    layout->addWidget(message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &NumberDialog::ok_Click);
    // A message once shown follows the input: it names what is still wrong, and goes once nothing is.
    const auto recheck = [this] {
        if (!message->text().isEmpty())
            message->setText(problem());
    };
    connect(number1, &QLineEdit::textChanged, this, recheck);
    connect(number2, &QLineEdit::textChanged, this, recheck);
    connect(addHour, &QCheckBox::toggled, this, recheck);
    number1->setFocus();
}

std::optional<PlumCast> NumberDialog::cast() const
{
    const ReadNumber first = readNumber(number1->text());
    const ReadNumber second = readNumber(number2->text());
    if (first.reading != Reading::Number || second.reading != Reading::Number)
        return std::nullopt;
    return numberCast(first.value, second.value, addHour->isChecked() ? std::optional<int>(m_hour) : std::nullopt);
}

QString NumberDialog::problem() const
{
    const Reading first = readNumber(number1->text()).reading;
    const Reading second = readNumber(number2->text()).reading;
    const auto either = [&](Reading r) { return first == r || second == r; };
    if (either(Reading::Empty))
        return u"请填写两个数。"_s;
    if (either(Reading::NotDigits))
        return u"只能输入数字：两个 1 到 99999999 之间的整数。"_s;
    if (either(Reading::OutOfRange))
        return u"数字须在 1 到 99999999 之间。"_s;
    if (!cast())
        return u"无法按此时辰起卦。"_s;
    return {};
}

void NumberDialog::ok_Click()
{
    message->setText(problem());
    if (message->text().isEmpty())
        accept();
}

} // namespace lotgrid
