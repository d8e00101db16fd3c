// The background tune: music.mid beside the program, optional. The game only
// sends "Play" and "Stop" and remembers what the player asked for; it never
// asks the media interface whether the tune is actually playing. The file is
// looked for afresh each time, so adding or removing it while the game runs
// counts.

#include "game/Game.h"

namespace zw {

namespace {

const QString PlayCommand = QStringLiteral("Play music.mid");
const QString StopCommand = QStringLiteral("Stop music.mid");

} // namespace

bool Game::musicFileExists()
{
    return platform_.fileExists(platform_.programDirectory() + QStringLiteral("/music.mid"));
}

void Game::startMusic()
{
    if (musicFileExists()) {
        platform_.mciExecute(PlayCommand);
        state_.MusicOn = True;
    }
}

// Sent whether or not the player switched the music off: stopping a silent
// tune is harmless, and the flag may not match what is playing.
void Game::stopMusic()
{
    if (musicFileExists())
        platform_.mciExecute(StopCommand);
}

// Clicking the deaths line. The flag flips even without a file, so a file
// added later starts on the first click that switches the music on.
void Game::Label2_Click()
{
    if (ended_)
        return;
    GameState& s = state_;
    s.MusicOn = static_cast<flag16>(~s.MusicOn);
    if (musicFileExists() && s.MusicOn == True)
        platform_.mciExecute(PlayCommand);
    if (musicFileExists() && s.MusicOn == False)
        platform_.mciExecute(StopCommand);
}

} // namespace zw
