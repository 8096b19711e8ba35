#include "platform/pictures/PictureScaling.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <numbers>
#include <vector>

namespace {

constexpr double Lobes = 3;

double lanczos(double x) {
    x = std::abs(x);
    if (x < 1e-9) return 1;
    if (x >= Lobes) return 0;
    const double at = std::numbers::pi * x;
    return Lobes * std::sin(at) * std::sin(at / Lobes) / (at * at);
}

// The source pixels that make one target pixel, with their weights, which sum to one.
struct Taps {
    int first = 0;
    std::vector<float> weights;

    int end() const { return first + static_cast<int>(weights.size()); }
};

// Reducing takes Lanczos's filter, widened by the reduction; enlarging draws a straight line
// between neighbouring pixels, as Lanczos's lobes would ring around the edges of a small picture
// blown up.
std::vector<Taps> tapsFor(int from, int to) {
    const double scale = static_cast<double>(from) / to;
    const bool reducing = scale > 1;
    const double widen = reducing ? scale : 1.0;
    const double reach = reducing ? Lobes * widen : 1.0;
    const auto kernel = [reducing](double x) {
        return reducing ? lanczos(x) : std::max(0.0, 1 - std::abs(x));
    };
    std::vector<Taps> all(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const int first = std::max(0, static_cast<int>(std::floor(centre - reach)) + 1);
        const int last = std::min(from - 1, static_cast<int>(std::ceil(centre + reach)) - 1);
        std::vector<double> weights;
        double sum = 0;
        for (int j = first; j <= last; ++j) {
            weights.push_back(kernel((j - centre) / widen));
            sum += weights.back();
        }
        Taps& taps = all[static_cast<std::size_t>(i)];
        taps.first = first;
        for (const double weight : weights)
            taps.weights.push_back(static_cast<float>(weight / sum));
    }
    return all;
}

// sum += weight * row, over count floats: the loop that takes the time, kept free of aliasing so
// that the compiler can work on several floats at once.
void addWeighted(float* __restrict sum, const float* __restrict row, float weight,
                 std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) sum[i] += weight * row[i];
}

// One row through the taps of each target pixel along it; four channels a pixel.
void filterRow(const float* __restrict in, float* __restrict out, const std::vector<Taps>& taps) {
    for (const Taps& t : taps) {
        float sum[4] = {};
        const float* pixel = in + 4 * static_cast<std::ptrdiff_t>(t.first);
        for (const float weight : t.weights) {
            for (int c = 0; c < 4; ++c) sum[c] += weight * pixel[c];
            pixel += 4;
        }
        for (const float channel : sum) *out++ = channel;
    }
}

// The picture's rows in order as premultiplied channels in floats, the channels in QRgb's order
// with alpha last. Other formats are converted a strip at a time, never the whole picture.
class SourceRows {
public:
    explicit SourceRows(const QImage& picture)
        : picture_(picture), direct_(picture.format() == QImage::Format_RGB32 ||
                                     picture.format() == QImage::Format_ARGB32_Premultiplied),
          stripRows_(std::max(1, (1 << 20) / (4 * picture.width()))),
          row_(4 * static_cast<std::size_t>(picture.width())) {}

    const float* row(int y) {
        const QRgb* in = nullptr;
        if (direct_) {
            in = reinterpret_cast<const QRgb*>(picture_.constScanLine(y));
        } else {
            if (strip_.isNull() || y >= stripStart_ + strip_.height()) {
                stripStart_ = y;
                const int rows = std::min(stripRows_, picture_.height() - y);
                strip_ = picture_.copy(0, y, picture_.width(), rows)
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
                if (strip_.isNull()) throw std::bad_alloc();
            }
            in = reinterpret_cast<const QRgb*>(strip_.constScanLine(y - stripStart_));
        }
        float* out = row_.data();
        for (int x = 0; x < picture_.width(); ++x) {
            for (int c = 0; c < 4; ++c) *out++ = static_cast<float>(in[x] >> (8 * c) & 0xFF);
        }
        return row_.data();
    }

private:
    const QImage& picture_;
    bool direct_;
    int stripRows_;
    QImage strip_;
    int stripStart_ = 0;
    std::vector<float> row_;
};

// Rounds the filtered channels into a row of pixels. Lanczos's lobes overshoot, so each channel
// is held within what the format can hold: alpha within a byte, a premultiplied colour within
// its alpha.
void storeRow(const float* in, QRgb* out, int width, bool alpha) {
    const auto byte = [](float value, int most) {
        return std::clamp(static_cast<int>(std::lround(value)), 0, most);
    };
    for (int x = 0; x < width; ++x, in += 4) {
        const int a = alpha ? byte(in[3], 255) : 255;
        QRgb pixel = static_cast<QRgb>(a) << 24;
        for (int c = 0; c < 3; ++c) pixel |= static_cast<QRgb>(byte(in[c], a)) << (8 * c);
        out[x] = pixel;
    }
}

QImage resample(const QImage& picture, QSize size) {
    const bool alpha = picture.hasAlphaChannel();
    QImage out(size, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (out.isNull()) return out;
    const int inWidth = picture.width(), inHeight = picture.height();
    const int outWidth = size.width(), outHeight = size.height();
    const std::vector<Taps> across = tapsFor(inWidth, outWidth);
    const std::vector<Taps> down = tapsFor(inHeight, outHeight);
    SourceRows source(picture);
    // The pass that keeps the smaller picture between the two goes first.
    if (std::int64_t{inHeight} * outWidth <= std::int64_t{outHeight} * inWidth) {
        const std::size_t rowFloats = 4 * static_cast<std::size_t>(outWidth);
        std::vector<float> between(rowFloats * static_cast<std::size_t>(inHeight));
        for (int y = 0; y < inHeight; ++y)
            filterRow(source.row(y), between.data() + rowFloats * y, across);
        std::vector<float> row(rowFloats);
        for (int y = 0; y < outHeight; ++y) {
            std::fill(row.begin(), row.end(), 0.0F);
            const Taps& t = down[static_cast<std::size_t>(y)];
            for (int k = 0; k < static_cast<int>(t.weights.size()); ++k) {
                addWeighted(row.data(), between.data() + rowFloats * (t.first + k),
                            t.weights[static_cast<std::size_t>(k)], rowFloats);
            }
            storeRow(row.data(), reinterpret_cast<QRgb*>(out.scanLine(y)), outWidth, alpha);
        }
        return out;
    }
    // Down first: each source row is read once and added into the target rows that take it.
    const std::size_t rowFloats = 4 * static_cast<std::size_t>(inWidth);
    std::vector<float> between(rowFloats * static_cast<std::size_t>(outHeight));
    int lowest = 0; // the first target row whose taps have not all passed
    for (int y = 0; y < inHeight; ++y) {
        const float* in = source.row(y);
        while (lowest < outHeight && down[static_cast<std::size_t>(lowest)].end() <= y) ++lowest;
        for (int target = lowest; target < outHeight; ++target) {
            const Taps& t = down[static_cast<std::size_t>(target)];
            if (t.first > y) break;
            addWeighted(between.data() + rowFloats * target, in,
                        t.weights[static_cast<std::size_t>(y - t.first)], rowFloats);
        }
    }
    std::vector<float> row(4 * static_cast<std::size_t>(outWidth));
    for (int y = 0; y < outHeight; ++y) {
        filterRow(between.data() + rowFloats * y, row.data(), across);
        storeRow(row.data(), reinterpret_cast<QRgb*>(out.scanLine(y)), outWidth, alpha);
    }
    return out;
}

} // namespace

QImage resampledPicture(const QImage& picture, QSize size) {
    if (picture.isNull() || size.isEmpty()) return {};
    if (picture.size() == size) return picture;
    try {
        return resample(picture, size);
    } catch (const std::bad_alloc&) {
        return {};
    }
}
