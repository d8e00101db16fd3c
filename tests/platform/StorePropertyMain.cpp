// The store's save property (fuzz/fuzz_store.cpp) in every test run, without
// libFuzzer: the seed stores, then stores put together at random from the
// pieces that matter to a line reader (section names, the game's keys,
// every line ending, quotes, backslashes, blanks, a byte order mark) and
// from random bytes. Any input that breaks the property aborts with it.

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const std::string& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

} // namespace

int main(int argc, char* argv[])
{
    int seeds = 0;
    if (argc > 1) {
        const QDir folder(QString::fromLocal8Bit(argv[1]));
        for (const QString& name : folder.entryList(QDir::Files)) {
            QFile file(folder.filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                run(file.readAll().toStdString());
                ++seeds;
            }
        }
    }

    static const std::vector<std::string> pieces = {
        "[SaveGame]", "[SaveGame-00ff00ff00ff00ff]", "[Other]", "[", "]", "Saw1", "Saw2", "Saw3", "Saw4",
        "saw1", "=", "==", "\n", "\r\n", "\r", "\n\r", " ", "\t", "\"", "\\", ";", "#", "7", "",
        "\xEF\xBB\xBF", "@", "%41", "x", "\0",
    };
    std::mt19937 random(20261211);
    const int rounds = 300000;
    for (int round = 0; round < rounds; ++round) {
        std::string input(3, '\0');
        for (char& c : input)
            c = char(random());
        const int length = int(random() % 40);
        for (int i = 0; i < length; ++i) {
            if (random() % 8 == 0)
                input += char(random());
            else
                input += pieces[random() % pieces.size()];
        }
        run(input);
    }
    std::printf("%d passed, 0 failed\n", seeds + rounds);
    return 0;
}
