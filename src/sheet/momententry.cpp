#include "sheet/momententry.h"

#include "calendar/cities.h"
#include "calendar/zones.h"
#include "chart/guaname.h"
#include "qtcore/textconv.h"
#include "sheet/chartdocument.h"
#include "sheet/chartsheet.h"
#include "sheet/chartsteps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// The most dates the list shows; the nearest come first.
constexpr std::size_t ListedDates = 500;

QString zoneErrorText(ZoneError e)
{
    switch (e) {
    case ZoneError::NoDatabase:
        return u"本程序的这个版本没有时区数据库，只能按北京时间起卦。"_s;
    case ZoneError::UnknownZone:
        return u"时区数据库里没有这个时区。"_s;
    case ZoneError::OutOfRange:
        return u"换算后的时间超出历表范围（1900-01-31 至 2100-12-31）。"_s;
    case ZoneError::InvalidMoment:
        return u"这个时间在该时钟上无法换算。"_s;
    }
    return {};
}

QString momentWords(const Moment &m)
{
    return u"%1-%2-%3 %4:%5"_s.arg(m.date.year, 4, 10, QChar(u'0'))
        .arg(m.date.month, 2, 10, QChar(u'0'))
        .arg(m.date.day, 2, 10, QChar(u'0'))
        .arg(m.hour, 2, 10, QChar(u'0'))
        .arg(m.minute, 2, 10, QChar(u'0'));
}

} // namespace

MomentEntry::MomentEntry(ChartDocument &document, ChartSheet &sheet, ChartSteps &steps, std::function<QDate()> today,
                         QWidget *window)
    : QObject(window)
    , m_document(document)
    , m_sheet(sheet)
    , m_steps(steps)
    , m_today(std::move(today))
    , m_window(window)
{
    connect(sheet.shiqu, &QComboBox::activated, this, &MomentEntry::shiqu_Click);
    connect(sheet.chengshi, &QComboBox::activated, this, &MomentEntry::chengshi_Click);
    connect(sheet.biaozhunshi, &QCheckBox::clicked, this, [this](bool on) {
        ChartSteps::Scope pass(m_steps);
        m_document.setStandardTime(on);
    });
    connect(sheet.ganzhi, &QLineEdit::returnPressed, this, &MomentEntry::ganzhi_Enter);
    connect(sheet.guaming, &QLineEdit::returnPressed, this, &MomentEntry::guaming_Enter);
    connect(&document, &ChartDocument::momentRefused, this,
            [this](ZoneError e) { tell(u"起卦时间"_s, zoneErrorText(e)); });
}

void MomentEntry::tell(const QString &title, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, m_window);
    box->setObjectName(u"momentMessage"_s);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// The drop-downs back at what the document holds.
void MomentEntry::showAgain()
{
    m_sheet.showDocument(m_document);
}

void MomentEntry::shiqu_Click(int index)
{
    ChartSteps::Scope pass(m_steps);
    if (index == m_sheet.shiqu->count() - 1) { // 其他…
        if (!haveZoneDatabase()) {
            showAgain();
            tell(u"时区"_s, zoneErrorText(ZoneError::NoDatabase));
            return;
        }
        auto *ask = new QInputDialog(m_window);
        ask->setObjectName(u"qitashiqu"_s);
        ask->setAttribute(Qt::WA_DeleteOnClose);
        ask->setWindowTitle(u"其他时区"_s);
        ask->setLabelText(u"时区（IANA 名称，如 Europe/Rome）："_s);
        QStringList names;
        for (const std::string &n : zoneNames())
            names << QString::fromStdString(n);
        ask->setComboBoxItems(names);
        ask->setComboBoxEditable(true);
        connect(ask, &QInputDialog::textValueSelected, this, [this](const QString &name) {
            ChartSteps::Scope answered(m_steps);
            if (!isKnownZone(name.trimmed().toStdString()))
                tell(u"时区"_s, u"时区数据库里没有「%1」。"_s.arg(name));
            else
                m_document.setZone(name.trimmed().toStdString());
            showAgain();
        });
        connect(ask, &QInputDialog::rejected, this, &MomentEntry::showAgain);
        ask->open();
        return;
    }
    if (!m_document.setZone(m_sheet.shiqu->itemData(index).toString().toStdString()))
        showAgain();
}

void MomentEntry::chengshi_Click(int index)
{
    ChartSteps::Scope pass(m_steps);
    if (index == 0) {
        m_document.setPlace(std::nullopt, {});
        return;
    }
    if (index == m_sheet.chengshi->count() - 1) { // 输入经度…
        auto *ask = new QInputDialog(m_window);
        ask->setObjectName(u"jingdu"_s);
        ask->setAttribute(Qt::WA_DeleteOnClose);
        ask->setWindowTitle(u"真太阳时"_s);
        ask->setLabelText(u"经度（东经为正，西经为负）："_s);
        ask->setInputMode(QInputDialog::DoubleInput);
        ask->setDoubleRange(-180, 180);
        ask->setDoubleDecimals(2);
        ask->setDoubleValue(m_document.clock().longitude.value_or(120.0));
        connect(ask, &QInputDialog::doubleValueSelected, this, [this](double degrees) {
            ChartSteps::Scope answered(m_steps);
            m_document.setPlace(degrees, {});
            showAgain();
        });
        connect(ask, &QInputDialog::rejected, this, &MomentEntry::showAgain);
        ask->open();
        return;
    }
    const QVariant data = m_sheet.chengshi->itemData(index);
    bool typed = false;
    const double degrees = data.toDouble(&typed);
    if (data.typeId() == QMetaType::Double && typed) {
        m_document.setPlace(degrees, {});
    } else if (const auto city = findCity(data.toString().toStdU16String())) {
        if (!m_document.setPlace(city->longitude, std::u16string(city->name)))
            showAgain();
    }
}

void MomentEntry::guaming_Enter()
{
    GuaNameError e;
    const auto lines = linesFromGuaName(m_sheet.guaming->text().toStdU16String(), e);
    if (!lines) {
        tell(u"卦名"_s, qs(guaNameErrorText(e)));
        return;
    }
    ChartSteps::Scope pass(m_steps);
    m_document.setLines(*lines);
}

void MomentEntry::ganzhi_Enter()
{
    constexpr int First = 1900, Last = 2100;
    GanzhiError e;
    const auto query = parseGanzhi(m_sheet.ganzhi->text().toStdU16String(), e);
    const QDate today = m_today ? m_today() : QDate::currentDate();
    m_matches = query ? findGanzhi(*query, m_document.cast().dayBoundary, First, Last,
                                   {today.year(), today.month(), today.day()}, e)
                      : std::vector<GanzhiMatch>{};
    if (m_matches.empty()) {
        tell(u"干支"_s, qs(ganzhiErrorText(e, First, Last)));
        return;
    }
    m_query = *query;

    auto *dialog = new QDialog(m_window);
    dialog->setObjectName(u"GanzhiDialog"_s);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(u"干支查日期"_s);
    auto *layout = new QVBoxLayout(dialog);
    auto *head
        = new QLabel(u"%1：%2—%3年间共%4处，由近及远%5："_s.arg(m_sheet.ganzhi->text().trimmed())
                         .arg(First)
                         .arg(Last)
                         .arg(m_matches.size())
                         .arg(m_matches.size() > ListedDates ? u"（列出最近%1处）"_s.arg(ListedDates) : QString()),
                     dialog);
    head->setTextFormat(Qt::PlainText);
    layout->addWidget(head);
    auto *list = new QListWidget(dialog);
    list->setObjectName(u"ganzhiList"_s);
    for (std::size_t i = 0; i < std::min(m_matches.size(), ListedDates); ++i) {
        const GanzhiMatch &m = m_matches[i];
        const Pillars &p = m.pillars;
        QString pillars = qs(sexagenaryName(p.year)) + u"年 "_s + qs(sexagenaryName(p.month)) + u"月"_s;
        if (m_query.day || m_query.hour)
            pillars += u" "_s + qs(sexagenaryName(p.day)) + u"日"_s;
        if (m_query.hour)
            pillars += u" "_s + qs(sexagenaryName(p.hour)) + u"时"_s;
        list->addItem(momentWords(m.from) + u" — "_s + momentWords(m.to) + u"  "_s + pillars);
    }
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto *noDate = new QCheckBox(u"不指定日期（只按月建、日辰排盘，无应期日期）"_s, dialog);
    noDate->setObjectName(u"budingriqi"_s);
    noDate->setEnabled(m_query.month && m_query.day && m_query.day->stem);
    layout->addWidget(noDate);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, dialog, &QDialog::accept);
    connect(dialog, &QDialog::accepted, this, [this, list, noDate] {
        pickGanzhi(noDate->isChecked() ? std::nullopt : std::optional(list->currentRow()));
    });
    dialog->resize(dialog->sizeHint().width() + 120, 420);
    dialog->open();
}

void MomentEntry::pickGanzhi(std::optional<int> row)
{
    ChartSteps::Scope pass(m_steps);
    if (!row) {
        const auto day = sexagenaryOf(*m_query.day->stem, m_query.day->branch);
        m_document.setMoment(std::nullopt);
        m_document.setDayStem(day->stem());
        m_document.setMonthBuild(m_query.month->branch);
        m_document.setDayBuild(day->branch());
        return;
    }
    if (*row < 0 || static_cast<std::size_t>(*row) >= m_matches.size())
        return;
    // The date is in China Standard Time; the field takes it on the document's clock.
    if (m_document.setInstant(chartMomentOf(m_matches[static_cast<std::size_t>(*row)], m_query)))
        m_document.followMoment();
}

} // namespace lotgrid
