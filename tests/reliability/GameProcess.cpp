#include "GameProcess.h"

#include <QRegularExpression>

namespace zw::reliability {

namespace {
constexpr int MostMs = 120000; // a run that takes longer than this has hung
} // namespace

QString scriptedGamePath() { return QStringLiteral(SCRIPTED_GAME_PATH); }

QString GameRun::summaryText(const QString& key) const
{
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1String("done ")))
            continue;
        for (const QString& pair : line.mid(5).split(QLatin1Char(' ')))
            if (pair.startsWith(key + QLatin1Char('=')))
                return pair.mid(key.size() + 1);
    }
    return {};
}

std::optional<SaveSet> GameRun::lastSave() const
{
    std::optional<SaveSet> underWay, written;
    for (const QString& line : lines) {
        if (const auto set = parseSaving(line))
            underWay = set;
        else if (line == QLatin1String("saved"))
            written = underWay;
    }
    return written;
}

QProcessEnvironment gameEnvironment(const QString& configHome)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

GameRun runGame(const QStringList& args, const QProcessEnvironment& environment, const QString& program,
                std::function<void()> inChild)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(program.isEmpty() ? scriptedGamePath() : program, args);
    GameRun run;
    if (!process.waitForStarted(MostMs)) {
        run.errors = process.errorString();
        return run;
    }
    if (!process.waitForFinished(MostMs)) {
        process.kill();
        process.waitForFinished();
        run.errors = QStringLiteral("hung; ");
    }
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.exitCode = process.exitCode();
    run.lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    run.errors += QString::fromUtf8(process.readAllStandardError());
    return run;
}

LoadReport loadInNewStart(const QProcessEnvironment& environment, const QString& program,
                          std::function<void()> inChild)
{
    LoadReport report;
    report.run = runGame({QStringLiteral("load")}, environment, program, std::move(inChild));
    long values[4];
    int found = 0, missing = 0;
    for (const QString& line : report.run.lines) {
        const QRegularExpressionMatch key = QRegularExpression(QStringLiteral("^Saw([1-4])(=(.*)| missing)$")).match(line);
        if (key.hasMatch()) {
            if (key.captured(3).isNull() && key.captured(2) == QLatin1String(" missing")) {
                ++missing;
                continue;
            }
            bool ok = false;
            values[key.captured(1).toInt() - 1] = key.captured(3).toLong(&ok);
            found += ok;
        }
        const QRegularExpressionMatch accepted = QRegularExpression(QStringLiteral("^accepted (\\d+) (\\d+)$")).match(line);
        if (accepted.hasMatch()) {
            report.accepted = true;
            report.level = accepted.captured(1).toLong();
            report.deaths = accepted.captured(2).toLong();
        }
    }
    if (found == 4)
        report.stored = SaveSet{values[0], values[1], values[2], values[3]};
    report.nothingStored = missing == 4;
    return report;
}

std::optional<SaveSet> parseSaving(const QString& line)
{
    const QStringList parts = line.split(QLatin1Char(' '));
    if (parts.size() != 5 || parts[0] != QLatin1String("saving"))
        return std::nullopt;
    long values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i + 1].toLong(&ok);
        if (!ok)
            return std::nullopt;
    }
    return SaveSet{values[0], values[1], values[2], values[3]};
}

} // namespace zw::reliability
