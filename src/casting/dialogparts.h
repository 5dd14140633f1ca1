#pragma once
// Parts the hand-cast dialogs share: the red message line and the 确定/取消 row.

#include <array>

class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace lotgrid {

// Names `message` "message" and writes it in red, light or dark as the desktop is: the line
// that says what stops the cast.
void setUpMessage(QLabel *message);

// Names `ok` "ok" (the default button) and `cancel` "cancel", which rejects
// `dialog`, and sets them at the right of a row.
QHBoxLayout *okCancelRow(QDialog *dialog, QPushButton *ok, QPushButton *cancel);

} // namespace lotgrid
