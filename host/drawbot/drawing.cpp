#include "drawing.h"

namespace plurion::host {
namespace {

thread_local Drawing* active_drawing = nullptr;

const char* KindName(const DrawObject& object) {
    static constexpr const char* kNames[] = {"pen", "brush", "path", "image"};
    return kNames[object.index()];
}

} // namespace

Drawing::Drawing(RgbaImage& image, DrawLog* log) : surface_(image), log_(log) {}

void* Drawing::add(DrawObject object) {
    auto held = std::make_unique<Held>(Held{std::move(object), 1});
    void* ref = held.get();
    objects_.emplace(ref, std::move(held));
    return ref;
}

bool Drawing::retain(const void* ref) {
    const auto found = objects_.find(ref);
    if (found == objects_.end()) {
        return false;
    }
    ++found->second->refs;
    return true;
}

bool Drawing::release(const void* ref) {
    const auto found = objects_.find(ref);
    if (found == objects_.end()) {
        return false;
    }
    if (--found->second->refs == 0) {
        objects_.erase(found);
    }
    return true;
}

void Drawing::log(const char* function, std::initializer_list<double> args) {
    if (log_ != nullptr) {
        log_->push_back({function, args});
    }
}

std::vector<std::string> Drawing::leaks() const {
    std::vector<std::string> out;
    for (const auto& [ref, held] : objects_) {
        out.push_back(std::string("drawing ") + KindName(held->object) + " not released");
    }
    if (surface_.pushed_states() > 0) {
        out.push_back(std::to_string(surface_.pushed_states()) +
                      " drawing states pushed and not popped");
    }
    return out;
}

Drawing* Drawing::Active() {
    return active_drawing;
}

Drawing* Drawing::Active(DRAWBOT_DrawRef ref) {
    return active_drawing != nullptr && active_drawing->ref() == ref ? active_drawing : nullptr;
}

Drawing* Drawing::ActiveWithSupplier(DRAWBOT_SupplierRef ref) {
    return active_drawing != nullptr && active_drawing->supplier_ref() == ref ? active_drawing
                                                                              : nullptr;
}

Drawing* Drawing::ActiveWithSurface(DRAWBOT_SurfaceRef ref) {
    return active_drawing != nullptr && active_drawing->surface_ref() == ref ? active_drawing
                                                                             : nullptr;
}

Drawing::Scope::Scope(Drawing& drawing) : previous_(active_drawing) {
    active_drawing = &drawing;
}

Drawing::Scope::~Scope() {
    active_drawing = previous_;
}

} // namespace plurion::host
