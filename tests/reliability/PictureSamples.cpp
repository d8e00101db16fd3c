#include "PictureSamples.h"

#include <algorithm>

namespace zw::reliability {

namespace {

// The slot of every pixel of one row. The built-in pictures are 8-bit
// indexed, so their colour table is looked up once, not once a pixel.
class RowSlots {
public:
    explicit RowSlots(const QImage& picture) : picture_(picture)
    {
        if (picture.format() == QImage::Format_Indexed8)
            for (int i = 0; i < picture.colorCount(); ++i)
                byIndex_[std::size_t(i)] = slotOf(fromRgb(picture.color(i)));
    }

    void read(int y, std::vector<int>& rowSlots) const
    {
        rowSlots.resize(std::size_t(picture_.width()));
        if (picture_.format() == QImage::Format_Indexed8) {
            const uchar* row = picture_.constScanLine(y);
            for (int x = 0; x < picture_.width(); ++x)
                rowSlots[std::size_t(x)] = byIndex_[row[x]];
            return;
        }
        for (int x = 0; x < picture_.width(); ++x)
            rowSlots[std::size_t(x)] = slotOf(pixelColour(picture_, x, y));
    }

private:
    const QImage& picture_;
    std::array<int, 256> byIndex_{}; // indices past the table stay black: never used by a valid picture
};

PictureSamples sample(const QImage& picture, int perSlot)
{
    const RowSlots rows(picture);
    std::vector<int> rowSlots;
    std::array<std::size_t, Slots> count{};
    for (int y = 0; y < picture.height(); ++y) {
        rows.read(y, rowSlots);
        for (int slot : rowSlots)
            ++count[std::size_t(slot)];
    }

    // Evenly strided picks in reading order keep both ends and the middle
    // of every area, and the same picture always gives the same points.
    std::array<std::size_t, Slots> keep{}, seen{};
    auto target = [&](std::size_t slot, std::size_t pick) {
        return keep[slot] == 1 ? 0 : pick * (count[slot] - 1) / (keep[slot] - 1);
    };
    PictureSamples samples;
    for (std::size_t slot = 0; slot < Slots; ++slot) {
        keep[slot] = std::min(count[slot], std::size_t(perSlot));
        if (keep[slot] > 0)
            samples.present.push_back(int(slot));
    }
    for (int y = 0; y < picture.height(); ++y) {
        rows.read(y, rowSlots);
        for (int x = 0; x < picture.width(); ++x) {
            const std::size_t slot = std::size_t(rowSlots[std::size_t(x)]);
            std::vector<QPoint>& kept = samples.points[slot];
            if (kept.size() < keep[slot] && seen[slot] == target(slot, kept.size()))
                kept.push_back({x, y});
            ++seen[slot];
        }
    }
    return samples;
}

} // namespace

int slotOf(Colour colour)
{
    const auto found = std::find(KeyColours.begin(), KeyColours.end(), colour);
    return found == KeyColours.end() ? InertSlot : int(found - KeyColours.begin());
}

SampleAtlas::SampleAtlas(const PictureStore& store, int perSlot)
{
    std::vector<QImage> pictures{store.Picture4(), store.Picture5()};
    for (int level = 0; level < PictureStore::LevelCount; ++level)
        pictures.push_back(store.Picture3(std::int16_t(level)));

    for (const QImage& picture : pictures) {
        const auto [where, added] = byKey_.try_emplace(picture.cacheKey());
        if (!added)
            continue; // the Czech menu is both Picture4 and Picture3(0)
        where->second = sample(picture, perSlot);
        ordered_.push_back(&where->second);
    }
}

const PictureSamples* SampleAtlas::of(const QImage& picture) const
{
    const auto found = byKey_.find(picture.cacheKey());
    return found == byKey_.end() ? nullptr : &found->second;
}

} // namespace zw::reliability
