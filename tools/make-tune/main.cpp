// Writes the game's background tune as a MIDI file: zigwalk-make-tune <path>.
// The build puts it beside the game as music.mid.

#include "Tune.h"

#include <cstdio>
#include <exception>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <music.mid>\n", argv[0]);
        return 2;
    }
    try {
        const zw::midi::Bytes bytes = zw::tune::compose();
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
