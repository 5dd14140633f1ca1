#pragma once

class QCoreApplication;

namespace lotgrid {

// Installs Qt's own Chinese (zh_CN) translations on `app`, whatever the system
// locale, so that standard buttons (是/否/确定) and the context menus of text
// fields (撤销/复制/粘贴) read in the program's language. Looks in Qt's
// translations folder (Debian: qt6-translations-l10n). Returns false, leaving
// Qt's English texts, when they are not installed.
bool installChineseQtTranslations(QCoreApplication &app);

} // namespace lotgrid
