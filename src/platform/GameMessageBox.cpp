#include "platform/GameMessageBox.h"

#include <QApplication>

namespace zw::platform {

QMessageBox::Icon iconForStyle(int style)
{
    // The icon lives in bits 4 to 6 of the style; the low bits choose
    // buttons, and every box of the game has just OK.
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

std::unique_ptr<QMessageBox> makeGameMessageBox(const QString& text, QMessageBox::Icon icon)
{
    auto box = std::make_unique<QMessageBox>(icon, MessageBoxTitle, text, QMessageBox::Ok,
                                             QApplication::activeWindow());
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

void showGameMessageBox(const QString& text, QMessageBox::Icon icon)
{
    makeGameMessageBox(text, icon)->exec();
}

} // namespace zw::platform
