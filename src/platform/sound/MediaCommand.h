#pragma once
// Reading the one-line media commands the game sends for its tune,
// "Play music.mid" and "Stop music.mid". The verb is matched without regard
// to case; the rest of the line names the file, optionally in double quotes.
// A name without a directory is looked for beside the program, so the tune
// that the game found there is the one that plays whatever the current
// directory is.

#include <QString>

namespace zw::platform {

struct MediaCommand {
    enum class Verb { Ignored, Play, Stop };

    Verb verb = Verb::Ignored;
    QString path; // absolute path of the named file; empty when ignored

    bool operator==(const MediaCommand&) const = default;
};

MediaCommand parseMediaCommand(const QString& command, const QString& programDirectory);

} // namespace zw::platform
