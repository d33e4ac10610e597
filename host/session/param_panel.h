// The effect's panel as the host keeps it for one effect instance over a scene: each
// parameter's hidden flag and current definition, the values (in the scene), and user edits.
// An edit of a parameter registered with PF_ParamFlag_SUPERVISE is sent to the effect as
// PF_Cmd_USER_CHANGED_PARAM, as the real host does; during that command the effect may hide and
// show parameters ("AEGP Dynamic Stream Suite"), change their presentation (PF_UpdateParamUI)
// and change other values (PF_ChangeFlag_CHANGED_VALUE), which the host takes back. Each
// command runs with its own services: whatever the effect takes during it must be given back by
// its end.
//
// The command line (`plurion params --scene/--set`) and the scene loader drive it; so can any
// other front end that shows the panel.
#pragma once

#include "scene/scene.h"
#include "session/effect_session.h"
#include "suites/aegp_objects.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace plurion::host {

// A value the effect handed back with PF_ChangeFlag_CHANGED_VALUE, in scene units.
struct ValueChange {
    int index = 0;
    ParamValue before;
    ParamValue after;
};

// What the effect asked of the panel during a command, in the order it asked.
struct PanelCall {
    enum class Kind { Hide, Show, UpdateUi };
    Kind kind = Kind::Hide;
    int index = 0;
};

// One user edit and what came of it.
struct EditReport {
    ParamEdit edit;
    bool supervised = false;     // the effect was sent PF_Cmd_USER_CHANGED_PARAM
    PF_Err result = PF_Err_NONE; // the effect's first error in the edit's commands
    std::vector<ValueChange> changes;
    std::vector<PanelCall> calls;
};

// A command after which the effect still held something of the host's, or a scene edit that the
// effect answered with an error; the message names the command or the edit.
class PanelError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class PanelCommand;

class ParamPanel final : private AegpStreamFlags {
  public:
    // The panel of the session's effect (after parameter set-up) over `scene`, at composition
    // frame `frame`. A parameter registered with PF_PUI_INVISIBLE starts hidden. The effect is
    // sent PF_Cmd_UPDATE_PARAMS_UI when it asks for it, then the scene's edits are made in
    // order; an edit the effect answers with an error throws PanelError.
    ParamPanel(EffectSession& session, Scene scene, double frame = 0.0);
    ~ParamPanel() override;
    ParamPanel(const ParamPanel&) = delete;
    ParamPanel& operator=(const ParamPanel&) = delete;

    // A user edit: the value is stored at the panel's frame (a key there when the parameter is
    // animated) and, for a supervised parameter, the effect is told; the values it changes are
    // stored too. The effect's error is reported, not thrown.
    EditReport edit(const ParamEdit& edit);

    // The values as the edits left them; no edits are pending in it.
    const Scene& scene() const { return scene_; }
    const ParamRegistry& params() const { return session_.params(); }
    double frame() const { return frame_; }
    // Every edit made, the scene's first.
    const std::vector<EditReport>& history() const { return history_; }

    // The parameter's own hidden flag (its stream's AEGP_DynStreamFlag_HIDDEN).
    bool hidden(PF_ParamIndex index) const override;
    // Shown in the panel: neither it nor a group around it is hidden.
    bool visible(int index) const;
    // The definition the effect is handed: the presentation as the effect last set it and the
    // value at the panel's frame.
    PF_ParamDef definition(int index) const;
    ParamValue value(int index) const;

  private:
    friend class PanelCommand;

    // Sends one command with the current definitions and returns the effect's result; after
    // PF_Cmd_USER_CHANGED_PARAM the changed values are taken back into `report`.
    PF_Err send(PF_Cmd cmd, PF_UserChangedParamExtra* extra, EditReport& report);
    PF_Err update_param_ui(PF_ParamIndex index, const PF_ParamDef& def);

    // AegpStreamFlags: the effect's hide and show calls.
    void set_hidden(PF_ParamIndex index, bool hidden) override;

    EffectSession& session_;
    Scene scene_;
    double frame_;
    bool sends_update_params_ui_ = false;
    std::vector<PF_ParamDef> presentation_; // definitions as registered, then as updated
    std::vector<bool> hidden_;
    std::vector<int> group_of_; // the group start around each parameter, -1 at the top level
    std::vector<EditReport> history_;
    std::vector<PanelCall>* calls_ = nullptr; // of the command being sent
};

} // namespace plurion::host
