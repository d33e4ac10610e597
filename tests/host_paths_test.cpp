// The host's mask paths: Bezier arc length and the point at a length, against an independent
// integration written here (power-basis derivative, composite Simpson's rule, bisection); the
// path suites as the effect sees them, with their strictness and their accounting; and masks
// drawn into worlds.
#include "AE_EffectSuites.h"
#include "PF_Masks.h"
#include "path_coverage.h"
#include "segment_lengths.h"
#include "support/mask_host.h"
#include "world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace plurion::host::paths {
namespace {

// The segment in power form, B(t) = a t^3 + b t^2 + c t + d, and its speed.
struct PowerForm {
    Point a, b, c;
    explicit PowerForm(const CubicSegment& s)
        : a{s.p3.x - 3 * s.p2.x + 3 * s.p1.x - s.p0.x, s.p3.y - 3 * s.p2.y + 3 * s.p1.y - s.p0.y},
          b{3 * (s.p2.x - 2 * s.p1.x + s.p0.x), 3 * (s.p2.y - 2 * s.p1.y + s.p0.y)},
          c{3 * (s.p1.x - s.p0.x), 3 * (s.p1.y - s.p0.y)}, d(s.p0) {}
    Point d;
    Point at(double t) const {
        return {((a.x * t + b.x) * t + c.x) * t + d.x, ((a.y * t + b.y) * t + c.y) * t + d.y};
    }
    double speed(double t) const {
        return std::hypot((3 * a.x * t + 2 * b.x) * t + c.x, (3 * a.y * t + 2 * b.y) * t + c.y);
    }
    // Composite Simpson's rule with 20,000 intervals per unit of t.
    double length(double t) const {
        const int n = std::max(2, static_cast<int>(20000 * t) / 2 * 2);
        const double h = t / n;
        double sum = speed(0) + speed(t);
        for (int i = 1; i < n; ++i) {
            sum += (i % 2 == 1 ? 4 : 2) * speed(i * h);
        }
        return sum * h / 3;
    }
    // The parameter at arc length s, by bisection on the integrated length.
    double parameter(double s) const {
        double lo = 0;
        double hi = 1;
        for (int i = 0; i < 50; ++i) {
            const double mid = (lo + hi) / 2;
            (length(mid) < s ? lo : hi) = mid;
        }
        return (lo + hi) / 2;
    }
};

constexpr double kKappa = 0.5522847498307936; // 4 (sqrt 2 - 1) / 3

struct Curve {
    const char* name;
    CubicSegment segment;
};
const Curve kCurves[] = {
    {"straight, handles along it", {{10, 20}, {40, 60}, {70, 100}, {100, 140}}},
    {"straight, no handles", {{0, 0}, {0, 0}, {90, -120}, {90, -120}}},
    {"quarter circle", {{100, 0}, {100, 100 * kKappa}, {100 * kKappa, 100}, {0, 100}}},
    {"S-curve", {{0, 0}, {150, 0}, {-50, 100}, {100, 100}}},
};

TEST(BezierLength, MatchesAnIndependentIntegration) {
    for (const Curve& curve : kCurves) {
        SCOPED_TRACE(curve.name);
        const PowerForm reference(curve.segment);
        const SegmentLengths lengths(curve.segment, 100);
        EXPECT_NEAR(lengths.length(), reference.length(1), 1e-8);
        EXPECT_NEAR(ArcLength(curve.segment, 0.25, 0.75),
                    reference.length(0.75) - reference.length(0.25), 1e-8);
        // Few samples or many, the table changes nothing but the speed.
        EXPECT_NEAR(SegmentLengths(curve.segment, 1).length(), lengths.length(), 1e-9);
        for (const double fraction : {0.0, 0.1, 0.5, 0.77, 1.0}) {
            const double s = fraction * lengths.length();
            const PointOnPath at = PointAtLength(lengths, s);
            const Point expected = reference.at(reference.parameter(s));
            EXPECT_NEAR(at.point.x, expected.x, 1e-6) << fraction;
            EXPECT_NEAR(at.point.y, expected.y, 1e-6) << fraction;
            // The direction of travel: the chord to a point a little further on.
            const double t = reference.parameter(s);
            const double step = fraction < 1 ? 1e-6 : -1e-6;
            const Point ahead = reference.at(t + step);
            const Point here = reference.at(t);
            const double angle = std::atan2((ahead.y - here.y) * step, (ahead.x - here.x) * step);
            EXPECT_NEAR(std::atan2(at.direction.y, at.direction.x), angle, 1e-4) << fraction;
            EXPECT_NEAR(std::hypot(at.direction.x, at.direction.y), 1, 1e-12);
        }
    }
    // Straight segments have their chord's length; the quarter circle is within 0.03 % of
    // pi r / 2, and its middle lies on the diagonal by symmetry.
    EXPECT_NEAR(SegmentLengths(kCurves[0].segment, 100).length(), 150, 1e-9);
    EXPECT_NEAR(SegmentLengths(kCurves[1].segment, 100).length(), 150, 1e-9);
    const SegmentLengths quarter(kCurves[2].segment, 100);
    EXPECT_NEAR(quarter.length(), 50 * std::numbers::pi, 0.03e-2 * 50 * std::numbers::pi);
    const Point middle = PointAtLength(quarter, quarter.length() / 2).point;
    EXPECT_NEAR(middle.x, middle.y, 1e-9);
    // Beyond the ends the point holds there; a point segment has no direction.
    const SegmentLengths line(kCurves[1].segment, 16);
    EXPECT_NEAR(PointAtLength(line, -5).point.x, 0, 1e-12);
    EXPECT_NEAR(PointAtLength(line, 500).point.y, -120, 1e-12);
    EXPECT_NEAR(PointAtLength(line, 0).direction.x, 0.6, 1e-12);
    const SegmentLengths dot(CubicSegment{{5, 5}, {5, 5}, {5, 5}, {5, 5}}, 4);
    EXPECT_EQ(dot.length(), 0);
    EXPECT_EQ(PointAtLength(dot, 0).direction.x, 0);
}

TEST(PathShape, SegmentsRunFromVertexToVertex) {
    PathShape triangle = test::Polygon({{0, 0}, {30, 0}, {30, 40}}, true);
    triangle.vertices[1].out_tangent = {0, 5};
    triangle.vertices[2].in_tangent = {-2, 0};
    EXPECT_EQ(SegmentCount(triangle), 3);
    const CubicSegment second = SegmentOf(triangle, 1);
    EXPECT_EQ(second.p1.y, 5);
    EXPECT_EQ(second.p2.x, 28);
    // The closing segment runs back to vertex 0, which is also the last vertex index.
    EXPECT_EQ(SegmentOf(triangle, 2).p3.x, 0);
    EXPECT_EQ(VertexOf(triangle, 3).position.y, 0);
    triangle.closed = false;
    EXPECT_EQ(SegmentCount(triangle), 2);
    EXPECT_EQ(SegmentCount(test::Polygon({{4, 4}}, true)), 1);
    EXPECT_EQ(ScaledShape(triangle, 0.5).vertices[2].in_tangent.x, -1);
}

} // namespace
} // namespace plurion::host::paths

namespace plurion::test {
namespace {

using host::paths::Point;

struct PathSuites {
    explicit PathSuites(MaskHost& host)
        : query(host.suite<PF_PathQuerySuite1>(kPFPathQuerySuite, 1)),
          data(host.suite<PF_PathDataSuite1>(kPFPathDataSuite, 1)) {}
    const PF_PathQuerySuite1* query;
    const PF_PathDataSuite1* data;
};

TEST(PathSuites, ServeTheMasksAndCountWhatIsHeld) {
    MaskHost host({Polygon({{0, 0}, {100, 0}, {100, 50}}, false),
                   Polygon({{10, 10}, {20, 10}, {20, 20}, {10, 20}}, true)});
    const PathSuites suites(host);
    ASSERT_NE(suites.query, nullptr);
    ASSERT_NE(suites.data, nullptr);
    const PF_ProgPtr ref = host.effect_ref();

    A_long count = 0;
    ASSERT_EQ(suites.query->PF_NumPaths(ref, &count), PF_Err_NONE);
    EXPECT_EQ(count, 2);
    PF_PathID first = 0;
    PF_PathID second = 0;
    ASSERT_EQ(suites.query->PF_PathInfo(ref, 0, &first), PF_Err_NONE);
    ASSERT_EQ(suites.query->PF_PathInfo(ref, 1, &second), PF_Err_NONE);
    EXPECT_NE(first, second);
    EXPECT_NE(first, PF_PathID_NONE);
    EXPECT_EQ(suites.query->PF_PathInfo(ref, 2, &second), PF_Err_BAD_CALLBACK_PARAM);

    PF_PathOutlinePtr open = nullptr;
    ASSERT_EQ(suites.query->PF_CheckoutPath(ref, first, 3600, 3600, 86400, &open), PF_Err_NONE);
    EXPECT_EQ(host.last_time, 3600);
    auto missing = reinterpret_cast<PF_PathOutlinePtr>(&host);
    EXPECT_EQ(suites.query->PF_CheckoutPath(ref, 4242, 0, 1, 1, &missing), PF_Err_NONE);
    EXPECT_EQ(missing, nullptr); // no such path
    PF_Boolean is_open = 0;
    A_long segments = 0;
    ASSERT_EQ(suites.data->PF_PathIsOpen(ref, open, &is_open), PF_Err_NONE);
    ASSERT_EQ(suites.data->PF_PathNumSegments(nullptr, open, &segments), PF_Err_NONE);
    EXPECT_TRUE(is_open);
    EXPECT_EQ(segments, 2);
    PF_PathVertex vertex{};
    ASSERT_EQ(suites.data->PF_PathVertexInfo(ref, open, 2, &vertex), PF_Err_NONE);
    EXPECT_EQ(vertex.y, 50);
    EXPECT_EQ(suites.data->PF_PathVertexInfo(ref, open, 3, &vertex), PF_Err_BAD_CALLBACK_PARAM);

    // Segment 1 runs 50 pixels straight down from (100, 0).
    PF_PathSegPrepPtr prep = nullptr;
    ASSERT_EQ(suites.data->PF_PathPrepareSegLength(ref, open, 1, 100, &prep), PF_Err_NONE);
    PF_FpLong length = 0;
    ASSERT_EQ(suites.data->PF_PathGetSegLength(ref, open, 1, &prep, &length), PF_Err_NONE);
    EXPECT_NEAR(length, 50, 1e-9);
    PF_FpLong x = 0, y = 0, dx = 0, dy = 0;
    ASSERT_EQ(suites.data->PF_PathEvalSegLengthDeriv1(ref, open, &prep, 1, 20, &x, &y, &dx, &dy),
              PF_Err_NONE);
    EXPECT_NEAR(x, 100, 1e-9);
    EXPECT_NEAR(y, 20, 1e-9);
    EXPECT_NEAR(dx, 0, 1e-12);
    EXPECT_NEAR(dy, 1, 1e-12);
    // Without a preparation the host measures on the spot; a preparation of another segment is
    // refused.
    ASSERT_EQ(suites.data->PF_PathEvalSegLength(ref, open, nullptr, 0, 30, &x, &y), PF_Err_NONE);
    EXPECT_NEAR(x, 30, 1e-9);
    EXPECT_EQ(suites.data->PF_PathEvalSegLength(ref, open, &prep, 0, 30, &x, &y),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suites.data->PF_PathPrepareSegLength(ref, open, 2, 100, &prep),
              PF_Err_BAD_CALLBACK_PARAM);

    // What is held shows until it comes back; an outline is checked in under its own id only.
    EXPECT_EQ(host.services().paths.leaks().size(), 2u);
    EXPECT_EQ(suites.query->PF_CheckinPath(ref, second, false, open), PF_Err_BAD_CALLBACK_PARAM);
    ASSERT_EQ(suites.data->PF_PathCleanupSegLength(ref, open, 1, &prep), PF_Err_NONE);
    EXPECT_EQ(prep, nullptr);
    ASSERT_EQ(suites.query->PF_CheckinPath(ref, first, false, open), PF_Err_NONE);
    EXPECT_EQ(suites.query->PF_CheckinPath(ref, first, false, open), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(suites.data->PF_PathIsOpen(ref, open, &is_open), PF_Err_BAD_CALLBACK_PARAM);

    // A check-in that fails by injection still takes the outline back.
    PF_PathOutlinePtr closed = nullptr;
    ASSERT_EQ(suites.query->PF_CheckoutPath(ref, second, 0, 3600, 86400, &closed), PF_Err_NONE);
    ASSERT_EQ(suites.data->PF_PathIsOpen(ref, closed, &is_open), PF_Err_NONE);
    EXPECT_FALSE(is_open);
    ASSERT_EQ(suites.data->PF_PathVertexInfo(ref, closed, 4, &vertex), PF_Err_NONE);
    EXPECT_EQ(vertex.x, 10); // a closed path's last vertex index is vertex 0
    host.faults.fail("PF_CheckinPath", 1, 77);
    EXPECT_EQ(suites.query->PF_CheckinPath(ref, second, false, closed), 77);
    EXPECT_TRUE(host.services().paths.leaks().empty());
}

// An 8 x 8 world of opaque white.
host::WorldOwner WhiteWorld(PF_PixelFormat format) {
    PF_Err err = PF_Err_NONE;
    host::WorldOwner world = host::MakeWorld(8, 8, format, err);
    const std::vector<float> white(8 * 8 * 4, 1.0f);
    EXPECT_EQ(host::ReadFloatRgba(white.data(), 0, world.get()), PF_Err_NONE);
    return world;
}

TEST(MaskSuite, DrawsAPathIntoAWorld) {
    // A 4 x 4 square from (2, 2) with its right edge through the middle of column 5.
    MaskHost host({Polygon({{2, 2}, {5.5, 2}, {5.5, 6}, {2, 6}}, true)});
    const auto* query = host.suite<PF_PathQuerySuite1>(kPFPathQuerySuite, 1);
    const auto* masks = host.suite<PF_MaskSuite1>(kPF_MaskSuite, kPF_MaskSuiteVersion1);
    ASSERT_NE(masks, nullptr);
    PF_PathID id = 0;
    PF_PathOutlinePtr outline = nullptr;
    ASSERT_EQ(query->PF_PathInfo(host.effect_ref(), 0, &id), PF_Err_NONE);
    ASSERT_EQ(query->PF_CheckoutPath(host.effect_ref(), id, 0, 1, 1, &outline), PF_Err_NONE);

    for (const PF_PixelFormat format : {PF_PixelFormat_ARGB32, PF_PixelFormat_ARGB128}) {
        for (const bool invert : {false, true}) {
            host::WorldOwner world = WhiteWorld(format);
            std::vector<float> rgba(8 * 8 * 4);
            ASSERT_EQ(masks->PF_MaskWorldWithPath(host.effect_ref(), &outline, 0, 0, invert, 0.5,
                                                  PF_Quality_HI, &world.get(), nullptr),
                      PF_Err_NONE);
            ASSERT_EQ(host::WriteFloatRgba(world.get(), rgba.data(), 0), PF_Err_NONE);
            const auto alpha = [&](int x, int y) { return rgba[(y * 8 + x) * 4 + 3]; };
            const float inside = invert ? 0.0f : 0.5f;
            const float outside = invert ? 0.5f : 0.0f;
            const float tolerance = format == PF_PixelFormat_ARGB32 ? 1.0f / 255 : 1e-6f;
            EXPECT_NEAR(alpha(3, 3), inside, tolerance);
            EXPECT_NEAR(alpha(0, 0), outside, tolerance);
            EXPECT_NEAR(alpha(6, 3), outside, tolerance);
            EXPECT_NEAR(alpha(5, 4), 0.25f, tolerance); // half covered, half opacity
            EXPECT_EQ(rgba[(3 * 8 + 3) * 4], 1.0f);     // colour untouched
        }
    }
    // A horizontal feather spreads the left edge over the pixels beside it, keeping its sum
    // (the kernel is symmetric and the right edge is out of its reach).
    host::WorldOwner soft = WhiteWorld(PF_PixelFormat_ARGB128);
    std::vector<float> ones(8 * 8 * 4);
    ASSERT_EQ(masks->PF_MaskWorldWithPath(host.effect_ref(), &outline, 1, 0, false, 1,
                                          PF_Quality_HI, &soft.get(), nullptr),
              PF_Err_NONE);
    ASSERT_EQ(host::WriteFloatRgba(soft.get(), ones.data(), 0), PF_Err_NONE);
    const float outer = ones[(4 * 8 + 1) * 4 + 3];
    const float inner = ones[(4 * 8 + 2) * 4 + 3];
    EXPECT_NEAR(outer + inner, 1.0f, 1e-5f);
    EXPECT_GT(outer, 0.05f);
    EXPECT_NEAR(ones[(0 * 8 + 3) * 4 + 3], 0.0f, 1e-6f); // no vertical feather
    ASSERT_EQ(query->PF_CheckinPath(host.effect_ref(), id, false, outline), PF_Err_NONE);
}

} // namespace
} // namespace plurion::test
