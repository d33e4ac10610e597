#include "scene/scene.h"

#include <algorithm>
#include <cstdio>

namespace plurion::host {
namespace {

std::vector<Vec2> PointsAt(const MaskPointsTrack& track, double frame, std::size_t count) {
    if (track.empty()) {
        return std::vector<Vec2>(count);
    }
    const auto after =
        std::upper_bound(track.begin(), track.end(), frame,
                         [](double f, const MaskPointsKey& key) { return f < key.frame; });
    if (after == track.begin()) {
        return track.front().points;
    }
    if (after == track.end()) {
        return track.back().points;
    }
    const MaskPointsKey& a = *(after - 1);
    const MaskPointsKey& b = *after;
    const double f = (frame - a.frame) / (b.frame - a.frame);
    std::vector<Vec2> points(a.points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        points[i] = {a.points[i].x + f * (b.points[i].x - a.points[i].x),
                     a.points[i].y + f * (b.points[i].y - a.points[i].y)};
    }
    return points;
}

// Control characters (a NUL in a key, a line break in a name) would cut or break the one line
// a message is; they show as escapes instead.
std::string Printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        }
    }
    return out;
}

} // namespace

std::vector<MaskVertex> MaskVerticesAt(const Mask& mask, double frame) {
    const std::vector<Vec2> positions = PointsAt(mask.vertices, frame, 0);
    const std::vector<Vec2> ins = PointsAt(mask.in_tangents, frame, positions.size());
    const std::vector<Vec2> outs = PointsAt(mask.out_tangents, frame, positions.size());
    std::vector<MaskVertex> vertices(positions.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        vertices[i] = {positions[i], ins[i], outs[i]};
    }
    return vertices;
}

SceneError::SceneError(const std::string& file, const std::string& where, const std::string& reason)
    : std::runtime_error(Printable(file) + ": " + (where.empty() ? "" : Printable(where) + ": ") +
                         Printable(reason)),
      file_(file), where_(where), reason_(reason) {}

} // namespace plurion::host
