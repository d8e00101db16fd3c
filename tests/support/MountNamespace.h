#pragma once
// Tests that mount a small file system of their own (a full one, a bound
// file) do it in a mount namespace of their own with `unshare -m`, which
// needs root and a kernel that allows it.

#include <QProcess>
#include <QString>

#include <unistd.h>

namespace zw::test {

// Why the test cannot make a mount namespace of its own, or nothing when it can.
inline QString whyNoMountNamespace()
{
    if (::geteuid() != 0)
        return QStringLiteral("needs root to mount in a namespace of the test's own");
    QProcess probe;
    probe.start(QStringLiteral("unshare"), {"-m", "true"});
    if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
        return QStringLiteral("this machine refuses root a mount namespace (unshare -m: %1)")
            .arg(QString::fromLocal8Bit(probe.readAllStandardError()).trimmed());
    return {};
}

} // namespace zw::test
