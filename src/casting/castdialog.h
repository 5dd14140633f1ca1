#pragma once

#include "chart/categories.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lotgrid {

// The dialog `Tools` of the automatic cast: the question and the querent's
// sex, both required. "确定" checks them and, when both are given, emits
// confirmed(); the dialog stays open until whoever handles that closes it.
// "取消", Escape and the close box just close it.
class CastDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CastDialog(QWidget *parent = nullptr);

    QLineEdit *TextWHS;    // "卜问何事："
    QComboBox *Combo1;     // "性      别：" "男" / "女", nothing chosen at first
    QPushButton *Command1; // "确定", the default button
    QPushButton *Command2; // "取消"

    void Command1_Click();
    // The sex the sheet already holds is taken, and not asked again: its field
    // hides. Without one the field stays, to be chosen.
    void takeSex(std::optional<Sex> sex);

    // What the dialog holds: the question as typed, the sex chosen.
    QString question() const;
    std::optional<Sex> sex() const;

signals:
    void confirmed();
};

} // namespace lotgrid
