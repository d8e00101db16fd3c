#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace zw::platform {

void openInBrowser(const QString& url)
{
    // Whether a browser came up is not the game's business: the link just
    // tries again the next time the player touches it.
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace zw::platform
