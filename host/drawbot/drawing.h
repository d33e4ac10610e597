// One drawing reference (DRAWBOT_DrawRef) as the host hands it out for a draw event: the surface
// the effect draws on, the supplier and surface references that belong to it, and the objects
// (pens, brushes, paths, images) the effect makes through the supplier. Objects are reference
// counted; whatever the effect has not released when the event ends, and any drawing state it
// pushed and did not pop, is reported by leaks(). Every call may be written to a log of drawing
// calls, so that tests and tools can see what was drawn with which values.
//
// The drawing suites reach the drawing of the event running on their thread through Active(), as
// their object functions carry no reference to it; a reference used outside its draw event is
// refused.
#pragma once

#include "AE_EffectUI.h"
#include "draw_surface.h"

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace plurion::host {

struct DrawCall {
    std::string function;
    std::vector<double> args;
};
using DrawLog = std::vector<DrawCall>;

struct PenObject {
    ColorF color{};
    double width = 1;
};
struct BrushObject {
    ColorF color{};
};
struct PathObject {
    std::vector<Subpath> subpaths;
    bool open = false; // the last subpath takes more points
};
struct ImageObject {
    RgbaImage image;
};
using DrawObject = std::variant<PenObject, BrushObject, PathObject, ImageObject>;

class Drawing {
  public:
    explicit Drawing(RgbaImage& image, DrawLog* log = nullptr);
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    DRAWBOT_DrawRef ref() { return reinterpret_cast<DRAWBOT_DrawRef>(this); }
    DRAWBOT_SupplierRef supplier_ref() {
        return reinterpret_cast<DRAWBOT_SupplierRef>(&supplier_tag_);
    }
    DRAWBOT_SurfaceRef surface_ref() { return reinterpret_cast<DRAWBOT_SurfaceRef>(&surface_tag_); }
    DrawSurface& surface() { return surface_; }
    DRAWBOT_InterpolationPolicy interpolation() const { return interpolation_; }
    void set_interpolation(DRAWBOT_InterpolationPolicy policy) { interpolation_ = policy; }

    // Takes a new object with one reference and returns its reference.
    void* add(DrawObject object);
    // The live object of that kind behind a reference, or null.
    template <class T>
    T* find(const void* ref) {
        const auto found = objects_.find(ref);
        return found == objects_.end() ? nullptr : std::get_if<T>(&found->second->object);
    }
    // False for a reference that is not a live object of this drawing.
    bool retain(const void* ref);
    bool release(const void* ref);

    void log(const char* function, std::initializer_list<double> args = {});

    // Objects not released and states not popped, one line each.
    std::vector<std::string> leaks() const;

    // The drawing of the draw event running on this thread, or null.
    static Drawing* Active();
    // The active drawing if `ref` is its reference, else null.
    static Drawing* Active(DRAWBOT_DrawRef ref);
    static Drawing* ActiveWithSupplier(DRAWBOT_SupplierRef ref);
    static Drawing* ActiveWithSurface(DRAWBOT_SurfaceRef ref);

    // Makes a drawing the active one of this thread for the length of a draw event.
    class Scope {
      public:
        explicit Scope(Drawing& drawing);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        Drawing* previous_;
    };

  private:
    struct Held {
        DrawObject object;
        int refs = 1;
    };
    DrawSurface surface_;
    DrawLog* log_;
    DRAWBOT_InterpolationPolicy interpolation_ = kDRAWBOT_InterpolationPolicy_Med;
    std::map<const void*, std::unique_ptr<Held>> objects_;
    char supplier_tag_ = 0;
    char surface_tag_ = 0;
};

} // namespace plurion::host
