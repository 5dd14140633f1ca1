#include "journal/outcomedialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

OutcomeDialog::OutcomeDialog(const CaseRecord &c, Verdict verdict, const QDate &today, QWidget *parent)
    : QDialog(parent)
    , m_case(c)
    , m_fulfilled(new QRadioButton(verdictText(Verdict::Fulfilled), this))
    , m_failed(new QRadioButton(verdictText(Verdict::Failed), this))
    , m_dated(new QCheckBox(u"发生于"_s, this))
    , m_date(new QDateEdit(c.outcomeDate.value_or(today), this))
    , m_note(new QLineEdit(this))
{
    setObjectName(u"jieguo"_s);
    setWindowTitle(u"记录结果"_s);
    m_fulfilled->setObjectName(u"fulfilled"_s);
    m_failed->setObjectName(u"failed"_s);
    m_dated->setObjectName(u"dated"_s);
    m_date->setObjectName(u"outcomeDate"_s);
    m_note->setObjectName(u"note"_s);
    (verdict == Verdict::Failed ? m_failed : m_fulfilled)->setChecked(true);
    m_dated->setChecked(c.outcomeDate.has_value());
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(u"yyyy-MM-dd"_s);
    m_date->setDateRange(QDate(1900, 1, 31), QDate(2100, 12, 31));
    m_date->setEnabled(m_dated->isChecked());
    connect(m_dated, &QCheckBox::toggled, m_date, &QDateEdit::setEnabled);
    m_note->setPlaceholderText(u"实际发生了什么（可不填）"_s);

    auto *question = new QLabel(c.question.isEmpty() ? hexagramsText(c.cast) : c.question, this);
    question->setTextFormat(Qt::PlainText);
    question->setWordWrap(true);
    auto *verdicts = new QHBoxLayout;
    verdicts->addWidget(m_fulfilled);
    verdicts->addWidget(m_failed);
    verdicts->addStretch();
    auto *day = new QHBoxLayout;
    day->addWidget(m_dated);
    day->addWidget(m_date);
    day->addStretch();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u"记录"_s);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(u"record"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(u"所问："_s, question);
    form->addRow(u"结果："_s, verdicts);
    form->addRow(u"日期："_s, day);
    form->addRow(u"说明："_s, m_note);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

CaseRecord OutcomeDialog::record() const
{
    return withOutcome(m_case, m_failed->isChecked() ? Verdict::Failed : Verdict::Fulfilled,
                       m_dated->isChecked() ? std::optional(m_date->date()) : std::nullopt, m_note->text());
}

} // namespace lotgrid
