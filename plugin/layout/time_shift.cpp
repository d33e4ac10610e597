#include "layout/time_shift.h"

#include "entry/error_chain.h"
#include "layout/checkout_id.h"
#include "layout/truncate.h"

#include <set>

namespace plurion {
namespace {

// Record n of the table; the parameter ranges keep n inside it, and a record past the end
// (only from values outside those ranges) reads as all zeros.
const CloneRandom& RecordAt(const std::vector<CloneRandom>& randoms, std::int64_t n) {
    static const CloneRandom kZeroRecord{};
    return n >= 0 && n < static_cast<std::int64_t>(randoms.size())
               ? randoms[static_cast<std::size_t>(n)]
               : kZeroRecord;
}

// The random shift of a record: a 32-bit product of its factor on a 10,000 scale and "Random
// Time", in frames.
double RandomShift(std::uint32_t factor, std::int32_t random_time) {
    return static_cast<double>(MultiplyInt32(factor, random_time)) / 10000.0;
}

A_long ShiftedTime(FrameClock clock, std::int32_t frames) {
    return static_cast<A_long>(static_cast<std::int64_t>(clock.current_time) +
                               static_cast<std::int64_t>(clock.time_step) * frames);
}

// Collects each distinct id once, in the order first met.
class ImageSet {
  public:
    // True when the id is new.
    bool add(std::int32_t id, std::int32_t layer, A_long time) {
        if (!seen_.insert(id).second) {
            return false;
        }
        images_.push_back({id, layer, time});
        return true;
    }
    std::vector<ShiftedImage> take() { return std::move(images_); }

  private:
    std::set<std::int32_t> seen_;
    std::vector<ShiftedImage> images_;
};

} // namespace

PF_Err RequestShiftedImages(const TimeShiftContext& context, ClonePlan& plan,
                            const std::vector<ShiftedImage>& images) {
    const PF_InData& in = *context.in_data;
    ErrorChain errors;
    std::vector<std::int32_t> ids;
    std::vector<std::int32_t> layers;
    ids.reserve(images.size());
    layers.reserve(images.size());
    for (const ShiftedImage& image : images) {
        const auto k = static_cast<std::size_t>(image.layer);
        errors.then([&] {
            return context.extra->cb->checkout_layer(
                in.effect_ref, plan.layer_checkout_ids[k], image.id, context.request, image.time,
                in.time_step, in.time_scale, &(*context.layer_results)[k]);
        });
        ids.push_back(image.id);
        layers.push_back(image.layer);
    }
    plan.time_checkout_ids = std::move(ids);
    plan.time_checkout_layers = std::move(layers);
    return errors.error();
}

namespace {

FrameClock ClockOf(const PF_InData& in) {
    return {in.current_time, in.time_step};
}

std::int32_t LayerCountOf(const ClonePlan& plan) {
    return static_cast<std::int32_t>(plan.layer_slots.size());
}

} // namespace

std::vector<ShiftedImage> RowShiftedImages(const RowTimeShift& shift, std::int32_t layer_count,
                                           const std::vector<CloneRandom>& randoms,
                                           FrameClock clock) {
    ImageSet set;
    const double steps = shift.count != 1 ? shift.count - 1.0 : 1.0;
    for (std::int32_t i = 0; i < shift.count; ++i) {
        const double jitter = RandomShift(RecordAt(randoms, i).time_a, shift.random_time);
        const std::int32_t frames = TruncateToInt32(shift.offset_time / steps * i + jitter);
        // The offset is the same for every layer; only the id differs.
        for (std::int32_t k = 0; k < layer_count; ++k) {
            set.add(MakeCheckoutId(frames, k, 0, CheckoutIdForm::Plain), k,
                    ShiftedTime(clock, frames));
        }
    }
    return set.take();
}

std::vector<ShiftedImage> GridShiftedImages(const GridTimeShift& shift, std::int32_t layer_count,
                                            const std::vector<CloneRandom>& randoms,
                                            FrameClock clock) {
    ImageSet set;
    const double step = (2.0 * shift.offset_time_y + 2.0 * shift.offset_time_x) /
                        (static_cast<double>(shift.count_y) + shift.count_x);
    const auto time_at = [&](double offset) {
        return static_cast<A_long>(TruncateToInt32(clock.time_step * offset + clock.current_time));
    };
    for (std::int32_t r = 0; r < shift.count_y; ++r) {
        for (std::int32_t c = 0; c < shift.count_x; ++c) {
            for (std::int32_t k = 0; k < layer_count; ++k) {
                const double ja = RandomShift(
                    RecordAt(randoms, std::int64_t{c + 1} * (k + 1)).time_a, shift.random_time);
                const double jb = RandomShift(
                    RecordAt(randoms, std::int64_t{k + 2} * (r + 2)).time_b, shift.random_time);
                const double jitter = (jb + ja) * 0.5;
                const double column_offset = c * step + jitter;
                const double row_offset = r * step + jitter;
                const std::int32_t id_a =
                    MakeCheckoutId(TruncateToInt32(column_offset), k, 0, CheckoutIdForm::Plain);
                const std::int32_t id_b =
                    MakeCheckoutId(TruncateToInt32(row_offset), k, 0, CheckoutIdForm::Plain);
                set.add(id_a, k, time_at(column_offset));
                set.add(id_b, k, time_at(row_offset));
            }
        }
    }
    return set.take();
}

namespace {

// The rows ("Linear", "Radial") name their count and time controls alike.
template <int Count, int OffsetTime, int RandomTime>
PF_Err TimeShiftRow(const TimeShiftContext& context, ClonePlan& plan) {
    const ParamPairs& p = plan.params;
    const RowTimeShift shift{p.get<Count>(0), p.get<OffsetTime>(0), p.get<RandomTime>(0)};
    return RequestShiftedImages(
        context, plan,
        RowShiftedImages(shift, LayerCountOf(plan), plan.randoms, ClockOf(*context.in_data)));
}

} // namespace

PF_Err TimeShiftLinear(const TimeShiftContext& context, ClonePlan& plan) {
    namespace linear = param::linear;
    return TimeShiftRow<linear::kCount, linear::kOffsetTime, linear::kRandomTime>(context, plan);
}

PF_Err TimeShiftRadial(const TimeShiftContext& context, ClonePlan& plan) {
    namespace radial = param::radial;
    return TimeShiftRow<radial::kCount, radial::kOffsetTime, radial::kRandomTime>(context, plan);
}

PF_Err TimeShiftGrid(const TimeShiftContext& context, ClonePlan& plan) {
    const ParamPairs& p = plan.params;
    const GridTimeShift shift{p.get<param::grid::kCountX>(0), p.get<param::grid::kCountY>(0),
                              p.get<param::grid::kOffsetTimeX>(0),
                              p.get<param::grid::kOffsetTimeY>(0),
                              p.get<param::grid::kRandomTime>(0)};
    return RequestShiftedImages(
        context, plan,
        GridShiftedImages(shift, LayerCountOf(plan), plan.randoms, ClockOf(*context.in_data)));
}

} // namespace plurion
