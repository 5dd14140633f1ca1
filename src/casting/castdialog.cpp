#include "casting/castdialog.h"

#include "widgets/chartcolours.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lotgrid {

namespace {

QLabel *requiredMark(QWidget *parent)
{
    auto *mark = new QLabel(u"*"_s, parent);
    followDesktopColours(mark, [mark](const ChartColours &c) {
        QPalette p = mark->palette();
        p.setColor(QPalette::WindowText, c.ink(Ink::Alert));
        mark->setPalette(p);
    });
    return mark;
}

} // namespace

QString CastDialog::question() const
{
    return TextWHS->text();
}

std::optional<Sex> CastDialog::sex() const
{
    return Combo1->currentIndex() >= 0 ? std::optional(static_cast<Sex>(Combo1->currentIndex())) : std::nullopt;
}

CastDialog::CastDialog(QWidget *parent)
    : QDialog(parent)
    , TextWHS(new QLineEdit(this))
    , Combo1(new QComboBox(this))
    , Command1(new QPushButton(u"确定"_s, this))
    , Command2(new QPushButton(u"取消"_s, this))
{
    setObjectName(u"Tools"_s);
    setWindowTitle(u"六爻之电脑卜卦"_s);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    TextWHS->setObjectName(u"TextWHS"_s);
    TextWHS->setMinimumWidth(TextWHS->fontMetrics().horizontalAdvance(u'卜') * 18);
    Combo1->setObjectName(u"Combo1"_s);
    Combo1->addItems({u"男"_s, u"女"_s});
    Combo1->setCurrentIndex(-1);
    // Wide enough to read as a choice while nothing is chosen.
    Combo1->setMinimumWidth(Combo1->fontMetrics().horizontalAdvance(u'男') * 5);
    Command1->setObjectName(u"Command1"_s);
    Command1->setDefault(true);
    Command2->setObjectName(u"Command2"_s);

    auto *fields = new QGridLayout;
    auto *questionLabel = new QLabel(u"卜问何事："_s, this);
    questionLabel->setBuddy(TextWHS);
    fields->addWidget(questionLabel, 0, 0);
    fields->addWidget(TextWHS, 0, 1);
    fields->addWidget(requiredMark(this), 0, 2);
    auto *sexLabel = new QLabel(u"性      别："_s, this);
    sexLabel->setObjectName(u"sexLabel"_s);
    sexLabel->setBuddy(Combo1);
    fields->addWidget(sexLabel, 1, 0);
    fields->addWidget(Combo1, 1, 1, Qt::AlignLeft);
    QLabel *sexMark = requiredMark(this);
    sexMark->setObjectName(u"sexMark"_s);
    fields->addWidget(sexMark, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"以下是必填项："_s, this));
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Command1, &QPushButton::clicked, this, &CastDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void CastDialog::takeSex(std::optional<Sex> sex)
{
    Combo1->setCurrentIndex(sex ? static_cast<int>(*sex) : -1);
    for (QWidget *w :
         {static_cast<QWidget *>(Combo1), findChild<QWidget *>(u"sexLabel"_s), findChild<QWidget *>(u"sexMark"_s)})
        w->setVisible(!sex);
}

void CastDialog::Command1_Click()
{
    if (Combo1->currentText().isEmpty() || TextWHS->text().isEmpty()) {
        QMessageBox::information(this, u"提示"_s, u"您还有所需选项未填写！"_s, QMessageBox::Ok);
        return;
    }
    emit confirmed();
}

} // namespace lotgrid
