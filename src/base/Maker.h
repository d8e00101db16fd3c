#pragma once
// Who made the game and where its home page is. The domain is a reserved
// example domain, so the link never opens somebody else's site.

#include <QString>

namespace zw::maker {

inline const QString Name = QStringLiteral("Korvel Software");
inline const QString Host = QStringLiteral("www.korvel.example");
inline const QString HomePage = QStringLiteral("http://www.korvel.example/");

} // namespace zw::maker
