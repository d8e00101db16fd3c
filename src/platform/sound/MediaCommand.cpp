#include "platform/sound/MediaCommand.h"

#include <QDir>

namespace zw::platform {

namespace {

MediaCommand::Verb verbOf(const QString& word)
{
    if (word.compare(QLatin1String("play"), Qt::CaseInsensitive) == 0)
        return MediaCommand::Verb::Play;
    if (word.compare(QLatin1String("stop"), Qt::CaseInsensitive) == 0)
        return MediaCommand::Verb::Stop;
    return MediaCommand::Verb::Ignored;
}

// A quoted name may hold blanks; the quotes are not part of it.
QString unquoted(const QString& name)
{
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        return name.mid(1, name.size() - 2);
    return name;
}

} // namespace

MediaCommand parseMediaCommand(const QString& command, const QString& programDirectory)
{
    const QString line = command.trimmed();
    qsizetype blank = 0;
    while (blank < line.size() && !line.at(blank).isSpace())
        ++blank;
    if (blank == line.size())
        return {};

    const MediaCommand::Verb verb = verbOf(line.left(blank));
    const QString name = unquoted(line.mid(blank + 1).trimmed());
    if (verb == MediaCommand::Verb::Ignored || name.isEmpty())
        return {};

    // An absolute name stays as it is; any other is taken from the program's directory.
    const QString path = QDir::cleanPath(QDir(programDirectory).absoluteFilePath(name));
    return {verb, path};
}

} // namespace zw::platform
