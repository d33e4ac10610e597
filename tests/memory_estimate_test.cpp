// The memory a frame is expected to need, worked out from its pre-render, and the limit a render
// keeps to: refused before anything is written when a frame cannot fit, frames in parallel held
// back rather than over the limit together.
#include "render_frame_support.h"
#include "session/memory_estimate.h"
#include "session/render_job.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace plurion {
namespace {

namespace fs = std::filesystem;
using host::MemoryEstimate;

class FrameMemory : public test::RenderFixture {
  protected:
    FrameMemory() {
        // The effect layer and composition are 320 x 240; the source is a 30 x 20 counter.
        host::Layer counter = test::SolidLayer("counter", 30, 20);
        counter.source = host::CounterSource{{1, 1, 1, 1}, {0, 0, 0, 1}, {15, 10}, 12, 0};
        scene.layers = {counter, test::SolidLayer("still", 30, 20)};
        use_layer(1, 0);
        set(param::linear::kCount, 3);
        set(param::linear::kPosition, 160, 120);
    }

    MemoryEstimate estimate(double frame, int bpc, int downsample = 1) {
        host::FrameOptions options;
        options.frame = frame;
        options.bpc = bpc;
        options.downsample = downsample;
        host::FrameRenderer renderer(session(), scene, cache, options);
        EXPECT_EQ(renderer.pre_render(), PF_Err_NONE);
        const MemoryEstimate memory = renderer.memory_estimate();
        renderer.release_pre_render_data();
        EXPECT_TRUE(renderer.leaks().empty()) << renderer.leaks().front();
        return memory;
    }
};

TEST_F(FrameMemory, CountsEachPictureOnceAndTheEffectsCopiesOfThem) {
    // Without time offsets the effect checks out its own layer and the counter, each whole.
    // 8 bits: 4 bytes a pixel; straight float 16.
    MemoryEstimate e = estimate(3, 8);
    EXPECT_EQ(e.layer_pictures, (320u * 240 + 30 * 20) * 4);
    EXPECT_EQ(e.effect_copies, (320u * 240 + 30 * 20) * 4);
    EXPECT_EQ(e.decoding, 320u * 240 * 16);
    // The output covers the layer; the frame once more in the file's samples at the depth (it is
    // composed and written a strip of rows at a time, never whole in float).
    EXPECT_EQ(e.output, 320u * 240 * 4 * 2);
    EXPECT_EQ(e.total(), e.layer_pictures + e.effect_copies + e.decoding + e.output);

    // Offset Time 2 over three clones shows the counter at frames 3, 4 and 5: three pictures,
    // each checked out by its own id besides the unshifted one.
    set(param::linear::kOffsetTime, 2);
    e = estimate(3, 16);
    EXPECT_EQ(e.layer_pictures, (320u * 240 + 3 * 30 * 20) * 8);
    EXPECT_EQ(e.effect_copies, (320u * 240 + 4 * 30 * 20) * 8);

    // A still layer shows one picture at every time: one picture, four checkouts, and two
    // copies in the effect (its render's own and one that the three shifted times share).
    use_layer(1, 1);
    e = estimate(3, 32);
    EXPECT_EQ(e.layer_pictures, (320u * 240 + 30 * 20) * 16);
    EXPECT_EQ(e.effect_copies, (320u * 240 + 2 * 30 * 20) * 16);
    EXPECT_EQ(e.output, 320u * 240 * 16 * 2);

    // At half size the pictures are 160 x 120 and 15 x 10; decoding holds the full float
    // picture and its reduction.
    set(param::linear::kOffsetTime, 0);
    e = estimate(3, 8, 2);
    EXPECT_EQ(e.layer_pictures, (160u * 120 + 15 * 10) * 4);
    EXPECT_EQ(e.decoding, (320u * 240 + 160 * 120) * 16);
    EXPECT_EQ(e.output, 160u * 120 * 4 * 2);

    // An empty effect layer is made without a float picture: the counter is the only one decoded.
    scene.effect_layer.source = host::EmptySource{};
    e = estimate(3, 8);
    EXPECT_EQ(e.layer_pictures, (320u * 240 + 30 * 20) * 4);
    EXPECT_EQ(e.decoding, 30u * 20 * 16);
}

TEST(MemoryText, SizesReadAsPeopleWriteThem) {
    EXPECT_EQ(host::ByteText(0), "0 bytes");
    EXPECT_EQ(host::ByteText(1023), "1023 bytes");
    EXPECT_EQ(host::ByteText(1536), "1.5 KiB");
    EXPECT_EQ(host::ByteText(std::uint64_t{3} << 30), "3.0 GiB");
    EXPECT_EQ(host::ByteText((std::uint64_t{5} << 40) / 2), "2.5 TiB");
    const MemoryEstimate e{1 << 20, 2 << 20, 512, 0};
    EXPECT_EQ(e.text(), "about 3.0 MiB (layer pictures 1.0 MiB, the effect's copies of them "
                        "2.0 MiB, decoding 512 bytes, output 0 bytes)");
}

#if defined(__linux__)
TEST(MemoryText, TheMachinesMemoryIsWhatTheKernelReports) {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kib = 0;
    ASSERT_TRUE(meminfo >> key >> kib);
    ASSERT_EQ(key, "MemTotal:");
    // The kernel's figure leaves out what it reserved for itself at boot: pages of a few MiB.
    EXPECT_GE(host::MachineMemory(), kib * 1024);
    EXPECT_LE(host::MachineMemory() - kib * 1024, std::uint64_t{1} << 30);
}
#endif

TEST(MemoryBudget, HoldsAFrameBackWhileTheOthersHoldTooMuch) {
    host::MemoryBudget budget(100);
    ASSERT_TRUE(budget.reserve(60, nullptr));
    ASSERT_TRUE(budget.reserve(40, nullptr)); // exactly the limit
    std::atomic<bool> third_in{false};
    std::thread third([&] {
        EXPECT_TRUE(budget.reserve(30, nullptr));
        third_in = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(third_in.load());
    budget.release(40);
    third.join();
    EXPECT_EQ(budget.reserved(), 90u);
    // A stop ends the wait; a frame alone over the limit still goes (it was checked before).
    EXPECT_FALSE(budget.reserve(20, [] { return true; }));
    budget.release(90);
    EXPECT_TRUE(budget.reserve(500, nullptr));
    EXPECT_EQ(budget.reserved(), 500u);
}

class RenderLimit : public FrameMemory {
  protected:
    RenderLimit() {
        folder_ = fs::temp_directory_path() /
                  ("plurion_memory_" + std::to_string(std::random_device{}()));
    }
    ~RenderLimit() override { fs::remove_all(folder_); }

    host::RenderOptions options(std::uint64_t max_memory) const {
        host::RenderOptions o;
        o.output_pattern = (folder_ / "f_#.png").string();
        o.frames = {0, 1, 2, 3, 4, 5};
        o.threads = 3;
        o.bpc = 8;
        o.max_memory = max_memory;
        return o;
    }
    fs::path folder_;
};

TEST_F(RenderLimit, RefusesBeforeWritingAndHoldsFramesBackToFit) {
    // A frame here: pictures 309,600 bytes, copies as many, decoding 1,228,800, output 614,400:
    // 2,462,400 bytes in all.
    constexpr std::uint64_t kFrame = 2 * (320 * 240 + 600) * 4 + 320 * 240 * 16 + 320 * 240 * 4 * 2;
    static_assert(kFrame == 2462400);
    try {
        host::RenderScene(session(), scene, options(kFrame - 1));
        FAIL() << "a frame over the limit rendered";
    } catch (const host::RenderError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "frame 0 needs about 2.3 MiB (layer pictures 302.3 KiB, the effect's copies of "
                  "them 302.3 KiB, decoding 1.2 MiB, output 600.0 KiB), more than the memory "
                  "limit of 2.3 MiB (--max-memory); no frame was written");
    }
    EXPECT_FALSE(fs::exists(folder_) && !fs::is_empty(folder_));

    // Room for one frame at a time: all six are written, one after another.
    const host::RenderSummary summary = host::RenderScene(session(), scene, options(kFrame));
    EXPECT_EQ(summary.files.size(), 6u);
}

TEST_F(RenderLimit, DecodedFilesCountAgainstTheLimit) {
    host::Layer shot = test::SolidLayer("shot", 100, 50);
    shot.source = host::SequenceSource{"shot_####.png", 1, 10};
    scene.layers.push_back(shot);
    // Ten 100 x 50 float pictures: 800,000 bytes, within a budget of a quarter of the limit.
    EXPECT_EQ(host::FileCacheBytes(scene, host::FileCacheBudget(0)), 800000u);
    EXPECT_EQ(host::FileCacheBytes(scene, host::FileCacheBudget(2000000)), 500000u);
    EXPECT_EQ(host::FileCacheBudget(0), std::uint64_t{1} << 30);
}

} // namespace
} // namespace plurion
