#include "savecasedialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// Long enough for any question asked; a pasted book is cut short here, never in the case.
constexpr qsizetype QuestionShown = 1000;

} // namespace

SaveCaseDialog::SaveCaseDialog(const CaseRecord &draft, QWidget *parent, Saver save)
    : QDialog(parent)
    , m_draft(draft)
    , m_save(std::move(save))
    , m_question(new QLabel(this))
    , m_hexagrams(new QLabel(hexagramsText(draft.cast), this))
    , m_notes(new QPlainTextEdit(draft.notes, this))
    , m_tags(new QLineEdit(draft.tags.join(u' '), this))
{
    setObjectName(u"SaveCase"_s);
    setWindowTitle(u"保存到案例库"_s);
    m_question->setObjectName(u"question"_s);
    m_question->setTextFormat(Qt::PlainText);
    m_question->setText(draft.question.isEmpty()                 ? u"（未填写卜问何事）"_s
                        : draft.question.size() <= QuestionShown ? draft.question
                                                                 : draft.question.left(QuestionShown) + u'…');
    m_question->setWordWrap(true);
    m_question->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_hexagrams->setObjectName(u"hexagrams"_s);
    m_hexagrams->setTextFormat(Qt::PlainText);
    m_notes->setObjectName(u"notes"_s);
    m_notes->setPlaceholderText(u"断语、思路、要记下的事"_s);
    m_tags->setObjectName(u"tags"_s);
    m_tags->setPlaceholderText(u"以空格或逗号分隔，如：求财 出行"_s);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(u"buttons"_s);
    buttons->button(QDialogButtonBox::Save)->setText(u"保存"_s);
    buttons->button(QDialogButtonBox::Save)->setObjectName(u"save"_s);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"取消"_s);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(u"cancel"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(u"卜问何事："_s, m_question);
    form->addRow(u"本卦 → 变卦："_s, m_hexagrams);
    form->addRow(u"备注："_s, m_notes);
    form->addRow(u"标签："_s, m_tags);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(420, 300);
}

CaseRecord SaveCaseDialog::record() const
{
    CaseRecord c = m_draft;
    c.notes = m_notes->toPlainText();
    c.tags = normalizeTags(m_tags->text());
    return c;
}

void SaveCaseDialog::accept()
{
    if (m_save && !m_save(this, record()))
        return;
    QDialog::accept();
}

std::optional<CaseRecord> saveCaseInteractively(QWidget *parent, Journal &journal, const CaseRecord &draft,
                                                const JournalPrompts &prompts)
{
    std::optional<CaseRecord> saved;
    SaveCaseDialog dialog(draft, parent, [&](QWidget *shown, const CaseRecord &c) {
        saved = journal.save(c);
        if (!saved && prompts.warn)
            prompts.warn(shown, u"保存到案例库"_s, journalMessage(journal.lastError()));
        return saved.has_value();
    });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return saved;
}

} // namespace lotgrid
