#pragma once
// What the command line asks for: the built-in game, a player's folder of
// levels, a folder chooser, the help or the version, or a usage error.

#include <QString>
#include <QStringList>

namespace zw {

struct CommandLine {
    enum class Action { Play, ChooseFolder, Help, Version, UsageError };
    Action action = Action::Play;
    QString folder;  // Play: empty for the built-in levels
    QString message; // Help, Version: the text for stdout; UsageError: the line for stderr
};

// args without the program's name. Qt's own options are passed over, for
// QApplication to take.
CommandLine readCommandLine(const QStringList& args);

} // namespace zw
