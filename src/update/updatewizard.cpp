#include "update/updatewizard.h"

using namespace Qt::StringLiterals;

namespace lotgrid {

UpdateWizard::UpdateWizard(UpdateSettings settings, QWidget *parent)
    : QDialog(parent)
    , m_settings(std::move(settings))
{
    setObjectName(u"Upload"_s);
    setWindowTitle(u"检查更新"_s);
}

} // namespace lotgrid
