#include "GUI/ImageResampling.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

// The source pixels that make one target pixel along an axis, with their
// weights, which add up to 1.
struct Tap {
    int first;
    std::vector<float> weights;
};

// Edges are extended: a tap beyond the image weighs on the pixel at the edge.
std::vector<Tap> Taps(int sourceSize, int targetSize)
{
    const double sourcePerTarget = static_cast<double>(sourceSize) / targetSize;
    const double width = sourcePerTarget > 1.0 ? sourcePerTarget : 1.0;
    std::vector<Tap> taps(static_cast<std::size_t>(targetSize));
    for (int i = 0; i < targetSize; ++i) {
        const double centre = (i + 0.5) * sourcePerTarget;
        const int low = static_cast<int>(std::floor(centre - width));
        const int high = static_cast<int>(std::ceil(centre + width));
        Tap& tap = taps[static_cast<std::size_t>(i)];
        tap.first = low < 0 ? 0 : low;
        const int last = high > sourceSize ? sourceSize - 1 : high - 1;
        std::vector<double> weights(static_cast<std::size_t>(last - tap.first + 1), 0.0);
        double total = 0.0;
        for (int j = low; j < high; ++j) {
            const double distance = std::fabs((j + 0.5 - centre) / width);
            const double weight = distance < 1.0 ? 1.0 - distance : 0.0;
            const int clamped = j < 0 ? 0 : (j >= sourceSize ? sourceSize - 1 : j);
            weights[static_cast<std::size_t>(clamped - tap.first)] += weight;
            total += weight;
        }
        for (double weight : weights) {
            tap.weights.push_back(static_cast<float>(weight / total));
        }
    }
    return taps;
}

float Channel(std::uint32_t pixel, int shift)
{
    return static_cast<float>((pixel >> shift) & 0xFFu);
}

std::uint32_t ToByte(float value, int shift)
{
    const float rounded = std::floor(value + 0.5f);
    const std::uint32_t byte = rounded <= 0.0f ? 0u : (rounded >= 255.0f ? 255u : static_cast<std::uint32_t>(rounded));
    return byte << shift;
}

constexpr int Shifts[4] = {24, 16, 8, 0};

} // namespace

void ResampleImage(const PixelImage& source, const PixelImage& target)
{
    if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0) {
        return;
    }
    // Across first, into rows of target width and source height, four
    // channels a pixel; then down.
    const std::vector<Tap> across = Taps(source.width, target.width);
    const std::vector<Tap> down = Taps(source.height, target.height);
    std::vector<float> rows(static_cast<std::size_t>(target.width) * source.height * 4, 0.0f);
    for (int y = 0; y < source.height; ++y) {
        const std::uint32_t* sourceRow = source.pixels + static_cast<std::ptrdiff_t>(y) * source.stride;
        for (int x = 0; x < target.width; ++x) {
            const Tap& tap = across[static_cast<std::size_t>(x)];
            float* sum = &rows[(static_cast<std::size_t>(y) * target.width + x) * 4];
            for (std::size_t k = 0; k < tap.weights.size(); ++k) {
                const std::uint32_t pixel = sourceRow[tap.first + static_cast<int>(k)];
                for (int c = 0; c < 4; ++c) {
                    sum[c] += tap.weights[k] * Channel(pixel, Shifts[c]);
                }
            }
        }
    }
    for (int y = 0; y < target.height; ++y) {
        const Tap& tap = down[static_cast<std::size_t>(y)];
        std::uint32_t* targetRow = target.pixels + static_cast<std::ptrdiff_t>(y) * target.stride;
        for (int x = 0; x < target.width; ++x) {
            float sum[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            for (std::size_t k = 0; k < tap.weights.size(); ++k) {
                const float* row = &rows[(static_cast<std::size_t>(tap.first) + k) * target.width * 4 + x * 4];
                for (int c = 0; c < 4; ++c) {
                    sum[c] += tap.weights[k] * row[c];
                }
            }
            std::uint32_t pixel = 0;
            for (int c = 0; c < 4; ++c) {
                pixel |= ToByte(sum[c], Shifts[c]);
            }
            targetRow[x] = pixel;
        }
    }
}

void ResampleFilmStrip(const PixelImage& source, const PixelImage& target, int frameCount)
{
    if (frameCount <= 0) {
        return;
    }
    const int sourceFrameHeight = source.height / frameCount;
    const int targetFrameHeight = target.height / frameCount;
    for (int frame = 0; frame < frameCount; ++frame) {
        const PixelImage from = {source.pixels + static_cast<std::ptrdiff_t>(frame) * sourceFrameHeight * source.stride,
            source.width, sourceFrameHeight, source.stride};
        const PixelImage to = {target.pixels + static_cast<std::ptrdiff_t>(frame) * targetFrameHeight * target.stride,
            target.width, targetFrameHeight, target.stride};
        ResampleImage(from, to);
    }
}
