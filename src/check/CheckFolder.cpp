#include "check/CheckFolder.h"
#include "check/Rules.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace zw::check {

FolderCheck checkFolder(const QString& folder)
{
    FolderCheck result;
    const QDir dir(folder);
    for (const PictureInfo& info : allPictures()) {
        LoadedPicture loaded{info, {}, {}};
        const QString path = dir.filePath(info.file);
        if (!QFileInfo::exists(path)) {
            result.findings.push_back({info.file, QStringLiteral("file"), QStringLiteral("missing in %1").arg(folder)});
        } else {
            QImageReader reader(path);
            loaded.image = reader.read();
            if (loaded.image.isNull())
                result.findings.push_back({info.file, QStringLiteral("file"),
                                           QStringLiteral("cannot be read: %1").arg(reader.errorString())});
        }
        if (!loaded.image.isNull())
            for (Finding& f : checkPicture(info, loaded.image, &loaded.ways))
                result.findings.push_back(std::move(f));
        result.pictures.push_back(std::move(loaded));
    }
    const QImage& cs = result.pictures[0].image;
    const QImage& en = result.pictures[1].image;
    if (!cs.isNull() && !en.isNull())
        for (Finding& f : checkMenuPair(cs, en))
            result.findings.push_back(std::move(f));
    return result;
}

} // namespace zw::check
