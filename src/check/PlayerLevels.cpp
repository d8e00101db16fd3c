#include "check/PlayerLevels.h"

#include "base/Levels.h"
#include "check/KeyColour.h"
#include "base/RegularFile.h"
#include "check/PictureBoxes.h"
#include "check/FormatBounds.h"
#include "check/PictureFile.h"
#include "check/PrintableName.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zw::check {

QString say(Language lang, const char* czech, const char* english)
{
    return QString::fromUtf8(lang == Language::Czech ? czech : english);
}

namespace {

QString colourWord(Language lang, Key k)
{
    if (lang == Language::English)
        return colourName(k);
    switch (k) {
    case Key::Info: return QStringLiteral("černá");
    case Key::Continue: return QStringLiteral("světle šedá");
    case Key::NewGame: return QStringLiteral("šedá");
    case Key::Quit: return QStringLiteral("tmavě šedá");
    case Key::Link: return QStringLiteral("oranžová");
    case Key::Start: return QStringLiteral("červená");
    case Key::Wall: return QStringLiteral("bílá");
    case Key::Goal: return QStringLiteral("zelená");
    case Key::Menu: return QStringLiteral("tmavě červená");
    case Key::Inert: break;
    }
    return QStringLiteral("mimo klíč");
}

QString hexOf(QRgb c) { return QStringLiteral("#%1").arg(c & 0xFFFFFFu, 6, 16, QLatin1Char('0')); }

// "12 px, first at (3,4)" in the player's language.
QString countFirst(Language lang, std::size_t count, QPoint first)
{
    return say(lang, "%1 px, první na %2", "%1 px, first at %2").arg(count).arg(pointText(first));
}

void addSizeFinding(Findings& out, Language lang, QSize found)
{
    out.add(say(lang, "velikost", "size"), say(lang, "má být %1 × %2, je %3 × %4", "expected %1 x %2, found %3 x %4")
                                              .arg(PictureWidth)
                                              .arg(PictureHeight)
                                              .arg(found.width())
                                              .arg(found.height()));
}

} // namespace

// Why a file or folder cannot be read, in the player's language: the
// system's own texts are English whatever the game speaks.
QString cannotRead(Language lang, int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return say(lang, "nelze číst (chybí oprávnění)", "cannot be read (no permission)");
    case ELOOP: return say(lang, "nelze číst: odkazy vedou v kruhu", "cannot be read: its links lead round in a circle");
    case ENOENT:
    case ENOTDIR: return say(lang, "neexistuje", "does not exist");
    case ENAMETOOLONG: return say(lang, "nelze číst: příliš dlouhé jméno", "cannot be read: the name is too long");
    case EIO: return say(lang, "nelze číst: chyba disku", "cannot be read: a disk error");
    default: return say(lang, "nelze číst (chyba systému č. %1)", "cannot be read (system error %1)").arg(error);
    }
}

QString notRead(Language lang, RegularFile::State state, int error, qint64 limit)
{
    switch (state) {
    case RegularFile::Read: break;
    case RegularFile::Missing:
    case RegularFile::Unreadable: return cannotRead(lang, error);
    case RegularFile::NotRegular: return say(lang, "není obyčejný soubor", "not a regular file");
    case RegularFile::TooLarge: return say(lang, "příliš velký soubor (nejvýš %1 B)", "file too large (at most %1 bytes)").arg(limit);
    }
    return {};
}

namespace {

void checkOpaque(const QImage& image, Language lang, Findings& out)
{
    if (!image.hasAlphaChannel())
        return;
    std::size_t count = 0;
    QPoint first;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255 && count++ == 0)
                first = {x, y};
    if (count)
        out.add(say(lang, "neprůhlednost", "opaque"),
                say(lang, "pixely, které nejsou zcela neprůhledné: %1", "pixels not fully opaque: %1")
                    .arg(countFirst(lang, count, first)),
                first);
}

void checkColours(const KeyMap& keys, Language lang, Findings& out)
{
    const std::vector<QPoint> inert = keys.pixelsOf(Key::Inert);
    if (!inert.empty()) {
        const QPoint p = inert.front();
        out.add(say(lang, "barvy", "key colours"),
                say(lang, "barva mimo klíč (%1): %2", "colour outside the key (%1): %2")
                    .arg(hexOf(keys.rgb(p.x(), p.y())), countFirst(lang, inert.size(), p)),
                p);
    }
    // The menu's items would continue, start a new game or quit from a maze.
    for (Key k : {Key::Continue, Key::NewGame, Key::Quit}) {
        const std::vector<QPoint> found = keys.pixelsOf(k);
        if (!found.empty())
            out.add(say(lang, "barvy", "key colours"),
                    say(lang, "%1 do bludiště nepatří: %2", "%1 does not belong in a maze: %2")
                        .arg(colourWord(lang, k), countFirst(lang, found.size(), found.front())),
                    found.front());
    }
    if (keys.count(Key::Wall) == 0)
        out.add(say(lang, "pozadí", "background"), say(lang, "žádná bílá (zeď)", "no white (wall)"));
    if (keys.count(Key::Info) == 0)
        out.add(say(lang, "cesta", "path"), say(lang, "žádná černá (cesta)", "no black (path)"));
}

// The pointer can leave the window wherever the path, the start or a goal
// meets the picture's edge (or walk down into the black strip below it) and
// come back in elsewhere, past every wall: a maze is closed by its own walls.
void checkEdge(const KeyMap& keys, Language lang, Findings& out)
{
    std::size_t count = 0;
    QPoint first;
    const int w = keys.width(), h = keys.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (y != 0 && y != h - 1 && x == 1)
                x = w - 1; // inner rows: only their first and last pixel
            const Key k = keys.at(x, y);
            if ((k == Key::Info || k == Key::Start || k == Key::Goal) && count++ == 0)
                first = {x, y};
        }
    if (count)
        out.add(say(lang, "okraj", "edge"),
                say(lang, "černá, červená nebo zelená na okraji obrázku, kudy by se dalo obejít zdi: %1",
                    "black, red or green on the picture's edge, where a run could go round the walls: %1")
                    .arg(countFirst(lang, count, first)),
                first);
}

// Start and goals joined by one 4-connected region of black that touches no
// colour that acts except white: no press on the way can open the home page,
// go to the menu or win by a side door.
void checkWay(const KeyMap& keys, Language lang, Findings& out, std::vector<PathMeasure>* ways)
{
    const auto starts = keys.piecesOf(Key::Start, KeyMap::Touch::SidesAndCorners);
    const auto goals = keys.piecesOf(Key::Goal, KeyMap::Touch::SidesAndCorners);
    if (starts.size() != 1) {
        const QPoint at = starts.size() > 1 ? starts[1].first : QPoint(-1, -1);
        QString detail = say(lang, "má být právě jeden červený start, nalezeno %1", "expected exactly one red start, found %1")
                             .arg(starts.size());
        if (starts.size() > 1)
            detail += say(lang, " (druhý na %1)", " (the second at %1)").arg(pointText(at));
        out.add(QStringLiteral("start"), detail, at);
    }
    if (goals.empty())
        out.add(say(lang, "cíl", "goal"), say(lang, "žádný zelený cíl", "no green goal"));
    if (keys.count(Key::Menu) == 0)
        out.add(QStringLiteral("menu"), say(lang, "žádné tmavě červené místo pro návrat do menu",
                                            "no dark red spot to go back to the menu"));
    if (starts.size() != 1 || goals.empty())
        return;

    Spot start{starts[0].first, keys.pieceAt(starts[0].first, KeyMap::Touch::SidesAndCorners)};
    const std::vector<std::uint8_t> region = regionFrom(keys, start.pixels);
    const int w = keys.width();
    std::vector<Spot> goalSpots;
    bool allJoined = true;
    for (const auto& g : goals) {
        if (!region[std::size_t(g.first.y()) * w + g.first.x()]) {
            allJoined = false;
            out.add(say(lang, "cesta", "path"),
                    say(lang, "cíl na %1 není se startem na %2 spojen černou cestou (po stranách)",
                        "the goal at %1 is not joined to the start at %2 by black (side to side)")
                        .arg(pointText(g.first), pointText(start.centre)),
                    g.first);
        }
        goalSpots.push_back({g.first, keys.pieceAt(g.first, KeyMap::Touch::SidesAndCorners)});
    }

    std::vector<QPoint> touched[KeyCount + 1];
    for (int y = 0; y < keys.height(); ++y)
        for (int x = 0; x < w; ++x) {
            const Key k = keys.at(x, y);
            // Colours outside the key have their own finding already.
            if (region[std::size_t(y) * w + x] || k == Key::Wall || k == Key::Inert || passable(k))
                continue;
            const QPoint next[4] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const QPoint& q : next)
                if (keys.contains(q.x(), q.y()) && region[std::size_t(q.y()) * w + q.x()]) {
                    touched[int(k)].emplace_back(x, y);
                    break;
                }
        }
    for (int k = 0; k <= KeyCount; ++k)
        if (!touched[k].empty())
            out.add(say(lang, "cesta", "path"),
                    say(lang, "cesta se dotýká barvy %1: %2", "the path touches %1: %2")
                        .arg(colourWord(lang, Key(k)), countFirst(lang, touched[k].size(), touched[k].front())),
                    touched[k].front());
    if (ways && allJoined)
        *ways = measurePaths(keys, start, goalSpots);
}

} // namespace

QString playerLevelFile(int level) { return levelPictureFile(level); }

QImage readPlayerPicture(const QString& path, const QString& file, Language lang, std::vector<Finding>& out)
{
    Findings found(file);
    const QString fileRule = say(lang, "soubor", "file");
    auto refuse = [&](const QString& detail) {
        found.add(fileRule, detail);
        for (Finding& f : found.take())
            out.push_back(std::move(f));
        return QImage();
    };
    // The whole file, never more than the cap, and only from a regular file
    // opened without waiting (a pipe would wait for a writer, a device could
    // be read for ever).
    RegularFile read = readRegularFile(QFile::encodeName(path), LargestPictureFile, FollowLinks::Yes);
    if (read.state != RegularFile::Read)
        return refuse(notRead(lang, read.state, read.error, LargestPictureFile));
    return decodePlayerPicture(std::move(read.bytes), file, lang, out);
}

QImage decodePlayerPicture(QByteArray bytes, const QString& file, Language lang, std::vector<Finding>& out)
{
    Findings found(file);
    auto refuse = [&](const QString& detail) {
        found.add(say(lang, "soubor", "file"), detail);
        for (Finding& f : found.take())
            out.push_back(std::move(f));
        return QImage();
    };
    // A pack's entry is held to the same cap as a file in a folder.
    if (bytes.size() > LargestPictureFile)
        return refuse(notRead(lang, RegularFile::TooLarge, 0, LargestPictureFile));
    DecodedPicture decoded = decodePicture(std::move(bytes), QSize(PictureWidth, PictureHeight));
    switch (decoded.problem) {
    case DecodedPicture::None: return std::move(decoded.image);
    case DecodedPicture::WrongSize:
        addSizeFinding(found, lang, decoded.size);
        for (Finding& f : found.take())
            out.push_back(std::move(f));
        return {};
    case DecodedPicture::Damaged:
        return refuse(say(lang, "nelze číst jako obrázek: soubor je poškozený nebo neúplný",
                          "cannot be read as a picture: the file is damaged or cut short"));
    case DecodedPicture::DataPastRows:
        return refuse(say(lang, "nelze číst jako obrázek: obrazová data pokračují za posledním řádkem",
                          "cannot be read as a picture: its image data goes on past the last row"));
    case DecodedPicture::TooManyScans:
        return refuse(say(lang, "nelze číst jako obrázek: JPEG o více než %1 průchodech", "cannot be read as a picture: a JPEG of more than %1 scans")
                          .arg(MostJpegScans));
    case DecodedPicture::UnknownFormat:
        return refuse(say(lang, "nelze číst jako obrázek: neznámý formát (hra čte PNG, BMP, GIF a JPEG)",
                          "cannot be read as a picture: an unknown format (the game reads PNG, BMP, GIF and JPEG)"));
    }
    return {};
}

std::vector<Finding> checkPlayerMaze(const QString& file, const QImage& image, Language lang, std::vector<PathMeasure>* ways)
{
    Findings out(file);
    if (image.size() != QSize(PictureWidth, PictureHeight)) {
        addSizeFinding(out, lang, image.size());
        return out.take();
    }
    checkOpaque(image, lang, out);
    const KeyMap keys(image);
    checkColours(keys, lang, out);
    checkEdge(keys, lang, out);
    checkWay(keys, lang, out, ways);
    return out.take();
}

PlayerFolder openPlayerFolder(const QString& folder, Language lang, bool measureWays)
{
    PlayerFolder result;
    const QString folderRule = say(lang, "složka", "folder");
    const QString shownFolder = printableName(folder);
    auto refuseFolder = [&](const QString& why) {
        result.findings.push_back({shownFolder, folderRule, why});
        return result;
    };
    const QByteArray folderName = QFile::encodeName(folder);
    struct stat st {};
    if (::stat(folderName.constData(), &st) != 0) {
        // Bytes that were no UTF-8 did not survive the command line: the
        // name the game holds is not the folder's.
        if ((errno == ENOENT || errno == ENOTDIR) && folder.contains(QChar(0xFFFD)))
            return refuseFolder(say(lang, "jméno není platný text UTF-8 a hra složku nemůže otevřít: přejmenujte ji",
                                    "the name is no valid UTF-8 text and the game cannot open the folder: rename it"));
        return refuseFolder(cannotRead(lang, errno));
    }
    if (!S_ISDIR(st.st_mode))
        return refuseFolder(say(lang, "není složka", "is not a folder"));
    // Listing and looking inside both need the player's permission; without
    // it every level would look missing.
    DIR* listing = ::opendir(folderName.constData());
    const int listError = listing ? 0 : errno;
    if (listing)
        ::closedir(listing);
    if (listError != 0 || ::access(folderName.constData(), X_OK) != 0)
        return refuseFolder(cannotRead(lang, listError != 0 ? listError : errno));
    result.canonicalPath = QDir(folder).canonicalPath();
    const QDir dir(result.canonicalPath);
    // A name counts as there even when it leads nowhere, so that a broken
    // link is named as unreadable rather than as a gap.
    auto there = [&](int level) {
        struct stat st {};
        return ::lstat(QFile::encodeName(dir.filePath(playerLevelFile(level))).constData(), &st) == 0;
    };
    const int last = checkNumbering(there, say(lang, "ve složce %1 chybí", "missing in %1").arg(shownFolder), folderRule,
                                    lang, result.findings);
    for (int level = FirstMaze; level <= last; ++level) {
        PlayerLevel loaded{playerLevelFile(level), {}, {}};
        if (there(level))
            keepPlayerLevel(loaded, readPlayerPicture(dir.filePath(loaded.file), loaded.file, lang, result.findings),
                            lang, measureWays, result.findings);
        result.levels.push_back(std::move(loaded));
    }
    return result;
}

int checkNumbering(const std::function<bool(int)>& there, const QString& noLevels, const QString& setRule, Language lang,
                   std::vector<Finding>& out)
{
    int last = 0;
    for (int level = FirstMaze; level <= LastMaze; ++level)
        if (there(level))
            last = level;
    if (last == 0)
        out.push_back({playerLevelFile(FirstMaze), say(lang, "soubor", "file"), noLevels});
    for (int level = FirstMaze; level < last; ++level)
        if (!there(level))
            out.push_back({playerLevelFile(level), say(lang, "soubor", "file"),
                           say(lang, "chybí, ale %1 je tam: úrovně se číslují bez mezer",
                               "missing, but %1 is there: levels are numbered without gaps")
                               .arg(playerLevelFile(last))});
    if (there(LastMaze + 1))
        out.push_back({playerLevelFile(LastMaze + 1), setRule, say(lang, "nejvýš %1 úrovní", "at most %1 levels").arg(LastMaze)});
    return last;
}

void keepPlayerLevel(PlayerLevel& level, QImage image, Language lang, bool measureWays, std::vector<Finding>& out)
{
    if (image.isNull())
        return;
    std::vector<Finding> found = checkPlayerMaze(level.file, image, lang, measureWays ? &level.ways : nullptr);
    // Twenty truecolour mazes held at once would take 24 MB; a clean one
    // holds key colours only and is kept as indices.
    level.image = found.empty() ? keyIndexed(image) : std::move(image);
    for (Finding& f : found)
        out.push_back(std::move(f));
}

} // namespace zw::check
