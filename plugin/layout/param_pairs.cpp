#include "layout/param_pairs.h"

#include "layout/truncate.h"

namespace plurion {
namespace {

constexpr double kFixedOne = 65536.0;

std::int32_t IntegerOf(const PF_ParamDef& def, ParamKind kind) {
    switch (kind) {
    case ParamKind::Popup:
        return def.u.pd.value;
    case ParamKind::Slider:
        return def.u.sd.value;
    default:
        return TruncateToInt32(def.u.fs_d.value);
    }
}

} // namespace

namespace {

PairSlot SlotOf(int index) {
    return index >= 1 && index <= kEffectParamCount
               ? kSnapshotLayout.slots[static_cast<std::size_t>(index)]
               : PairSlot{};
}

} // namespace

double ParamPairs::double_at(int index, int member) const {
    const PairSlot slot = SlotOf(index);
    double value = 0;
    if (slot.storage == PairStorage::Double) {
        std::memcpy(&value, at(slot.offset + static_cast<std::size_t>(member) * sizeof value),
                    sizeof value);
    }
    return value;
}

std::uint8_t ParamPairs::byte_at(int index, int member) const {
    const PairSlot slot = SlotOf(index);
    std::uint8_t value = 0;
    if (slot.storage == PairStorage::Byte) {
        std::memcpy(&value, at(slot.offset + static_cast<std::size_t>(member)), sizeof value);
    }
    return value;
}

void ParamPairs::store(int index, int member, const PF_ParamDef& def) {
    const PairSlot slot = SlotOf(index);
    std::byte* target =
        at(slot.offset + static_cast<std::size_t>(member) * MemberSize(slot.storage));
    const ParamKind kind =
        slot.storage == PairStorage::None ? ParamKind::GroupEnd : RowOf(index).kind;
    switch (slot.storage) {
    case PairStorage::Int32: {
        const std::int32_t value = IntegerOf(def, kind);
        std::memcpy(target, &value, sizeof value);
        break;
    }
    case PairStorage::Double: {
        const double value = kind == ParamKind::Angle ? def.u.ad.value / kFixedOne
                                                      : static_cast<double>(def.u.fs_d.value);
        std::memcpy(target, &value, sizeof value);
        break;
    }
    case PairStorage::Point: {
        const PointValue value{def.u.td.x_value / kFixedOne, def.u.td.y_value / kFixedOne};
        std::memcpy(target, &value, sizeof value);
        break;
    }
    case PairStorage::Byte: {
        const auto value = static_cast<std::uint8_t>(def.u.bd.value);
        std::memcpy(target, &value, sizeof value);
        break;
    }
    case PairStorage::None:
        break;
    }
}

} // namespace plurion
