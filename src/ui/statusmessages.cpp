#include "ui/statusmessages.h"

#include "journal/caserecord.h"
#include "sheet/chartdocument.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {
constexpr int MessageMs = 8000; // long enough to read a path
}

StatusMessages::StatusMessages(QMainWindow &window, const ChartDocument &document)
    : QObject(&window)
    , m_document(document)
    , m_bar(window.statusBar())
    , m_hint(new QLabel(m_bar))
{
    setObjectName(u"zhuangtaiMessages"_s);
    m_bar->setObjectName(u"zhuangtai"_s);
    m_hint->setObjectName(u"zhuangtaiHint"_s);
    m_hint->setTextFormat(Qt::PlainText);
    m_bar->addWidget(m_hint, 1);
    connect(&m_document, &ChartDocument::changed, this, &StatusMessages::showHint);
    showHint();
}

QString StatusMessages::hint() const
{
    const CastInput &cast = m_document.cast();
    if (linesStand(cast) && !cast.dayStem)
        return u"尚无日干：点“按时间排盘”，按起卦时间填入日干和月建日建。"_s;
    return {};
}

void StatusMessages::say(const QString &message)
{
    m_bar->showMessage(message, MessageMs);
}

void StatusMessages::showHint()
{
    m_hint->setText(hint());
}

} // namespace lotgrid
