#include "anli.h"

#include "chart/categories.h"
#include "chart/chart.h"
#include "guapan/guapanview.h"
#include "journal/outcomedialog.h"
#include "journal/tongji.h"
#include "qtcore/textconv.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <limits>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

const QString Title = u"案例库"_s;

template<typename W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// A question as the detail pane and the delete prompt quote it.
QString shownQuestion(const QString &question, qsizetype length)
{
    return question.size() > length ? question.left(length) + u'…' : question;
}

QString detailText(const CaseRecord &c)
{
    QStringList parts;
    parts << hexagramsText(c.cast);
    parts << u"卜问何事：%1"_s.arg(c.question.isEmpty() ? u"—"_s : shownQuestion(c.question, 1000));
    QStringList facts;
    facts << u"起卦时间：%1"_s.arg(c.cast.moment ? momentText(c.cast.moment) : u"—"_s);
    if (c.sex)
        facts << u"性别：%1"_s.arg(sexText(c.sex));
    if (c.cast.dayStem)
        facts << u"日干：%1"_s.arg(QChar(StemNames[*c.cast.dayStem]));
    if (c.cast.monthBuild)
        facts << u"月建：%1"_s.arg(QChar(BranchNames[static_cast<int>(*c.cast.monthBuild)]));
    if (c.cast.dayBuild)
        facts << u"日建：%1"_s.arg(QChar(BranchNames[static_cast<int>(*c.cast.dayBuild)]));
    if (c.cast.mark.kind != MarkKind::None)
        facts << u"%1：第 %2 爻"_s.arg(c.cast.mark.kind == MarkKind::UseGod ? u"用神"_s : u"伏神"_s)
                     .arg(c.cast.mark.line);
    parts << facts.join(u"　"_s);
    QStringList timing;
    if (c.firstYingqi)
        timing << u"首个应期：%1"_s.arg(c.firstYingqi->toString(Qt::ISODate));
    if (c.outcomeDate)
        timing << u"%1于：%2"_s.arg(verdictText(c.verdict), c.outcomeDate->toString(Qt::ISODate));
    if (!timing.isEmpty())
        parts << timing.join(u"　"_s);
    parts << u"保存于 %1，修改于 %2"_s.arg(c.saved.toLocalTime().toString(u"yyyy-MM-dd HH:mm"_s),
                                           c.changed.toLocalTime().toString(u"yyyy-MM-dd HH:mm"_s));
    return parts.join(u'\n');
}

} // namespace

Anli::Anli(Journal *journal, JournalPrompts prompts, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_journal(journal)
    , m_prompts(std::move(prompts))
    , m_model(new CaseListModel(journal, this))
    , m_search(named(new QLineEdit(this), u"search"_s))
    , m_dateFilter(named(new QCheckBox(u"日期"_s, this), u"dateFilter"_s))
    , m_dateFrom(named(new QDateEdit(this), u"dateFrom"_s))
    , m_dateTo(named(new QDateEdit(this), u"dateTo"_s))
    , m_verdictFilter(named(new QComboBox(this), u"verdictFilter"_s))
    , m_table(named(new QTableView(this), u"cases"_s))
    , m_preview(named(new GuapanView(this), u"anliGuapan"_s))
    , m_detail(named(new QLabel(this), u"detail"_s))
    , m_notes{named(new QPlainTextEdit(this), u"notes"_s), named(new QPushButton(this), u"showAllNotes"_s), {}, false}
    , m_outcome{named(new QPlainTextEdit(this), u"outcome"_s),
                named(new QPushButton(this), u"showAllOutcome"_s),
                {},
                false}
    , m_verdict(named(new QComboBox(this), u"verdict"_s))
    , m_tags(named(new QLineEdit(this), u"tags"_s))
    , m_groupFilter(named(new QPushButton(this), u"groupFilter"_s))
    , m_saveDetail(named(new QPushButton(u"保存"_s, this), u"saveDetail"_s))
    , m_reopen(named(new QPushButton(u"打开"_s, this), u"reopen"_s))
    , m_recordFulfilled(named(new QPushButton(u"应验…"_s, this), u"jiluYingyan"_s))
    , m_recordFailed(named(new QPushButton(u"不验…"_s, this), u"jiluBuyan"_s))
    , m_openTongji(named(new QPushButton(u"验证统计…"_s, this), u"tongjiButton"_s))
    , m_delete(named(new QPushButton(u"删除"_s, this), u"deleteCases"_s))
    , m_exportAll(named(new QPushButton(u"导出全部…"_s, this), u"exportAll"_s))
    , m_exportSelected(named(new QPushButton(u"导出所选…"_s, this), u"exportSelected"_s))
    , m_import(named(new QPushButton(u"导入…"_s, this), u"importCases"_s))
    , m_status(named(new QLabel(this), u"status"_s))
{
    setObjectName(u"Anli"_s);
    setWindowTitle(Title);
    m_model->setObjectName(u"caseModel"_s);

    m_search->setPlaceholderText(u"搜索：问事、备注、标签、结果、卦名"_s);
    m_search->setClearButtonEnabled(true);
    for (QDateEdit *edit : {m_dateFrom, m_dateTo}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(u"yyyy-MM-dd"_s);
        edit->setDateRange(QDate(1900, 1, 31), QDate(2100, 12, 31));
        edit->setEnabled(false);
    }
    const QDate today = QDate::currentDate();
    m_dateFrom->setDate(today.addYears(-1));
    m_dateTo->setDate(today);
    m_verdictFilter->addItem(u"全部"_s);
    for (Verdict v : {Verdict::Fulfilled, Verdict::Failed, Verdict::Open}) {
        m_verdictFilter->addItem(verdictText(v), static_cast<int>(v));
        m_verdict->addItem(verdictText(v), static_cast<int>(v));
    }
    m_verdictFilter->addItem(u"待验"_s, AwaitingItem);
    m_verdictFilter->setItemData(m_verdictFilter->count() - 1, u"未定，且首个应期已过"_s, Qt::ToolTipRole);
    m_groupFilter->setToolTip(u"点击取消这个分组"_s);
    m_groupFilter->hide();

    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->horizontalHeader()->setStretchLastSection(false);
    m_table->horizontalHeader()->setSectionResizeMode(CaseListModel::QuestionColumn, QHeaderView::Stretch);
    // Widths in the table's own type, so they follow the desktop's scale.
    const QFontMetrics fm(m_table->font());
    m_table->setColumnWidth(CaseListModel::MomentColumn, fm.horizontalAdvance(u"2026-12-07 08:30"_s) + fm.height());
    m_table->setColumnWidth(CaseListModel::HexagramsColumn,
                            fm.horizontalAdvance(u"雷泽归妹 → 泽风大过"_s) + fm.height());
    m_table->setColumnWidth(CaseListModel::VerdictColumn, fm.horizontalAdvance(u"应验"_s) + fm.height());

    m_detail->setTextFormat(Qt::PlainText);
    m_detail->setWordWrap(true);
    m_detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setTextFormat(Qt::PlainText);
    m_notes.edit->setPlaceholderText(u"备注"_s);
    m_outcome.edit->setPlaceholderText(u"结果：后来实际发生了什么"_s);
    for (FoldedText *field : {&m_notes, &m_outcome}) {
        field->showAll->hide();
        connect(field->showAll, &QPushButton::clicked, this, [this, field] { unfold(*field); });
    }
    m_tags->setPlaceholderText(u"以空格或逗号分隔"_s);

    auto *filters = new QHBoxLayout;
    filters->addWidget(m_search, 1);
    filters->addWidget(m_dateFilter);
    filters->addWidget(m_dateFrom);
    filters->addWidget(new QLabel(u"至"_s, this));
    filters->addWidget(m_dateTo);
    filters->addWidget(new QLabel(u"应验："_s, this));
    filters->addWidget(m_verdictFilter);
    filters->addWidget(m_groupFilter);

    auto *detailPane = named(new QWidget(this), u"detailPane"_s);
    auto *form = new QFormLayout;
    for (FoldedText *field : {&m_notes, &m_outcome}) {
        auto *box = new QVBoxLayout;
        box->addWidget(field->edit, 1);
        box->addWidget(field->showAll, 0, Qt::AlignLeft);
        form->addRow(field == &m_notes ? u"备注："_s : u"结果："_s, box);
    }
    form->addRow(u"应验："_s, m_verdict);
    form->addRow(u"标签："_s, m_tags);
    auto *detailButtons = new QHBoxLayout;
    detailButtons->addWidget(m_saveDetail);
    detailButtons->addWidget(m_reopen);
    detailButtons->addWidget(m_recordFulfilled);
    detailButtons->addWidget(m_recordFailed);
    detailButtons->addStretch();
    detailButtons->addWidget(m_delete);
    auto *detailLayout = new QVBoxLayout(detailPane);
    detailLayout->addWidget(m_detail);
    detailLayout->addLayout(form, 1);
    detailLayout->addLayout(detailButtons);

    auto *previewScroll = named(new QScrollArea(this), u"anliGuapanScroll"_s);
    previewScroll->setWidget(m_preview);
    previewScroll->setWidgetResizable(true);
    previewScroll->setFrameShape(QFrame::NoFrame);
    auto *list = named(new QSplitter(Qt::Vertical, this), u"listSplitter"_s);
    list->addWidget(m_table);
    list->addWidget(previewScroll);
    list->setStretchFactor(0, 1);
    list->setStretchFactor(1, 1);
    list->setSizes({fm.height() * 12, fm.height() * 20}); // room for most of the drawing
    auto *splitter = named(new QSplitter(this), u"splitter"_s);
    splitter->addWidget(list);
    splitter->addWidget(detailPane);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_openTongji);
    bottom->addWidget(m_import);
    bottom->addWidget(m_exportSelected);
    bottom->addWidget(m_exportAll);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(splitter, 1);
    layout->addLayout(bottom);
    resize(fm.horizontalAdvance(u"起"_s) * 64, fm.height() * 34);

    connect(m_search, &QLineEdit::textChanged, this, &Anli::applyFilter);
    connect(m_dateFilter, &QCheckBox::toggled, this, [this](bool on) {
        m_dateFrom->setEnabled(on);
        m_dateTo->setEnabled(on);
        applyFilter();
    });
    connect(m_dateFrom, &QDateEdit::dateChanged, this, [this] {
        if (m_dateFilter->isChecked())
            applyFilter();
    });
    connect(m_dateTo, &QDateEdit::dateChanged, this, [this] {
        if (m_dateFilter->isChecked())
            applyFilter();
    });
    connect(m_verdictFilter, &QComboBox::currentIndexChanged, this, &Anli::applyFilter);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Anli::currentChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &Anli::currentChanged);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Anli::updateSelectionButtons);
    connect(m_table, &QAbstractItemView::activated, this, [this] { reopenCurrent(); });
    connect(m_notes.edit, &QPlainTextEdit::textChanged, this, &Anli::markDirty);
    connect(m_outcome.edit, &QPlainTextEdit::textChanged, this, &Anli::markDirty);
    connect(m_tags, &QLineEdit::textEdited, this, &Anli::markDirty);
    connect(m_verdict, &QComboBox::currentIndexChanged, this, [this] {
        if (m_loading)
            return;
        m_dirty = true;
        saveDetail();
    });
    connect(m_saveDetail, &QPushButton::clicked, this, [this] { saveDetail(); });
    connect(m_reopen, &QPushButton::clicked, this, [this] { reopenCurrent(); });
    connect(m_recordFulfilled, &QPushButton::clicked, this, [this] { recordOutcome(Verdict::Fulfilled); });
    connect(m_recordFailed, &QPushButton::clicked, this, [this] { recordOutcome(Verdict::Failed); });
    connect(m_openTongji, &QPushButton::clicked, this, &Anli::openTongji);
    connect(m_groupFilter, &QPushButton::clicked, this, [this] {
        m_group.reset();
        m_groupFilter->hide();
        applyFilter();
    });
    connect(m_delete, &QPushButton::clicked, this, &Anli::deleteSelected);
    connect(m_exportAll, &QPushButton::clicked, this, [this] {
        const QString file = m_prompts.exportFile ? m_prompts.exportFile(
                                 this, u"导出全部案例"_s, JournalPrompts::CaseFileName, JournalPrompts::CaseFileFilter)
                                                  : QString();
        if (!file.isEmpty())
            exportTo(file, false);
    });
    connect(m_exportSelected, &QPushButton::clicked, this, [this] {
        const QString file = m_prompts.exportFile ? m_prompts.exportFile(
                                 this, u"导出所选案例"_s, JournalPrompts::CaseFileName, JournalPrompts::CaseFileFilter)
                                                  : QString();
        if (!file.isEmpty())
            exportTo(file, true);
    });
    connect(m_import, &QPushButton::clicked, this, [this] {
        const QString file = m_prompts.importFile ? m_prompts.importFile(this, u"导入案例"_s) : QString();
        if (!file.isEmpty())
            importFrom(file);
    });
    connect(m_model, &CaseListModel::readFailed, this, [this](const QString &message) {
        m_status->setText(u"案例无法读取"_s);
        if (m_prompts.warn)
            m_prompts.warn(this, Title, message);
    });

    applyFilter();
}

std::optional<CaseRecord> Anli::currentCase() const
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_model->caseAt(current.row());
}

void Anli::applyFilter()
{
    if (m_dirty)
        saveDetail();
    CaseFilter filter;
    filter.text = m_search->text();
    if (m_dateFilter->isChecked()) {
        filter.from = m_dateFrom->date();
        filter.to = m_dateTo->date();
    }
    if (m_verdictFilter->currentData().toInt() == AwaitingItem)
        filter.openYingqiBefore = m_today ? m_today() : QDate::currentDate();
    else if (m_verdictFilter->currentIndex() > 0)
        filter.verdict = static_cast<Verdict>(m_verdictFilter->currentData().toInt());
    filter.group = m_group;
    m_model->setFilter(filter);
    showCount();
}

void Anli::showCount()
{
    const std::optional<qint64> total = m_journal->count();
    if (total)
        m_status->setText(u"案例库共 %1 个案例"_s.arg(*total));
}

void Anli::currentChanged()
{
    if (m_dirty && m_shown && m_shown->id != (currentCase() ? currentCase()->id : 0))
        saveDetail();
    showCase(currentCase());
}

void Anli::showCase(const std::optional<CaseRecord> &c)
{
    m_loading = true;
    m_shown = c;
    m_detail->setText(c ? detailText(*c) : u"在左边的表里选一个案例"_s);
    GuapanWords words;
    if (c)
        words.question = c->question;
    m_preview->setWords(words);
    m_preview->setChart(c ? caseChart(*c) : Chart{});
    m_preview->setVisible(c.has_value()); // nothing to draw before a case is chosen
    setFolded(m_notes, c ? c->notes : QString());
    setFolded(m_outcome, c ? c->outcome : QString());
    m_verdict->setCurrentIndex(m_verdict->findData(static_cast<int>(c ? c->verdict : Verdict::Open)));
    m_tags->setText(c ? c->tags.join(u' ') : QString());
    for (QWidget *w : std::initializer_list<QWidget *>{m_notes.edit, m_outcome.edit, m_verdict, m_tags, m_saveDetail,
                                                       m_reopen, m_recordFulfilled, m_recordFailed})
        w->setEnabled(c.has_value());
    updateSelectionButtons();
    m_dirty = false;
    m_loading = false;
}

void Anli::setFolded(FoldedText &field, const QString &text)
{
    field.folded = text.size() > FoldedLength;
    field.full = field.folded ? text : QString();
    // Emptied first: a new wrap mode lays out again what the field holds. One
    // unbreakable line is laid out in time that grows with its square, unless
    // it may break anywhere.
    field.edit->clear();
    field.edit->setWordWrapMode(text.size() > FoldedLength ? QTextOption::WrapAnywhere
                                                           : QTextOption::WrapAtWordBoundaryOrAnywhere);
    field.edit->setPlainText(field.folded ? text.left(FoldedLength) + u'…' : text);
    field.edit->setReadOnly(field.folded);
    field.showAll->setText(u"显示全部（共 %1 字）"_s.arg(text.size()));
    field.showAll->setVisible(field.folded);
}

void Anli::unfold(FoldedText &field)
{
    if (!field.folded)
        return;
    const bool loading = m_loading;
    m_loading = true;
    field.edit->setPlainText(field.full);
    m_loading = loading;
    field.full.clear();
    field.folded = false;
    field.edit->setReadOnly(false);
    field.showAll->hide();
}

QString Anli::textOf(const FoldedText &field)
{
    return field.folded ? field.full : field.edit->toPlainText();
}

void Anli::updateSelectionButtons()
{
    const bool any = !selectedIds().isEmpty();
    m_delete->setEnabled(any);
    m_exportSelected->setEnabled(any);
}

void Anli::markDirty()
{
    if (!m_loading)
        m_dirty = true;
}

bool Anli::saveDetail()
{
    if (!m_shown) {
        m_dirty = false;
        return true;
    }
    CaseRecord edited = *m_shown;
    edited.notes = textOf(m_notes);
    edited.outcome = textOf(m_outcome);
    edited.verdict = static_cast<Verdict>(m_verdict->currentData().toInt());
    edited.tags = normalizeTags(m_tags->text());
    const std::optional<CaseRecord> saved = m_journal->updateFollowUp(edited);
    if (!saved) {
        // The typed texts stay in the fields, so nothing is lost; the user may try again.
        m_status->setText(u"修改未能保存"_s);
        if (m_prompts.warn)
            m_prompts.warn(this, Title, journalMessage(m_journal->lastError()));
        return false;
    }
    m_dirty = false;
    m_shown = saved;
    m_model->replaceCase(*saved);
    m_status->setText(u"已保存"_s);
    emit followUpSaved();
    return true;
}

void Anli::showAwaiting()
{
    const int item = m_verdictFilter->findData(AwaitingItem);
    if (m_verdictFilter->currentIndex() != item)
        m_verdictFilter->setCurrentIndex(item); // which filters
    else
        applyFilter();
}

void Anli::showGroup(const CaseGroup &group, const QString &label)
{
    m_group = group;
    m_groupFilter->setText(label + u"  ✕"_s);
    m_groupFilter->show();
    if (m_verdictFilter->currentIndex() != 0)
        m_verdictFilter->setCurrentIndex(0); // which filters
    else
        applyFilter();
    show();
    raise();
    activateWindow();
}

void Anli::recordOutcome(Verdict verdict)
{
    if (!m_shown || (m_dirty && !saveDetail()))
        return;
    OutcomeDialog dialog(*m_shown, verdict, m_today ? m_today() : QDate::currentDate(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::optional<CaseRecord> saved = m_journal->updateFollowUp(dialog.record());
    if (!saved) {
        m_status->setText(u"结果未能记下"_s);
        if (m_prompts.warn)
            m_prompts.warn(this, Title, journalMessage(m_journal->lastError()));
        return;
    }
    m_model->replaceCase(*saved);
    showCase(saved);
    m_status->setText(u"已记下结果"_s);
    emit followUpSaved();
}

void Anli::openTongji()
{
    if (!m_tongji) {
        auto *tongji = new Tongji(m_journal->connectionName(), m_prompts, this);
        connect(tongji, &Tongji::groupChosen, this, &Anli::showGroup);
        connect(this, &Anli::followUpSaved, tongji, &Tongji::refresh);
        m_tongji = tongji;
    }
    m_tongji->show();
    m_tongji->raise();
    m_tongji->activateWindow();
}

QList<qint64> Anli::selectedIds() const
{
    QList<qint64> ids;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        ids << m_model->caseAt(index.row()).id;
    if (ids.isEmpty() && currentCase())
        ids << currentCase()->id;
    return ids;
}

void Anli::deleteSelected()
{
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty())
        return;
    const QString question = ids.size() == 1 ? u"删除案例“%1”？删除后无法恢复。"_s.arg(
                                 shownQuestion(m_model->caseAt(m_model->rowOf(ids.front())).question, 200))
                                             : u"删除所选的 %1 个案例？删除后无法恢复。"_s.arg(ids.size());
    if (!m_prompts.ask || !m_prompts.ask(this, Title, question))
        return;
    if (!m_journal->remove(ids)) {
        if (m_prompts.warn)
            m_prompts.warn(this, Title, journalMessage(m_journal->lastError()));
        return;
    }
    m_dirty = false;
    m_shown.reset();
    m_model->reload();
    showCount();
    m_status->setText(u"已删除 %1 个案例"_s.arg(ids.size()));
}

void Anli::reopenCurrent()
{
    if (m_dirty && !saveDetail())
        return;
    if (const std::optional<CaseRecord> c = currentCase())
        emit reopenRequested(*c);
}

bool Anli::exportTo(const QString &file, bool selectedOnly)
{
    if (m_dirty && !saveDetail())
        return false;
    const QList<qint64> ids = selectedOnly ? selectedIds() : QList<qint64>();
    if (selectedOnly && ids.isEmpty())
        return false;
    if (!m_journal->exportCases(file, ids, m_chartJson)) {
        if (m_prompts.warn)
            m_prompts.warn(this, Title, journalMessage(m_journal->lastError()));
        return false;
    }
    m_status->setText(u"已导出到 %1"_s.arg(file));
    return true;
}

bool Anli::importFrom(const QString &file)
{
    if (m_dirty && !saveDetail())
        return false;
    // The window waits for the import; after a moment a modal progress window
    // shows how far it has come and lets it be cancelled.
    QProgressDialog progress(u"正在读取导入文件…"_s, u"取消"_s, 0, 0, this);
    progress.setObjectName(u"importProgress"_s);
    progress.setWindowTitle(Title);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(std::numeric_limits<int>::max()); // shown below, not by its own timer
    progress.reset();
    QElapsedTimer clock;
    clock.start();
    const ImportProgress tell = [&](qint64 done, qint64 total) {
        if (total > 0) {
            progress.setMaximum(static_cast<int>(total));
            progress.setValue(static_cast<int>(done));
        }
        if (!progress.isVisible() && clock.elapsed() >= m_progressDelayMs)
            progress.show();
        if (progress.isVisible())
            QCoreApplication::processEvents();
        return !progress.wasCanceled();
    };
    const std::optional<ImportPlan> plan = m_journal->readImport(file, tell);
    if (!plan)
        return importFailed();
    bool replace = false;
    if (plan->differing > 0) {
        progress.hide();
        replace = m_prompts.ask
                  && m_prompts.ask(this, Title,
                                   u"文件中有 %1 个案例与案例库中的不同（后来改过备注、结果、应验或标签）。\n"
                                   "用文件中的替换案例库中的吗？选“否”则保留案例库中的。"_s.arg(plan->differing));
        clock.restart();
    }
    progress.setLabelText(u"正在导入…"_s);
    const std::optional<ImportReport> report = m_journal->applyImport(*plan, replace, tell);
    progress.hide();
    if (!report)
        return importFailed();
    m_model->reload();
    showCount();
    QString text
        = u"导入完成：新增 %1 个案例，跳过 %2 个已在案例库中的案例。"_s.arg(report->added).arg(report->skipped);
    if (report->replaced > 0)
        text += u"%1 个案例与案例库中的不同，已换成文件中的。"_s.arg(report->replaced);
    if (report->differing > 0)
        text += u"%1 个案例与案例库中的不同，保留了案例库中的。"_s.arg(report->differing);
    m_status->setText(text);
    if (m_prompts.inform)
        m_prompts.inform(this, Title, text);
    return true;
}

bool Anli::importFailed()
{
    const JournalFailure &failure = m_journal->lastError();
    if (failure.kind == JournalError::Cancelled) {
        m_status->setText(u"导入已取消，没有导入任何案例"_s);
        return false;
    }
    m_status->setText(u"导入失败，没有导入任何案例"_s);
    if (m_prompts.warn)
        m_prompts.warn(this, Title, journalMessage(failure));
    return false;
}

void Anli::closeEvent(QCloseEvent *event)
{
    if (m_dirty)
        saveDetail();
    QWidget::closeEvent(event);
}

} // namespace lotgrid
