#pragma once
// Opens a web address with the desktop's default browser. Failures are ignored.

#include <QString>

namespace zw::platform {

void openInBrowser(const QString& url);

} // namespace zw::platform
