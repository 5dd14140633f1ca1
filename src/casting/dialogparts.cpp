#include "casting/dialogparts.h"

#include "widgets/chartcolours.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace lotgrid {

void setUpMessage(QLabel *message)
{
    message->setObjectName(u"message"_s);
    followDesktopColours(message, [message](const ChartColours &colours) {
        QPalette p = message->palette();
        p.setColor(QPalette::WindowText, colours.ink(Ink::Alert));
        message->setPalette(p);
    });
}

QHBoxLayout *okCancelRow(QDialog *dialog, QPushButton *ok, QPushButton *cancel)
{
    ok->setObjectName(u"ok"_s);
    ok->setDefault(true);
    cancel->setObjectName(u"cancel"_s);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}

} // namespace lotgrid
