#pragma once
// The game's message boxes: modal, titled with the game's name, one OK
// button. Used for the game's own messages and for run-time error reports.

#include <QMessageBox>
#include <QString>
#include <memory>

namespace zw::platform {

inline const QString MessageBoxTitle = QStringLiteral("Zigwalk");

// The icon a message-box style value asks for: 16 critical, 32 question,
// 48 warning (exclamation), 64 information; any other value none.
QMessageBox::Icon iconForStyle(int style);

// A box ready to be shown, above the active window.
std::unique_ptr<QMessageBox> makeGameMessageBox(const QString& text, QMessageBox::Icon icon);

// Shows the box and waits until the player closes it.
void showGameMessageBox(const QString& text, QMessageBox::Icon icon);

} // namespace zw::platform
