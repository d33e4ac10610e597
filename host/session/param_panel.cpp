#include "session/param_panel.h"

#include "scene/param_edit.h"
#include "scene/param_values.h"
#include "session/param_ui.h"
#include "session/scene_aegp.h"
#include "session/time_units.h"

#include <cstring>

namespace plurion::host {

// One command of the panel: the effect_ref the effect calls back through, with services of its
// own so that what the effect takes during the command is counted apart.
class PanelCommand final : public HostCallTarget {
  public:
    PanelCommand(ParamPanel& panel, const char* command)
        : panel_(panel), command_(command), services_(panel.session_.faults()) {}

    HostServices& services() override { return services_; }
    const char* command() const override { return command_; }
    PF_Err update_param_ui(PF_ParamIndex index, const PF_ParamDef& def) override {
        return panel_.update_param_ui(index, def);
    }

  private:
    ParamPanel& panel_;
    const char* command_;
    HostServices services_;
};

namespace {

const char* CommandName(PF_Cmd cmd) {
    return cmd == PF_Cmd_USER_CHANGED_PARAM ? "PF_Cmd_USER_CHANGED_PARAM"
                                            : "PF_Cmd_UPDATE_PARAMS_UI";
}

bool HoldsValue(PF_ParamType type) {
    switch (type) {
    case PF_Param_POPUP:
    case PF_Param_SLIDER:
    case PF_Param_FLOAT_SLIDER:
    case PF_Param_ANGLE:
    case PF_Param_POINT:
    case PF_Param_CHECKBOX:
        return true;
    default:
        return false; // layers are the user's to choose; groups hold nothing
    }
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text.append(text.empty() ? "" : "; ").append(line);
    }
    return text;
}

} // namespace

ParamPanel::ParamPanel(EffectSession& session, Scene scene, double frame)
    : session_(session), scene_(std::move(scene)), frame_(frame) {
    const ParamRegistry& registry = session_.params();
    std::vector<int> open_groups;
    for (const RegisteredParam& param : registry.params()) {
        presentation_.push_back(param.def);
        hidden_.push_back((param.def.ui_flags & PF_PUI_INVISIBLE) != 0);
        group_of_.push_back(open_groups.empty() ? -1 : open_groups.back());
        if (param.def.param_type == PF_Param_GROUP_START) {
            open_groups.push_back(param.index);
        } else if (param.def.param_type == PF_Param_GROUP_END && !open_groups.empty()) {
            // The end belongs to the group it closes.
            group_of_.back() = open_groups.back();
            open_groups.pop_back();
        }
        sends_update_params_ui_ |= (param.def.flags & PF_ParamFlag_SUPERVISE) != 0;
    }
    sends_update_params_ui_ |= (session_.out_flags() & PF_OutFlag_SEND_UPDATE_PARAMS_UI) != 0;

    const std::vector<ParamEdit> pending = std::move(scene_.edits);
    scene_.edits.clear();
    if (sends_update_params_ui_) {
        EditReport opening;
        if (const PF_Err err = send(PF_Cmd_UPDATE_PARAMS_UI, nullptr, opening)) {
            throw PanelError("the effect answered PF_Cmd_UPDATE_PARAMS_UI with error " +
                             std::to_string(err));
        }
    }
    for (const ParamEdit& pending_edit : pending) {
        const EditReport report = edit(pending_edit);
        if (report.result != PF_Err_NONE) {
            throw PanelError(pending_edit.where + ": the effect refused the edit with error " +
                             std::to_string(report.result));
        }
    }
}

ParamPanel::~ParamPanel() = default;

EditReport ParamPanel::edit(const ParamEdit& edit) {
    const RegisteredParam& param = session_.params().at(edit.index);
    EditReport report;
    report.edit = edit;
    SetParamValue(scene_, edit.index, frame_, edit.value);
    if ((param.def.flags & PF_ParamFlag_SUPERVISE) != 0) {
        report.supervised = true;
        PF_UserChangedParamExtra extra{edit.index};
        report.result = send(PF_Cmd_USER_CHANGED_PARAM, &extra, report);
    }
    if (sends_update_params_ui_) {
        const PF_Err err = send(PF_Cmd_UPDATE_PARAMS_UI, nullptr, report);
        report.result = report.result != PF_Err_NONE ? report.result : err;
    }
    history_.push_back(report);
    return report;
}

PF_Err ParamPanel::send(PF_Cmd cmd, PF_UserChangedParamExtra* extra, EditReport& report) {
    PanelCommand command(*this, CommandName(cmd));
    const SceneAegp aegp(scene_, session_.params(), frame_);
    command.services().aegp.attach(command.effect_ref(), &aegp);
    command.services().aegp.attach_stream_flags(this);

    const Composition& comp = scene_.composition;
    PF_InData in = session_.make_in_data();
    in.effect_ref = command.effect_ref();
    in.pica_basicP = &command.services().basic;
    SetFrameTimes(in, frame_, comp.fps, comp.frames);
    in.width = scene_.effect_layer.width;
    in.height = scene_.effect_layer.height;
    in.extent_hint = {0, 0, in.width, in.height};
    PF_OutData out;
    std::memset(&out, 0, sizeof out);
    out.my_version = session_.my_version();
    out.out_flags = session_.out_flags();
    out.out_flags2 = session_.out_flags2();

    // The change flags share their field with the id: the host hands them cleared.
    std::vector<PF_ParamDef> defs;
    std::vector<PF_ParamDef*> pointers;
    for (std::size_t i = 0; i < presentation_.size(); ++i) {
        defs.push_back(definition(static_cast<int>(i)));
        defs.back().uu.change_flags = PF_ChangeFlag_NONE;
    }
    for (PF_ParamDef& def : defs) {
        pointers.push_back(&def);
    }

    calls_ = &report.calls;
    PF_Err err = PF_Err_NONE;
    {
        ActiveHostScope active(command.services());
        err = session_.entry()(cmd, &in, &out, pointers.data(), nullptr, extra);
    }
    calls_ = nullptr;

    // Values may change only in answer to a user's change.
    if (cmd == PF_Cmd_USER_CHANGED_PARAM) {
        const ParamRegistry& registry = session_.params();
        for (std::size_t i = 1; i < defs.size(); ++i) {
            const RegisteredParam& param = registry.at(static_cast<int>(i));
            if ((defs[i].uu.change_flags & PF_ChangeFlag_CHANGED_VALUE) == 0 ||
                !HoldsValue(param.def.param_type)) {
                continue;
            }
            ValueChange change{param.index, value(param.index), ValueOfDef(defs[i], param)};
            SetParamValue(scene_, param.index, frame_, change.after);
            report.changes.push_back(change);
        }
    }
    if (const std::vector<std::string> leaks = command.services().leaks(); !leaks.empty()) {
        throw PanelError(std::string(CommandName(cmd)) +
                         ": the effect did not give back: " + Joined(leaks));
    }
    return err;
}

PF_Err ParamPanel::update_param_ui(PF_ParamIndex index, const PF_ParamDef& def) {
    // The input layer (index 0) has no presentation; a definition of another type is not this
    // parameter's.
    if (index < 1 || static_cast<std::size_t>(index) >= presentation_.size() ||
        def.param_type != presentation_[static_cast<std::size_t>(index)].param_type) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    ApplyParamUi(def, presentation_[static_cast<std::size_t>(index)]);
    if (calls_ != nullptr) {
        calls_->push_back({PanelCall::Kind::UpdateUi, index});
    }
    return PF_Err_NONE;
}

bool ParamPanel::hidden(PF_ParamIndex index) const {
    return hidden_.at(static_cast<std::size_t>(index));
}

void ParamPanel::set_hidden(PF_ParamIndex index, bool hidden) {
    hidden_.at(static_cast<std::size_t>(index)) = hidden;
    if (calls_ != nullptr) {
        calls_->push_back({hidden ? PanelCall::Kind::Hide : PanelCall::Kind::Show, index});
    }
}

bool ParamPanel::visible(int index) const {
    for (int at = index; at >= 0; at = group_of_.at(static_cast<std::size_t>(at))) {
        if (hidden_.at(static_cast<std::size_t>(at))) {
            return false;
        }
    }
    return true;
}

PF_ParamDef ParamPanel::definition(int index) const {
    PF_ParamDef def = ParamAt(scene_, session_.params(), index, frame_);
    ApplyParamUi(presentation_.at(static_cast<std::size_t>(index)), def);
    return def;
}

ParamValue ParamPanel::value(int index) const {
    return ValueAt(scene_, session_.params().at(index), frame_);
}

} // namespace plurion::host
