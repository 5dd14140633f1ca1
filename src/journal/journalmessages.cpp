#include "journalmessages.h"

#include "journal/journal.h"

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

// A question quoted in a message: its first line, at most 20 characters.
QString quoted(const QString &question)
{
    QString q = question.section(u'\n', 0, 0);
    if (q.size() > 20 || q.size() < question.size())
        q = q.left(20) + u'…';
    return u"“%1”"_s.arg(q);
}

QString whatFailed(const JournalFailure &f)
{
    switch (f.action) {
    case JournalAction::Open:
        return u"案例库无法打开。文件保持原样；本次运行中案例库命令停用，排盘不受影响。"_s;
    case JournalAction::Read:
        return u"案例无法读取。"_s;
    case JournalAction::Save:
        return u"案例未能保存，盘面保持不变。"_s;
    case JournalAction::Update:
        return u"修改未能保存，案例保持原样。"_s;
    case JournalAction::Remove:
        return u"案例未能删除，案例库保持原样。"_s;
    case JournalAction::Export:
        return u"导出失败，没有写出文件 %1。"_s.arg(f.file);
    case JournalAction::Import:
        if (f.kind == JournalError::Cancelled)
            return u"导入已取消，没有导入任何案例。\n导入文件：%1"_s.arg(f.file);
        return u"导入失败，没有导入任何案例。\n导入文件：%1"_s.arg(f.file);
    }
    return {};
}

QString reason(const JournalFailure &f)
{
    const QString problem = f.problem ? caseProblemText(*f.problem) : QString();
    switch (f.kind) {
    case JournalError::None:
        return {};
    case JournalError::NotOpen:
        return u"案例库没有打开"_s;
    case JournalError::Busy:
        return u"案例库正被另一个运行中的程序占用，等待 %1 秒后仍未释放"_s.arg(f.waitedMs / 1000.0, 0, 'g', 3);
    case JournalError::ReadOnly:
        return u"文件或所在的文件夹是只读的"_s;
    case JournalError::Full:
        return u"磁盘已满"_s;
    case JournalError::CannotOpen:
        return u"无法打开文件（所在的文件夹不可写、文件只读或不存在）"_s;
    case JournalError::Damaged:
        return u"文件已损坏，或不是本程序的案例库"_s;
    case JournalError::Foreign:
        return u"这是另一个程序的 SQLite 数据库，不是本程序的案例库"_s;
    case JournalError::TooNew:
        return u"案例库由较新版本的六爻程序创建（格式 %1），这个版本只认得格式 %2 及以前"_s.arg(f.detail).arg(
            Journal::SchemaVersion);
    case JournalError::TooOld:
        return u"案例库还是格式 1，须先由六爻程序打开一次、升级之后才能读取"_s;
    case JournalError::NoBackup:
        return u"升级案例库的格式之前无法先备份（%1），案例库没有改动"_s.arg(f.detail);
    case JournalError::Missing:
        return u"案例库文件不存在（六爻程序还没有建立案例库）"_s;
    case JournalError::NotAFile:
        return u"这个位置是文件夹或其他非文件的东西"_s;
    case JournalError::Unreadable:
    case JournalError::FileUnreadable:
        return u"无法读取文件（%1）"_s.arg(f.detail);
    case JournalError::NoFolder:
        return u"无法创建文件夹 %1"_s.arg(f.detail);
    case JournalError::NoDriver:
        return u"缺少 Qt 的 SQLite 驱动（QSQLITE）"_s;
    case JournalError::IoError:
        return u"读写出错（%1）"_s.arg(f.detail);
    case JournalError::Database:
        return f.detail.isEmpty() ? u"未知的数据库错误"_s : f.detail;
    case JournalError::OpenedReadOnly:
        return u"案例库是以只读方式打开的，不能写入"_s;
    case JournalError::MinuteFull:
        return u"同一分钟内的案例太多"_s;
    case JournalError::NotFound:
        return u"这个案例已不在案例库中（可能已被另一个窗口删除）"_s;
    case JournalError::BadCase:
        return problem;
    case JournalError::BadOldCase:
        return u"格式 1 的案例库中第 %1 号案例%2无法升级：%3"_s.arg(f.caseNumber).arg(quoted(f.caseQuestion), problem);
    case JournalError::FileNotRegular:
        return u"这不是普通文件（而是文件夹、管道或设备），无法导入"_s;
    case JournalError::FileUnwritable:
        return f.detail;
    case JournalError::FileNotUtf8:
        return u"文件不是 UTF-8 编码的文字"_s;
    case JournalError::FileNotJson:
        return u"不是 JSON 文件（第 %1 个字节处：%2）"_s.arg(f.offset).arg(f.detail);
    case JournalError::FileTooDeep:
        return u"文件中的值嵌套超过 %1 层，不是本程序导出的案例文件"_s.arg(f.detail);
    case JournalError::FileNotExport:
        return u"不是本程序导出的案例文件（缺少 \"format\": \"lotgrid-journal\" 或 \"cases\" 列表）"_s;
    case JournalError::VersionMissing:
        return u"案例文件没有注明格式版本（\"version\"）"_s;
    case JournalError::VersionNotNumber:
        return u"案例文件的格式版本应为数字 1，文件中却是 %1"_s.arg(f.detail);
    case JournalError::VersionUnknown:
        return u"案例文件的格式版本 %1 无法识别，这个版本只认得 1"_s.arg(f.detail);
    case JournalError::BadFileCase:
        if (f.caseQuestion.isEmpty())
            return u"第 %1 个案例：%2"_s.arg(f.caseNumber).arg(problem);
        return u"第 %1 个案例%2：%3"_s.arg(f.caseNumber).arg(quoted(f.caseQuestion), problem);
    case JournalError::Cancelled:
        return u"导入在完成之前被取消"_s;
    }
    return {};
}

} // namespace

QString journalMessage(const JournalFailure &f)
{
    QString why = reason(f);
    if (f.stopped)
        why += u"；本次运行中案例库停用"_s;
    return u"%1\n案例库文件：%2\n原因：%3"_s.arg(whatFailed(f), f.path, why);
}

QString caseProblemText(const CaseProblem &p)
{
    switch (p.fault) {
    case CaseFault::LinesMissing:
        return u"六爻不全：每一爻须为 1（阳）或 0（阴）"_s;
    case CaseFault::DayStemRange:
        return u"日干超出 甲..癸"_s;
    case CaseFault::MonthBuildRange:
        return u"月建超出 子..亥"_s;
    case CaseFault::DayBuildRange:
        return u"日建超出 子..亥"_s;
    case CaseFault::MarkLineWithoutMark:
        return u"未标用神或伏神，却给了爻位"_s;
    case CaseFault::MarkLineRange:
        return u"用神或伏神的爻位须在 1..6"_s;
    case CaseFault::MarkUnknown:
        return u"用神或伏神的标记无法识别"_s;
    case CaseFault::MomentInvalid:
        return u"起卦时间不是有效的日期和时刻"_s;
    case CaseFault::MomentOutOfRange:
        return u"起卦时间 %1 超出本程序能排盘的范围（北京时间 %2 至 %3）"_s.arg(p.value, momentText(FirstChartMoment),
                                                                                momentText(LastChartMoment));
    case CaseFault::TimesInvalid:
        return u"保存或修改时间无效"_s;
    case CaseFault::SexUnknown:
        return u"性别须为“男”“女”或空，而不是“%1”"_s.arg(p.value);
    case CaseFault::VerdictUnknown:
        return u"应验情况无法识别"_s;
    case CaseFault::TagEmpty:
        return u"标签不能为空"_s;
    case CaseFault::TagWithSeparator:
        return u"标签“%1”含有空格或分隔符"_s.arg(p.value);
    case CaseFault::TagDuplicate:
        return u"标签“%1”重复"_s.arg(p.value);
    case CaseFault::NotAnObject:
        return u"不是一个案例对象"_s;
    case CaseFault::FieldMissing:
        return u"缺少字段“%1”"_s.arg(p.field);
    case CaseFault::FieldNotText:
        return u"字段“%1”应为文字"_s.arg(p.field);
    case CaseFault::FieldNotTextList:
        return u"字段“%1”应为文字的列表"_s.arg(p.field);
    case CaseFault::BadTime:
        return u"字段“%1”不是有效的时间（如 2026-12-07T00:30:00.000Z）"_s.arg(p.field);
    case CaseFault::BadLineKey:
        return u"字段“%1”应为六个 0 或 1（初爻在前），而不是“%2”"_s.arg(p.field, p.value);
    case CaseFault::BadMomentText:
        return u"字段“%1”不是有效的起卦时间（如 2026-12-07 08:30）：“%2”"_s.arg(p.field, p.value);
    case CaseFault::BadName:
        return u"字段“%1”的值“%2”无法识别"_s.arg(p.field, p.value);
    case CaseFault::BadMark:
        return u"字段“mark”应为 {\"kind\": \"用神\" 或 \"伏神\", \"line\": 1..6}"_s;
    case CaseFault::BadVerdict:
        return u"字段“%1”应为“应验”“不验”或“未定”，而不是“%2”"_s.arg(p.field, p.value);
    case CaseFault::BadDate:
        return u"字段“%1”应为日期（如 2026-12-07），而不是“%2”"_s.arg(p.field, p.value);
    case CaseFault::BadSchool:
        return u"字段“school”应为 {\"school\": \"增删卜易\"、\"卜筮正宗\" 或 \"通行\", \"options\": {…}}"_s;
    }
    return {};
}

QString castProblem(const CastInput &cast)
{
    const std::optional<CaseProblem> p = checkCast(cast);
    return p ? caseProblemText(*p) : QString();
}

} // namespace lotgrid
