// The clone plan's parameter snapshot: one pair for every value parameter, member 0 sampled at
// the shutter-open time and member 1 at the shutter-close time. The layout is derived from the
// parameter table: parameters in index order, each pair stored by its type (popups and integer
// sliders as 32-bit integers, float sliders and angles as doubles, points as (x, y) doubles,
// checkboxes as bytes), and the float sliders that count frames, pixels or whole percentages
// as truncated 32-bit integers. Group starts, group ends and layers have no pair.
// Values are read by index with get<Index>(member), whose type follows from the table, so a
// parameter cannot be read as the wrong type.
#pragma once

#include "AE_Effect.h"
#include "params/param_index.h"
#include "params/param_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plurion {

// Member 0 at the shutter-open time, member 1 at the shutter-close time.
template <class T>
using Pair = std::array<T, 2>;

struct PointValue {
    double x = 0;
    double y = 0;
};

enum class PairStorage : std::uint8_t { None, Int32, Double, Point, Byte };

namespace snapshot_detail {

// Float sliders kept as whole numbers: frame counts, grid cell sizes in pixels and the random
// percentages, which the clone arithmetic uses as integers.
inline constexpr int kTruncatedSliders[] = {
    param::FindParam("Linear Mode/Offset/Offset Time"),
    param::FindParam("Radial Mode/Offset/Offset Time"),
    param::FindParam("Path Mode/Offset/Offset Time"),
    param::FindParam("Grid Mode/Offset/Offset Time X"),
    param::FindParam("Grid Mode/Offset/Offset Time Y"),
    param::FindParam("Grid Mode/Size X"),
    param::FindParam("Grid Mode/Size Y"),
    param::FindParam("Linear Mode/Random/Random Scale"),
    param::FindParam("Linear Mode/Random/Random Opacity"),
    param::FindParam("Linear Mode/Random/Random Time"),
    param::FindParam("Grid Mode/Random/Random Scale"),
    param::FindParam("Grid Mode/Random/Random Opacity"),
    param::FindParam("Grid Mode/Random/Random Time"),
    param::FindParam("Radial Mode/Random/Random Scale"),
    param::FindParam("Radial Mode/Random/Random Opacity"),
    param::FindParam("Radial Mode/Random/Random Time"),
    param::FindParam("Path Mode/Random/Random Scale"),
    param::FindParam("Path Mode/Random/Random Opacity"),
    param::FindParam("Path Mode/Random/Random Time"),
    param::FindParam("Object Mode/Random/Random Scale"),
    param::FindParam("Object Mode/Random/Random Opacity"),
};

constexpr bool IsTruncatedSlider(int index) {
    for (int truncated : kTruncatedSliders) {
        if (truncated == index) {
            return true;
        }
    }
    return false;
}

} // namespace snapshot_detail

constexpr PairStorage StorageOf(int index) {
    if (index < 1 || index > kEffectParamCount) {
        return PairStorage::None;
    }
    switch (RowOf(index).kind) {
    case ParamKind::Popup:
    case ParamKind::Slider:
        return PairStorage::Int32;
    case ParamKind::FloatSlider:
        return snapshot_detail::IsTruncatedSlider(index) ? PairStorage::Int32 : PairStorage::Double;
    case ParamKind::Angle:
        return PairStorage::Double;
    case ParamKind::Point:
        return PairStorage::Point;
    case ParamKind::Checkbox:
        return PairStorage::Byte;
    case ParamKind::Layer:
    case ParamKind::GroupStart:
    case ParamKind::GroupEnd:
        return PairStorage::None;
    }
    return PairStorage::None;
}

constexpr std::size_t MemberSize(PairStorage storage) {
    switch (storage) {
    case PairStorage::Int32:
        return sizeof(std::int32_t);
    case PairStorage::Double:
        return sizeof(double);
    case PairStorage::Point:
        return sizeof(PointValue);
    case PairStorage::Byte:
        return 1;
    case PairStorage::None:
        return 0;
    }
    return 0;
}

constexpr std::size_t MemberAlignment(PairStorage storage) {
    return storage == PairStorage::Point ? alignof(double) : MemberSize(storage);
}

struct PairSlot {
    PairStorage storage = PairStorage::None;
    std::uint32_t offset = 0; // of member 0; member 1 follows it
};

struct SnapshotLayout {
    std::array<PairSlot, kParamCount> slots{};
    std::size_t bytes = 0;
    int pairs = 0;
};

// Each pair at its natural alignment, in index order.
constexpr SnapshotLayout MakeSnapshotLayout() {
    SnapshotLayout layout;
    std::size_t at = 0;
    for (int index = 1; index <= kEffectParamCount; ++index) {
        const PairStorage storage = StorageOf(index);
        if (storage == PairStorage::None) {
            continue;
        }
        const std::size_t align = MemberAlignment(storage);
        at = (at + align - 1) / align * align;
        layout.slots[static_cast<std::size_t>(index)] = {storage, static_cast<std::uint32_t>(at)};
        at += 2 * MemberSize(storage);
        ++layout.pairs;
    }
    layout.bytes = (at + alignof(double) - 1) / alignof(double) * alignof(double);
    return layout;
}

inline constexpr SnapshotLayout kSnapshotLayout = MakeSnapshotLayout();

constexpr int CountGroupRows() {
    int count = 0;
    for (const ParamRow& row : kParamTable) {
        count += row.kind == ParamKind::GroupStart || row.kind == ParamKind::GroupEnd ? 1 : 0;
    }
    return count;
}

// Every parameter but the 22 layers and the group starts and ends, "Clone Type" first and
// "Blending Mode" last.
static_assert(kSnapshotLayout.pairs == kEffectParamCount - 22 - CountGroupRows());
static_assert(kSnapshotLayout.slots[param::kCloneType].offset == 0);
static_assert(kSnapshotLayout.bytes - kSnapshotLayout.slots[param::kBlendingMode].offset -
                  2 * sizeof(std::int32_t) <
              alignof(double));

template <PairStorage S>
struct MemberTypeOf;
template <>
struct MemberTypeOf<PairStorage::Int32> {
    using type = std::int32_t;
};
template <>
struct MemberTypeOf<PairStorage::Double> {
    using type = double;
};
template <>
struct MemberTypeOf<PairStorage::Point> {
    using type = PointValue;
};
template <>
struct MemberTypeOf<PairStorage::Byte> {
    using type = std::uint8_t;
};

// The type in which parameter Index is held.
template <int Index>
using MemberType = typename MemberTypeOf<kSnapshotLayout.slots[Index].storage>::type;

class ParamPairs {
  public:
    // Member `member` (0 or 1) of parameter Index.
    template <int Index>
    MemberType<Index> get(int member) const {
        MemberType<Index> value;
        std::memcpy(&value, at(kSnapshotLayout.slots[Index].offset + member * sizeof value),
                    sizeof value);
        return value;
    }

    template <int Index>
    Pair<MemberType<Index>> pair() const {
        return {get<Index>(0), get<Index>(1)};
    }

    // The same by an index known only at run time, for the source slots; 0 when the parameter
    // is not held as that type.
    double double_at(int index, int member) const;
    std::uint8_t byte_at(int index, int member) const;

    // Stores the value of a checked-out parameter record into member `member` of its pair,
    // converted as its storage says. Parameters without a pair are ignored.
    void store(int index, int member, const PF_ParamDef& def);

    // Sets member `member` of parameter Index.
    template <int Index>
    void set(int member, MemberType<Index> value) {
        std::memcpy(at(kSnapshotLayout.slots[Index].offset + member * sizeof value), &value,
                    sizeof value);
    }

  private:
    const std::byte* at(std::size_t offset) const { return bytes_.data() + offset; }
    std::byte* at(std::size_t offset) { return bytes_.data() + offset; }

    alignas(double) std::array<std::byte, kSnapshotLayout.bytes> bytes_{};
};

} // namespace plurion
