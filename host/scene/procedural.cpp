#include "scene/procedural.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace plurion::host {
namespace {

constexpr double kPi = 3.14159265358979323846;

// How much of each pixel a shape covers, 0..1, one float per pixel.
struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<float> amount;

    Coverage(int w, int h)
        : width(w), height(h), amount(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}
    float& at(int x, int y) {
        return amount[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Pixel columns (or rows) that [from, to) touches, clipped to [0, size).
std::pair<int, int> PixelSpan(double from, double to, int size) {
    // Clamped before the conversion: a shape far off the layer must not overflow an int.
    const int first = static_cast<int>(std::clamp(std::floor(from), 0.0, double(size)));
    const int last = static_cast<int>(std::clamp(std::ceil(to), 0.0, double(size)));
    return {first, last};
}

// Length of [pixel, pixel + 1) inside [from, to).
double Overlap(int pixel, double from, double to) {
    return std::clamp(std::min(pixel + 1.0, to) - std::max(double(pixel), from), 0.0, 1.0);
}

// Adds the exact area of an axis-aligned box to each pixel; boxes added must not overlap.
void AddBox(Coverage& coverage, double x0, double y0, double x1, double y1) {
    const auto [left, right] = PixelSpan(x0, x1, coverage.width);
    const auto [top, bottom] = PixelSpan(y0, y1, coverage.height);
    for (int y = top; y < bottom; ++y) {
        const double row = Overlap(y, y0, y1);
        for (int x = left; x < right; ++x) {
            coverage.at(x, y) += static_cast<float>(row * Overlap(x, x0, x1));
        }
    }
}

// Coverage from a signed distance (negative inside) at each pixel centre of a bounding box: a
// one-pixel ramp across the edge.
template <typename SignedDistance>
void AddDistanceShape(Coverage& coverage, double x0, double y0, double x1, double y1,
                      SignedDistance distance) {
    const auto [left, right] = PixelSpan(x0 - 1.0, x1 + 1.0, coverage.width);
    const auto [top, bottom] = PixelSpan(y0 - 1.0, y1 + 1.0, coverage.height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const double inside = std::clamp(0.5 - distance(x + 0.5, y + 0.5), 0.0, 1.0);
            coverage.at(x, y) += static_cast<float>(inside);
        }
    }
}

// Straight-alpha "over" of a colour at the given coverage onto one pixel.
void PaintPixel(float* pixel, const Color& color, float coverage) {
    const float front = color[3] * std::min(coverage, 1.0f);
    if (front <= 0.0f) {
        return;
    }
    const float back = pixel[3] * (1.0f - front);
    const float alpha = front + back;
    for (std::size_t c = 0; c < 3; ++c) {
        pixel[c] = (color[c] * front + pixel[c] * back) / alpha;
    }
    pixel[3] = alpha;
}

void Paint(RgbaImage& image, const Color& color, const Coverage& coverage) {
    for (std::size_t p = 0; p < coverage.amount.size(); ++p) {
        PaintPixel(image.rgba.data() + p * 4, color, coverage.amount[p]);
    }
}

void Fill(RgbaImage& image, const Color& color) {
    for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
        std::copy(color.begin(), color.end(), image.rgba.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

// Distance from p to a closed polygon, negative inside (even-odd rule).
double PolygonDistance(const std::vector<Vec2>& polygon, Vec2 p) {
    double nearest = 1e300;
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Vec2 a = polygon[i];
        const Vec2 b = polygon[j];
        const double ex = b.x - a.x, ey = b.y - a.y;
        const double wx = p.x - a.x, wy = p.y - a.y;
        const double length = ex * ex + ey * ey;
        const double t = length > 0.0 ? std::clamp((wx * ex + wy * ey) / length, 0.0, 1.0) : 0.0;
        const double dx = wx - ex * t, dy = wy - ey * t;
        nearest = std::min(nearest, dx * dx + dy * dy);
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * ex / ey) {
            inside = !inside;
        }
    }
    return inside ? -std::sqrt(nearest) : std::sqrt(nearest);
}

// Seven-segment digits: segments a (top), b (upper right), c (lower right), d (bottom),
// e (lower left), f (upper left), g (middle) as bits 0 to 6.
constexpr std::array<std::uint8_t, 10> kDigitSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                                         0x6D, 0x7D, 0x07, 0x7F, 0x6F};
constexpr std::uint8_t kMinusSegments = 0x40;
constexpr double kDigitWidth = 0.55;  // of the digit height
constexpr double kDigitSpacing = 0.2; // gap between digits, of the digit height
constexpr double kSegmentThickness = 0.12;

// Adds the lit segments of one digit cell whose top-left corner is (x, y). The boxes tile the
// cell without overlapping: the horizontal bars run between the vertical ones.
void AddDigit(Coverage& coverage, std::uint8_t segments, double x, double y, double height) {
    const double w = kDigitWidth * height;
    const double t = kSegmentThickness * height;
    const double mid = y + height / 2.0;
    const std::array<std::array<double, 4>, 7> boxes = {{
        {x + t, y, x + w - t, y + t},                     // a
        {x + w - t, y, x + w, mid},                       // b
        {x + w - t, mid, x + w, y + height},              // c
        {x + t, y + height - t, x + w - t, y + height},   // d
        {x, mid, x + t, y + height},                      // e
        {x, y, x + t, mid},                               // f
        {x + t, mid - t / 2.0, x + w - t, mid + t / 2.0}, // g
    }};
    for (std::size_t s = 0; s < boxes.size(); ++s) {
        if ((segments >> s) & 1u) {
            AddBox(coverage, boxes[s][0], boxes[s][1], boxes[s][2], boxes[s][3]);
        }
    }
}

} // namespace

void DrawSolid(RgbaImage& image, const SolidSource& solid) {
    Fill(image, solid.color);
}

void DrawRectangle(RgbaImage& image, const RectangleSource& rectangle) {
    Coverage coverage(image.width, image.height);
    const Vec2 half{rectangle.size.x / 2.0, rectangle.size.y / 2.0};
    AddBox(coverage, rectangle.center.x - half.x, rectangle.center.y - half.y,
           rectangle.center.x + half.x, rectangle.center.y + half.y);
    Paint(image, rectangle.color, coverage);
}

void DrawEllipse(RgbaImage& image, const EllipseSource& ellipse) {
    const double rx = ellipse.size.x / 2.0;
    const double ry = ellipse.size.y / 2.0;
    if (rx <= 0.0 || ry <= 0.0) {
        return;
    }
    // Distance estimate from the implicit form, exact on circles.
    const auto distance = [&](double x, double y) {
        const double px = x - ellipse.center.x, py = y - ellipse.center.y;
        const double k0 = std::hypot(px / rx, py / ry);
        const double k1 = std::hypot(px / (rx * rx), py / (ry * ry));
        return k1 > 0.0 ? k0 * (k0 - 1.0) / k1 : -std::min(rx, ry);
    };
    Coverage coverage(image.width, image.height);
    AddDistanceShape(coverage, ellipse.center.x - rx, ellipse.center.y - ry, ellipse.center.x + rx,
                     ellipse.center.y + ry, distance);
    Paint(image, ellipse.color, coverage);
}

void DrawStar(RgbaImage& image, const StarSource& star) {
    std::vector<Vec2> polygon;
    const int corners = 2 * star.points;
    for (int i = 0; i < corners; ++i) {
        const double angle = (star.rotation - 90.0 + 180.0 * i / star.points) * kPi / 180.0;
        const double radius = i % 2 == 0 ? star.outer_radius : star.inner_radius;
        polygon.push_back(
            {star.center.x + radius * std::cos(angle), star.center.y + radius * std::sin(angle)});
    }
    const double reach = std::max(star.outer_radius, star.inner_radius);
    Coverage coverage(image.width, image.height);
    AddDistanceShape(coverage, star.center.x - reach, star.center.y - reach, star.center.x + reach,
                     star.center.y + reach, [&](double x, double y) {
                         return PolygonDistance(polygon, {x, y});
                     });
    Paint(image, star.color, coverage);
}

void DrawGradient(RgbaImage& image, const GradientSource& gradient) {
    const double dx = gradient.end.x - gradient.start.x;
    const double dy = gradient.end.y - gradient.start.y;
    const double length = dx * dx + dy * dy;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const double along =
                (x + 0.5 - gradient.start.x) * dx + (y + 0.5 - gradient.start.y) * dy;
            const auto t =
                static_cast<float>(length > 0.0 ? std::clamp(along / length, 0.0, 1.0) : 0.0);
            float* pixel = image.rgba.data() + PixelOffset(image, x, y);
            for (std::size_t c = 0; c < 4; ++c) {
                pixel[c] =
                    gradient.start_color[c] + (gradient.end_color[c] - gradient.start_color[c]) * t;
            }
        }
    }
}

void DrawCounter(RgbaImage& image, const CounterSource& counter, int number) {
    if (counter.background[3] > 0.0f) {
        Fill(image, counter.background);
    }
    std::vector<std::uint8_t> cells;
    if (number < 0) {
        cells.push_back(kMinusSegments);
    }
    for (const char digit : std::to_string(std::abs(static_cast<long long>(number)))) {
        cells.push_back(kDigitSegments[static_cast<std::size_t>(digit - '0')]);
    }
    const double height = counter.digit_height;
    const double pitch = (kDigitWidth + kDigitSpacing) * height;
    const double total = static_cast<double>(cells.size()) * pitch - kDigitSpacing * height;
    const double left = counter.center.x - total / 2.0;
    const double top = counter.center.y - height / 2.0;
    Coverage coverage(image.width, image.height);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        AddDigit(coverage, cells[i], left + static_cast<double>(i) * pitch, top, height);
    }
    Paint(image, counter.color, coverage);
}

} // namespace plurion::host
