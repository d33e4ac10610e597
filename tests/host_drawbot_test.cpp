// The host's drawing: the coverage rasteriser on its own against areas worked out independently
// (exact overlaps for axis-aligned edges, dense point sampling for slanted ones), strokes, the
// surface's blending and state, and the DRAWBOT suites over a drawing.
#include "adobesdk/DrawbotSuite.h"
#include "drawbot/coverage_raster.h"
#include "drawbot/draw_surface.h"
#include "drawbot/drawing.h"
#include "suites/host_services.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace plurion::host {
namespace {

// Coverage of a w x h grid of pixels.
std::vector<float> Coverage(const std::vector<Polygon>& polygons, FillRule rule, A_long w,
                            A_long h) {
    std::vector<float> out(static_cast<std::size_t>(w * h), 0.0f);
    RasterizeCoverage(polygons, rule, {0, 0, w, h},
                      [&](A_long y, A_long x, const float* c, A_long count) {
                          for (A_long i = 0; i < count; ++i) {
                              out[static_cast<std::size_t>(y * w + x + i)] = c[i];
                          }
                      });
    return out;
}

double Overlap(double a0, double a1, double b0, double b1) {
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

// Crossing-number test, independent of the rasteriser.
bool InsidePolygon(const Polygon& p, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > y) != (p[j].y > y) &&
            x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x) {
            inside = !inside;
        }
    }
    return inside;
}

TEST(CoverageRaster, AxisAlignedEdgesCoverTheirExactArea) {
    const double l = 1.25, t = 0.5, r = 3.5, b = 2.0;
    const auto c = Coverage({{{l, t}, {r, t}, {r, b}, {l, b}}}, FillRule::NonZero, 5, 3);
    for (A_long y = 0; y < 3; ++y) {
        for (A_long x = 0; x < 5; ++x) {
            EXPECT_NEAR(c[static_cast<std::size_t>(y * 5 + x)],
                        Overlap(x, x + 1, l, r) * Overlap(y, y + 1, t, b), 1e-6)
                << x << ", " << y;
        }
    }
}

TEST(CoverageRaster, SlantedEdgesMatchDenseSampling) {
    const std::vector<Polygon> shapes = {
        {{0.3, 0.7}, {9.6, 2.2}, {3.1, 8.8}},                      // a triangle
        {{5, 0.5}, {9.5, 5}, {5, 9.5}, {0.5, 5}},                  // a square on its corner
        {{1, 1}, {8.7, 1.4}, {4.2, 4.9}, {8.1, 8.6}, {0.8, 7.3}}}; // a concave outline
    constexpr int kSamples = 64;
    for (const Polygon& shape : shapes) {
        const auto c = Coverage({shape}, FillRule::NonZero, 10, 10);
        double total = 0;
        for (A_long y = 0; y < 10; ++y) {
            for (A_long x = 0; x < 10; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy) {
                    for (int sx = 0; sx < kSamples; ++sx) {
                        hits += InsidePolygon(shape, x + (sx + 0.5) / kSamples,
                                              y + (sy + 0.5) / kSamples);
                    }
                }
                const float got = c[static_cast<std::size_t>(y * 10 + x)];
                EXPECT_NEAR(got, hits / double(kSamples * kSamples), 0.03) << x << ", " << y;
                total += got;
            }
        }
        double area = 0; // shoelace
        for (std::size_t i = 0; i < shape.size(); ++i) {
            const Point a = shape[i], b = shape[(i + 1) % shape.size()];
            area += a.x * b.y - b.x * a.y;
        }
        EXPECT_NEAR(total, std::abs(area) / 2, 1e-4);
    }
}

TEST(CoverageRaster, FillRulesDecideOverlapsAndHoles) {
    const Polygon a = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    const Polygon b = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    const auto union_ = Coverage({a, b}, FillRule::NonZero, 6, 6);
    const auto odd = Coverage({a, b}, FillRule::EvenOdd, 6, 6);
    EXPECT_FLOAT_EQ(union_[3 * 6 + 3], 1.0f); // covered twice, counted once
    EXPECT_FLOAT_EQ(odd[3 * 6 + 3], 0.0f);
    EXPECT_FLOAT_EQ(union_[1 * 6 + 1], 1.0f);
    EXPECT_FLOAT_EQ(odd[5 * 6 + 5], 1.0f);
    EXPECT_FLOAT_EQ(union_[0 * 6 + 5], 0.0f);
    // A square run the other way round inside another cuts a hole under non-zero.
    const Polygon outer = {{0, 0}, {6, 0}, {6, 6}, {0, 6}};
    const Polygon inner = {{2, 2}, {2, 4}, {4, 4}, {4, 2}};
    const auto holed = Coverage({outer, inner}, FillRule::NonZero, 6, 6);
    EXPECT_FLOAT_EQ(holed[2 * 6 + 2], 0.0f);
    EXPECT_FLOAT_EQ(holed[1 * 6 + 2], 1.0f);
}

TEST(Stroke, SquareOutlineWithMitredCorners) {
    const Subpath square{{{2, 2}, {8, 2}, {8, 8}, {2, 8}}, true};
    const auto c = Coverage(StrokePolygons({square}, 2.0), FillRule::NonZero, 10, 10);
    for (A_long y = 0; y < 10; ++y) {
        for (A_long x = 0; x < 10; ++x) {
            // The band from 1 to 9 less the inside from 3 to 7, whole pixels each.
            const bool in_band = x >= 1 && x < 9 && y >= 1 && y < 9;
            const bool inside = x >= 3 && x < 7 && y >= 3 && y < 7;
            EXPECT_FLOAT_EQ(c[static_cast<std::size_t>(y * 10 + x)],
                            in_band && !inside ? 1.0f : 0.0f)
                << x << ", " << y;
        }
    }
}

TEST(Stroke, ThinLinesShareTheirPixels) {
    // One pixel wide on a pixel edge: half of each neighbour; butt ends stop at the points.
    const auto vertical =
        Coverage(StrokePolygons({{{{5, 1}, {5, 6}}, false}}, 1.0), FillRule::NonZero, 10, 8);
    for (A_long y = 0; y < 8; ++y) {
        const float expected = y >= 1 && y < 6 ? 0.5f : 0.0f;
        EXPECT_FLOAT_EQ(vertical[static_cast<std::size_t>(y * 10 + 4)], expected) << y;
        EXPECT_FLOAT_EQ(vertical[static_cast<std::size_t>(y * 10 + 5)], expected) << y;
        EXPECT_FLOAT_EQ(vertical[static_cast<std::size_t>(y * 10 + 6)], 0.0f) << y;
    }
    const auto horizontal =
        Coverage(StrokePolygons({{{{1, 2.25}, {6, 2.25}}, false}}, 1.0), FillRule::NonZero, 8, 4);
    EXPECT_NEAR(horizontal[1 * 8 + 3], 0.25, 1e-6); // 1.75 to 2
    EXPECT_NEAR(horizontal[2 * 8 + 3], 0.75, 1e-6); // 2 to 2.75
}

RgbaImage Solid(int w, int h, ColorF color) {
    RgbaImage image = MakeRgbaImage(w, h);
    for (std::size_t i = 0; i < image.rgba.size(); ++i) {
        image.rgba[i] = color[i % 4];
    }
    return image;
}

TEST(DrawSurface, PaintIsLaidOverWithItsCoverage) {
    RgbaImage image = Solid(4, 1, {0, 0, 1, 1});
    DrawSurface surface(image);
    // Pixel 0 fully covered, pixel 1 half, at half alpha.
    surface.paint_rect({1, 0, 0, 0.5f}, 0, 0, 1.5, 1);
    EXPECT_NEAR(image.rgba[0], 0.5, 1e-6);
    EXPECT_NEAR(image.rgba[2], 0.5, 1e-6);
    EXPECT_NEAR(image.rgba[3], 1.0, 1e-6);
    EXPECT_NEAR(image.rgba[4], 0.25, 1e-6);
    EXPECT_NEAR(image.rgba[6], 0.75, 1e-6);
    // Over transparency the colour stays straight and the alpha is the paint's.
    RgbaImage clear = MakeRgbaImage(2, 1);
    DrawSurface over_clear(clear);
    over_clear.paint_rect({1, 0.5f, 0, 0.5f}, 0, 0, 1, 1);
    EXPECT_NEAR(clear.rgba[1], 0.5, 1e-6);
    EXPECT_NEAR(clear.rgba[3], 0.5, 1e-6);
    // Without anti-aliasing a pixel is covered from half on.
    over_clear.set_antialias(false);
    over_clear.paint_rect({0, 0, 1, 1}, 1, 0, 0.5, 1);
    EXPECT_NEAR(clear.rgba[4 + 2], 1.0, 1e-6);
    over_clear.paint_rect({0, 1, 0, 1}, 1, 0, 0.4, 1);
    EXPECT_NEAR(clear.rgba[4 + 1], 0.0, 1e-6);
}

TEST(DrawSurface, TransformAndClipFollowTheStateStack) {
    RgbaImage image = MakeRgbaImage(8, 4);
    DrawSurface surface(image);
    const auto alpha = [&](int x, int y) { return image.rgba[PixelOffset(image, x, y) + 3]; };
    surface.push_state();
    surface.concat({2, 0, 0, 2, 3, 1}); // scale by 2, then move by (3, 1)
    surface.paint_rect({1, 1, 1, 1}, 0, 0, 1, 1);
    EXPECT_FLOAT_EQ(alpha(3, 1), 1.0f);
    EXPECT_FLOAT_EQ(alpha(4, 2), 1.0f);
    EXPECT_FLOAT_EQ(alpha(5, 1), 0.0f);
    surface.clip_to(0, 0, 1, 0.5); // pixels 3-4 of row 1 only
    surface.paint_rect({1, 1, 1, 1}, 0, 0, 3, 3);
    EXPECT_FLOAT_EQ(alpha(5, 1), 0.0f);
    EXPECT_TRUE(surface.pop_state());
    EXPECT_FALSE(surface.pop_state());
    surface.paint_rect({1, 1, 1, 1}, 0, 3, 1, 1);
    EXPECT_FLOAT_EQ(alpha(0, 3), 1.0f);
}

// The suites as the effect reaches them, through the basic suite.
template <class Suite>
const Suite* Acquire(HostServices& services, const char* name, int version) {
    const void* table = nullptr;
    EXPECT_EQ(services.basic.AcquireSuite(name, version, &table), kSPNoError) << name;
    return static_cast<const Suite*>(table);
}

TEST(DrawbotSuites, DrawOnTheActiveDrawingAndCountItsObjects) {
    FaultInjector faults;
    HostServices services(faults);
    ActiveHostScope host(services);
    const auto* draw = Acquire<DRAWBOT_DrawbotSuite1>(services, kDRAWBOT_DrawSuite, 1);
    const auto* supplier = Acquire<DRAWBOT_SupplierSuite1>(services, kDRAWBOT_SupplierSuite, 1);
    const auto* surface = Acquire<DRAWBOT_SurfaceSuite2>(services, kDRAWBOT_SurfaceSuite, 2);
    const auto* path = Acquire<DRAWBOT_PathSuite1>(services, kDRAWBOT_PathSuite, 1);

    RgbaImage image = MakeRgbaImage(40, 40);
    DrawLog log;
    Drawing drawing(image, &log);
    DRAWBOT_SupplierRef supplier_ref = nullptr;
    // Outside its draw event a drawing reference is refused.
    EXPECT_EQ(draw->GetSupplier(drawing.ref(), &supplier_ref), kSPBadParameterError);
    {
        const Drawing::Scope active(drawing);
        DRAWBOT_SurfaceRef surface_ref = nullptr;
        ASSERT_EQ(draw->GetSupplier(drawing.ref(), &supplier_ref), kSPNoError);
        ASSERT_EQ(draw->GetSurface(drawing.ref(), &surface_ref), kSPNoError);
        DRAWBOT_PathRef circle = nullptr;
        DRAWBOT_BrushRef brush = nullptr;
        ASSERT_EQ(supplier->NewPath(supplier_ref, &circle), kSPNoError);
        const DRAWBOT_ColorRGBA white{1, 1, 1, 1};
        ASSERT_EQ(supplier->NewBrush(supplier_ref, &white, &brush), kSPNoError);
        const DRAWBOT_PointF32 center{20, 20};
        ASSERT_EQ(path->AddArc(circle, &center, 15, 0, 360), kSPNoError);
        ASSERT_EQ(path->Close(circle), kSPNoError);
        ASSERT_EQ(surface->FillPath(surface_ref, brush, circle, kDRAWBOT_FillType_Winding),
                  kSPNoError);
        // A pen is not a brush.
        EXPECT_EQ(surface->FillPath(surface_ref, reinterpret_cast<DRAWBOT_BrushRef>(circle), circle,
                                    kDRAWBOT_FillType_Winding),
                  kSPBadParameterError);
        EXPECT_EQ(supplier->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(brush)), kSPNoError);
        EXPECT_EQ(drawing.leaks(), std::vector<std::string>{"drawing path not released"});
        EXPECT_EQ(supplier->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(circle)), kSPNoError);
        EXPECT_EQ(supplier->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(circle)),
                  kSPBadParameterError);
        ASSERT_EQ(surface->PushStateStack(surface_ref), kSPNoError);
        EXPECT_EQ(drawing.leaks().size(), 1u);
        ASSERT_EQ(surface->PopStateStack(surface_ref), kSPNoError);
    }
    EXPECT_TRUE(drawing.leaks().empty());
    double area = 0;
    for (std::size_t i = 3; i < image.rgba.size(); i += 4) {
        area += image.rgba[i];
    }
    // The flattened circle lies inside the circle, its chords at most 0.05 pixels from it.
    EXPECT_LT(area, std::numbers::pi * 15 * 15);
    EXPECT_GT(area, std::numbers::pi * 15 * 15 - 2 * std::numbers::pi * 15 * 0.05);
    EXPECT_EQ(log.front().function, "NewPath");
    for (const char* name : {kDRAWBOT_DrawSuite, kDRAWBOT_SupplierSuite, kDRAWBOT_PathSuite}) {
        EXPECT_EQ(services.basic.ReleaseSuite(name, 1), kSPNoError);
    }
    EXPECT_EQ(services.basic.ReleaseSuite(kDRAWBOT_SurfaceSuite, 2), kSPNoError);
    EXPECT_TRUE(services.leaks().empty());
}

} // namespace
} // namespace plurion::host
