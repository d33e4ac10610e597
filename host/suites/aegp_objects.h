// The host's AEGP side: the objects the AEGP suites hand out (effect references, parameter
// streams, stream values, layer and composition handles) and the scene facts they answer from.
// Objects live in a table of one call's services: each handle is checked against it, and at the
// end of the call the effect references, streams and stream values not disposed are reported,
// like worlds and handles. Layer and composition handles are references into the scene that the
// effect never disposes; they stay valid for the whole call.
#pragma once

#include "AE_GeneralPlug.h"

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace plurion::host {

class SuiteRegistry;

// What the AEGP suites know of the scene being rendered. Times are in the composition's time
// scale; layer ids are unique within the composition and never 0.
class AegpScene {
  public:
    virtual ~AegpScene() = default;

    struct LayerTimes {
        A_Time in_point; // composition time at which the layer's frame 0 shows
        A_Time duration;
    };
    // A value of a parameter stream, as "AEGP Stream Suite" hands it over.
    struct StreamAnswer {
        AEGP_StreamType type = AEGP_StreamType_NO_DATA;
        AEGP_StreamVal value{};
    };

    virtual AEGP_LayerIDVal effect_layer_id() const = 0;
    // The in point and duration of a layer of the composition; nothing for an unknown id.
    virtual std::optional<LayerTimes> layer(AEGP_LayerIDVal id) const = 0;
    // The composition time being rendered.
    virtual A_Time current_time() const = 0;
    // The number of the effect's parameters, its input layer (index 0) included.
    virtual A_long param_count() const = 0;
    // Parameter `index` at composition time `time`: a layer parameter as the id of its layer (0
    // for none), numbers as one value, points as two. Nothing for an index out of range.
    virtual std::optional<StreamAnswer> param_value(PF_ParamIndex index,
                                                    const A_Time& time) const = 0;
};

// The hidden flags of the effect's parameter streams, as the project keeps them between
// commands. Only a command of the effect's panel offers them; during a frame the flags cannot
// be read or changed.
class AegpStreamFlags {
  public:
    virtual ~AegpStreamFlags() = default;
    virtual bool hidden(PF_ParamIndex index) const = 0;
    virtual void set_hidden(PF_ParamIndex index, bool hidden) = 0;
};

class AegpObjects {
  public:
    AegpObjects();
    ~AegpObjects();
    AegpObjects(const AegpObjects&) = delete;
    AegpObjects& operator=(const AegpObjects&) = delete;

    // The effect call the suites answer for and the scene they answer from; until then (and
    // outside a frame) every AEGP call is refused.
    void attach(PF_ProgPtr effect_ref, const AegpScene* scene);
    const AegpScene* scene() const { return scene_; }
    bool is_attached_effect(PF_ProgPtr effect_ref) const;
    // The stream flags the dynamic stream suite changes; null (the default) refuses them.
    void attach_stream_flags(AegpStreamFlags* flags);
    AegpStreamFlags* stream_flags() const;

    // The plug-in id of a name registered with AEGP: 1, 2, ... in the order names first come,
    // the same id again for a name already registered.
    AEGP_PluginID register_plugin(const std::string& name);

    AEGP_EffectRefH new_effect();
    bool is_effect(AEGP_EffectRefH effect) const;
    bool dispose_effect(AEGP_EffectRefH effect); // false for a handle the table does not know

    AEGP_StreamRefH new_stream(PF_ParamIndex index);
    // The parameter of a live stream; nothing for an unknown handle.
    std::optional<PF_ParamIndex> stream_param(AEGP_StreamRefH stream) const;
    bool dispose_stream(AEGP_StreamRefH stream);

    // A stream value is counted against the stream it came from until it is disposed.
    void new_stream_value(AEGP_StreamRefH stream);
    bool dispose_stream_value(AEGP_StreamRefH stream);

    // The one handle of a layer id (made on first use) and the id behind a handle.
    AEGP_LayerH layer(AEGP_LayerIDVal id);
    std::optional<AEGP_LayerIDVal> layer_id(AEGP_LayerH layer) const;
    AEGP_CompH comp();
    bool is_comp(AEGP_CompH comp) const;

    // How many of each the table has handed out.
    struct Counts {
        int effects = 0;
        int streams = 0;
        int stream_values = 0;
        int layers = 0;
    };
    Counts handed_out() const;

    // Effect references, streams and stream values not disposed, one line each.
    std::vector<std::string> leaks() const;

  private:
    enum class Kind { Effect, Stream, Layer, Comp };
    // A handle is the address of `self`, as the interface's handles point to a pointer.
    struct Object {
        void* self = nullptr;
        Kind kind = Kind::Effect;
        PF_ParamIndex param = 0; // streams
        AEGP_LayerIDVal id = 0;  // layers
        int values = 0;          // streams: values not yet disposed
        bool disposed = false;   // streams keep their record while values are out
    };
    void* make(Kind kind, PF_ParamIndex param, AEGP_LayerIDVal id);
    Object* find(const void* handle, Kind kind) const;

    mutable std::mutex mutex_;
    PF_ProgPtr effect_ref_ = nullptr;
    const AegpScene* scene_ = nullptr;
    AegpStreamFlags* stream_flags_ = nullptr;
    std::map<std::string, AEGP_PluginID> plugins_;
    std::map<const void*, std::unique_ptr<Object>> objects_;
    std::map<AEGP_LayerIDVal, void*> layers_;
    void* comp_ = nullptr;
    Counts counts_;
};

// The AEGP suites the effect asks for, one family a file: "AEGP PF Interface Suite" 1,
// "AEGP Stream Suite" 7, "AEGP Layer Suite" 11 and 13, "AEGP Effect Suite" 2, "AEGP Utility
// Suite" 11, "AEGP Dynamic Stream Suite" 2.
void RegisterAegpPFInterfaceSuite(SuiteRegistry& registry);
void RegisterAegpStreamSuite(SuiteRegistry& registry);
void RegisterAegpLayerSuite(SuiteRegistry& registry);
void RegisterAegpEffectSuite(SuiteRegistry& registry);
void RegisterAegpUtilitySuite(SuiteRegistry& registry);
void RegisterAegpDynamicStreamSuite(SuiteRegistry& registry);

} // namespace plurion::host
