#include "suites/aegp_objects.h"

#include <algorithm>

namespace plurion::host {

AegpObjects::AegpObjects() = default;
AegpObjects::~AegpObjects() = default;

void AegpObjects::attach(PF_ProgPtr effect_ref, const AegpScene* scene) {
    std::lock_guard lock(mutex_);
    effect_ref_ = effect_ref;
    scene_ = scene;
}

bool AegpObjects::is_attached_effect(PF_ProgPtr effect_ref) const {
    std::lock_guard lock(mutex_);
    return scene_ != nullptr && effect_ref == effect_ref_;
}

void AegpObjects::attach_stream_flags(AegpStreamFlags* flags) {
    std::lock_guard lock(mutex_);
    stream_flags_ = flags;
}

AegpStreamFlags* AegpObjects::stream_flags() const {
    std::lock_guard lock(mutex_);
    return stream_flags_;
}

AEGP_PluginID AegpObjects::register_plugin(const std::string& name) {
    std::lock_guard lock(mutex_);
    const auto next = static_cast<AEGP_PluginID>(plugins_.size()) + 1;
    return plugins_.emplace(name, next).first->second;
}

void* AegpObjects::make(Kind kind, PF_ParamIndex param, AEGP_LayerIDVal id) {
    auto object = std::make_unique<Object>();
    object->kind = kind;
    object->param = param;
    object->id = id;
    object->self = object.get();
    void* handle = &object->self;
    objects_.emplace(handle, std::move(object));
    return handle;
}

AegpObjects::Object* AegpObjects::find(const void* handle, Kind kind) const {
    const auto found = objects_.find(handle);
    if (found == objects_.end() || found->second->kind != kind) {
        return nullptr;
    }
    return found->second.get();
}

AEGP_EffectRefH AegpObjects::new_effect() {
    std::lock_guard lock(mutex_);
    ++counts_.effects;
    return static_cast<AEGP_EffectRefH>(make(Kind::Effect, 0, 0));
}

bool AegpObjects::is_effect(AEGP_EffectRefH effect) const {
    std::lock_guard lock(mutex_);
    return find(effect, Kind::Effect) != nullptr;
}

bool AegpObjects::dispose_effect(AEGP_EffectRefH effect) {
    std::lock_guard lock(mutex_);
    if (find(effect, Kind::Effect) == nullptr) {
        return false;
    }
    objects_.erase(effect);
    return true;
}

AEGP_StreamRefH AegpObjects::new_stream(PF_ParamIndex index) {
    std::lock_guard lock(mutex_);
    ++counts_.streams;
    return static_cast<AEGP_StreamRefH>(make(Kind::Stream, index, 0));
}

std::optional<PF_ParamIndex> AegpObjects::stream_param(AEGP_StreamRefH stream) const {
    std::lock_guard lock(mutex_);
    const Object* object = find(stream, Kind::Stream);
    if (object == nullptr || object->disposed) {
        return std::nullopt;
    }
    return object->param;
}

bool AegpObjects::dispose_stream(AEGP_StreamRefH stream) {
    std::lock_guard lock(mutex_);
    Object* object = find(stream, Kind::Stream);
    if (object == nullptr || object->disposed) {
        return false;
    }
    // A value taken from the stream may outlive it; its count stays until it is disposed.
    if (object->values > 0) {
        object->disposed = true;
    } else {
        objects_.erase(stream);
    }
    return true;
}

void AegpObjects::new_stream_value(AEGP_StreamRefH stream) {
    std::lock_guard lock(mutex_);
    if (Object* object = find(stream, Kind::Stream)) {
        ++object->values;
        ++counts_.stream_values;
    }
}

bool AegpObjects::dispose_stream_value(AEGP_StreamRefH stream) {
    std::lock_guard lock(mutex_);
    Object* object = find(stream, Kind::Stream);
    if (object == nullptr || object->values == 0) {
        return false;
    }
    if (--object->values == 0 && object->disposed) {
        objects_.erase(stream);
    }
    return true;
}

AEGP_LayerH AegpObjects::layer(AEGP_LayerIDVal id) {
    std::lock_guard lock(mutex_);
    auto [at, added] = layers_.emplace(id, nullptr);
    if (added) {
        at->second = make(Kind::Layer, 0, id);
        ++counts_.layers;
    }
    return static_cast<AEGP_LayerH>(at->second);
}

std::optional<AEGP_LayerIDVal> AegpObjects::layer_id(AEGP_LayerH layer) const {
    std::lock_guard lock(mutex_);
    const Object* object = find(layer, Kind::Layer);
    return object == nullptr ? std::nullopt : std::optional(object->id);
}

AEGP_CompH AegpObjects::comp() {
    std::lock_guard lock(mutex_);
    if (comp_ == nullptr) {
        comp_ = make(Kind::Comp, 0, 0);
    }
    return static_cast<AEGP_CompH>(comp_);
}

bool AegpObjects::is_comp(AEGP_CompH comp) const {
    std::lock_guard lock(mutex_);
    return find(comp, Kind::Comp) != nullptr;
}

AegpObjects::Counts AegpObjects::handed_out() const {
    std::lock_guard lock(mutex_);
    return counts_;
}

std::vector<std::string> AegpObjects::leaks() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& [handle, object] : objects_) {
        const std::string param = " of parameter " + std::to_string(object->param);
        if (object->kind == Kind::Effect) {
            out.push_back("AEGP effect reference not disposed");
        } else if (object->kind == Kind::Stream) {
            if (!object->disposed) {
                out.push_back("AEGP stream" + param + " not disposed");
            }
            if (object->values > 0) {
                out.push_back(std::to_string(object->values) + " AEGP stream values" + param +
                              " not disposed");
            }
        }
    }
    // Objects are kept by address; the report should not depend on it.
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace plurion::host
