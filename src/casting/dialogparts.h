#pragma once
// Parts the hand-cast dialogs share: the red message line and the 确定/取消 row.

#include <array>

class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace lotgrid {

// The places of lines 1..6 as the dialogs name them.
inline constexpr std::array<const char16_t *, 6> LinePlaces{u"初爻", u"二爻", u"三爻", u"四爻", u"五爻", u"上爻"};

// Names `message` "message" and writes it in red, light or dark as the desktop is: the line
// that says what stops the cast.
void setUpMessage(QLabel *message);

// Names `ok` "ok" (the default button) and `cancel` "cancel", which rejects
// `dialog`, and sets them at the right of a row.
QHBoxLayout *okCancelRow(QDialog *dialog, QPushButton *ok, QPushButton *cancel);

} // namespace lotgrid
