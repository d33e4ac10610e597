// The studio behind its page: PNG frames, the document's edits, keys, layers and overlay drag,
// and the server's refusals.
#include "imageio/image_file.h"
#include "scene/scene_loader.h"
#include "studio/png_encode.h"
#include "studio/studio_document.h"
#include "studio/studio_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <zlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using namespace plurion::host;

// The CRC of the PNG format, bit by bit (polynomial 0xEDB88320), apart from zlib's table.
std::uint32_t BitwiseCrc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1u) != 0 ? 0xEDB88320u : 0u);
        }
    }
    return ~crc;
}

std::uint32_t Word(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

TEST(StudioPng, HeaderRowsAndRounding) {
    RgbaImage image = MakeRgbaImage(2, 1);
    image.rgba = {1.0f, 0.0f, 0.0f, 1.0f, 0.5f, 0.25f, -1.0f, 2.0f};
    const std::string png = EncodePng(image);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    // IHDR: 13 bytes of width 2, height 1, depth 8, colour type 6 (RGBA), then its CRC.
    EXPECT_EQ(Word(png, 8), 13u);
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(Word(png, 16), 2u);
    EXPECT_EQ(Word(png, 20), 1u);
    EXPECT_EQ(png.substr(24, 5), std::string("\x08\x06\x00\x00\x00", 5));
    EXPECT_EQ(Word(png, 29), BitwiseCrc(png.substr(12, 17)));
    const PngSize size = ReadPngSize(png);
    EXPECT_EQ(size.width, 2);
    EXPECT_EQ(size.height, 1);

    // IDAT: one row, filter 0, then 0.5 -> 128 (127.5 rounds up), 0.25 -> 64 (63.75), values
    // outside 0..1 held at 0 and 255.
    ASSERT_EQ(png.substr(37, 4), "IDAT");
    const std::uint32_t length = Word(png, 33);
    const std::string packed = png.substr(41, length);
    EXPECT_EQ(Word(png, 41 + length), BitwiseCrc(png.substr(37, 4 + length)));
    unsigned char raw[16] = {};
    uLongf raw_size = sizeof raw;
    ASSERT_EQ(uncompress(raw, &raw_size, reinterpret_cast<const Bytef*>(packed.data()), length),
              Z_OK);
    const std::vector<unsigned char> expected = {0, 255, 0, 0, 255, 128, 64, 0, 255};
    EXPECT_EQ(std::vector<unsigned char>(raw, raw + raw_size), expected);
    EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
    EXPECT_THROW(ReadPngSize("GIF89a"), std::runtime_error);
}

TEST(StudioServerAddresses, OnlyLoopbackPeersAndNames) {
    for (const char* yes : {"127.0.0.1", "127.255.3.9", "::1", "::ffff:127.0.0.1"}) {
        EXPECT_TRUE(IsLoopbackAddress(yes)) << yes;
    }
    for (const char* no : {"10.0.0.1", "128.0.0.1", "0.0.0.0", "127.0.0", "127.0.0.1.5",
                           "1270.0.0.1", "127.0.0.256", "::ffff:10.0.0.1", "::2", ""}) {
        EXPECT_FALSE(IsLoopbackAddress(no)) << no;
    }
    for (const char* yes : {"localhost", "localhost:8080", "127.0.0.1:80", "[::1]:9000", "[::1]"}) {
        EXPECT_TRUE(IsLoopbackHost(yes)) << yes;
    }
    for (const char* no : {"example.com", "localhost.example.com", "127.0.0.1:80x", "[::2]:80",
                           "[::1]x", "localhost:", ""}) {
        EXPECT_FALSE(IsLoopbackHost(no)) << no;
    }
}

// A 65 x 47 composition with a 40 x 20 grid box around (32, 23), three layers and a picture.
class StudioDocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("plurion_studio_" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
        WriteImage(folder_ / "pic.png", MakeRgbaImage(4, 4), SampleFormat::uint8);
        std::ofstream(folder_ / "scene.json") << R"({
            "composition": {"width": 65, "height": 47, "fps": 24, "frames": 12, "bpc": 8,
                            "background": [0, 0, 0, 1]},
            "layers": [
                {"name": "a", "width": 8, "height": 8, "source": {"kind": "solid", "color": [1, 0, 0, 1]}},
                {"name": "b", "width": 8, "height": 8, "source": {"kind": "solid", "color": [0, 1, 0, 1]}},
                {"name": "pic", "source": {"kind": "image", "path": "pic.png"}}
            ],
            "effect": {
                "Clone Type": "Grid",
                "Grid Mode/Size X": 40, "Grid Mode/Size Y": 20,
                "Grid Mode/Transform/Local/Position": [32, 23],
                "Layers/Selection/Layer 1": "b", "Layers/Selection/Layer 2": "a",
                "Layers/Selection/Layer 3": "pic"
            }
        })";
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::unique_ptr<StudioDocument> Open() {
        EffectSession session(PLURION_MODULE_PATH);
        EXPECT_EQ(session.global_setup(), PF_Err_NONE);
        EXPECT_EQ(session.params_setup(), PF_Err_NONE);
        Scene scene = LoadScene(folder_ / "scene.json", session.params());
        return std::make_unique<StudioDocument>(PLURION_MODULE_PATH, std::move(scene),
                                                folder_ / "scene.json", folder_);
    }

    json Saved(StudioDocument& document) {
        document.save({{"file", "saved.json"}});
        std::ifstream in(folder_ / "saved.json");
        return json::parse(in)["effect"];
    }

    static json Param(const json& panel, const std::string& name) {
        for (const json& p : panel) {
            if ((p["group"].get<std::string>().empty() ? "" : p["group"].get<std::string>() + "/") +
                    p["name"].get<std::string>() ==
                name) {
                return p;
            }
        }
        return nullptr;
    }

    fs::path folder_;
};

TEST_F(StudioDocumentTest, FramesAtEachSizeAreKeptUntilAnEdit) {
    auto document = Open();
    // ceil(65 / 2) x ceil(47 / 2) and ceil(65 / 4) x ceil(47 / 4).
    const StudioImage half = document->frame(0, 2);
    EXPECT_EQ(ReadPngSize(half.png).width, 33);
    EXPECT_EQ(ReadPngSize(half.png).height, 24);
    const StudioImage quarter = document->frame(0, 4);
    EXPECT_EQ(ReadPngSize(quarter.png).width, 17);
    EXPECT_EQ(ReadPngSize(quarter.png).height, 12);
    EXPECT_EQ(ReadPngSize(document->overlay(0, 4).png).width, 17);

    EXPECT_EQ(document->frame(0, 2).render_ms, 0.0); // from the cache
    EXPECT_EQ(document->frame(0, 2).png, half.png);
    document->edit({{"parameter", "Grid Mode/Count X"}, {"value", 2}});
    const StudioImage after = document->frame(0, 2);
    EXPECT_GT(after.render_ms, 0.0);
    EXPECT_NE(after.png, half.png);

    for (const json& bad : {json{{"frame", 12}}, json{{"frame", -1}}, json{{"frame", 1.5}}}) {
        EXPECT_THROW(
            document->edit(
                {{"parameter", "Grid Mode/Count X"}, {"value", 3}, {"frame", bad["frame"]}}),
            StudioError);
    }
    EXPECT_THROW(document->frame(0, 3), StudioError);
}

TEST_F(StudioDocumentTest, EditsGoThroughTheEffectsPanel) {
    auto document = Open();
    // The scene's type is told to the effect at once: Grid's group shows, Linear's does not.
    const json state = document->state();
    EXPECT_TRUE(Param(state["panel"], "Grid Mode")["visible"]);
    EXPECT_FALSE(Param(state["panel"], "Linear Mode")["visible"]);

    const json radial = document->edit({{"parameter", "Clone Type"}, {"value", "Radial"}});
    EXPECT_TRUE(Param(radial["panel"], "Radial Mode")["visible"]);
    EXPECT_FALSE(Param(radial["panel"], "Grid Mode")["visible"]);

    // Grid Step -> End with Count X 5 (the default): Size X 40 stays (only 1000 is kept), the
    // offsets are multiplied; the answer lists what the effect changed.
    const json end =
        document->edit({{"parameter", "Grid Mode/Offset/Clone Offset Mode"}, {"value", "End"}});
    EXPECT_FALSE(end["changes"].empty());

    try {
        document->edit({{"parameter", "Grid Mode/Count X"}, {"value", 100000}});
        FAIL() << "an out-of-range count was taken";
    } catch (const StudioError& error) {
        EXPECT_EQ(error.field(), "Grid Mode/Count X");
        EXPECT_NE(std::string(error.what()).find("above the valid maximum"), std::string::npos);
    }
    EXPECT_THROW(document->edit({{"parameter", "Grid Mode/Nothing"}, {"value", 1}}), StudioError);
    EXPECT_THROW(document->edit({{"parameter", "Grid Mode"}, {"value", 1}}), StudioError);
}

TEST_F(StudioDocumentTest, KeysAtTheCurrentFrame) {
    auto document = Open();
    const std::string rotation = "Grid Mode/Transform/Global/Rotation";
    // A key on a value without keys keeps the old value at 0: then an edit at frame 6 changes
    // only the key there.
    const json keyed = document->key({{"parameter", rotation}, {"frame", 6}});
    EXPECT_EQ(keyed["keys"], json({0.0, 6.0}));
    document->edit({{"parameter", rotation}, {"value", 30}, {"frame", 6}});
    EXPECT_EQ(Saved(*document)[rotation], json({{"keys", {{0.0, 0.0}, {6.0, 30.0}}}}));
    // "Clone Type" cannot vary over time.
    EXPECT_THROW(document->key({{"parameter", "Clone Type"}, {"frame", 2}}), StudioError);
}

TEST_F(StudioDocumentTest, RemovingALayerKeepsTheOthersReferences) {
    auto document = Open();
    const json state = document->remove_layer({{"name", "a"}});
    ASSERT_EQ(state["layers"].size(), 2u);
    const json effect = Saved(*document);
    EXPECT_EQ(effect["Layers/Selection/Layer 1"], "b");
    EXPECT_TRUE(effect["Layers/Selection/Layer 2"].is_null());
    EXPECT_EQ(effect["Layers/Selection/Layer 3"], "pic");
    EXPECT_THROW(document->remove_layer({{"name", "a"}}), StudioError);

    document->add_layer(
        {{"name", "c"}, {"width", 6}, {"height", 6}, {"source", {{"kind", "ellipse"}}}});
    EXPECT_EQ(document->state()["layers"].size(), 3u);
    try {
        document->add_layer({{"name", "b"}});
        FAIL() << "a second layer b was added";
    } catch (const StudioError& error) {
        EXPECT_EQ(error.field(), "layer");
        EXPECT_NE(std::string(error.what()).find("exists already"), std::string::npos);
    }
}

TEST_F(StudioDocumentTest, DroppedImagesAndExports) {
    auto document = Open();
    // Written beside the scene under the file's own name, a new one when it is taken, and
    // never outside the folder.
    const std::string png = EncodePng(MakeRgbaImage(3, 2));
    const json first = document->upload("../../dot.png", png);
    EXPECT_EQ(first, json({{"name", "dot"}, {"file", "dot.png"}}));
    const json second = document->upload("dot.png", png);
    EXPECT_EQ(second["file"], "dot_2.png");
    EXPECT_TRUE(fs::exists(folder_ / "dot_2.png"));
    document->add_layer({{"name", first["name"]}, {"file", first["file"]}});
    EXPECT_EQ(document->upload("dot.png", png)["name"], "dot 2"); // the layer name is taken
    EXPECT_THROW(document->upload("notes.txt", "text"), StudioError);

    // Frames 1 to 3 to numbered files, counted as they are done.
    document->start_export({{"file", "out/f_##.png"}, {"first", 1}, {"last", 3}});
    json status = document->export_status();
    for (int i = 0; i < 600 && status["running"]; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        status = document->export_status();
    }
    EXPECT_FALSE(status["running"]);
    EXPECT_EQ(status["done"], 3);
    EXPECT_EQ(status["total"], 3);
    EXPECT_FALSE(status.contains("error"));
    for (const char* name : {"f_01.png", "f_02.png", "f_03.png"}) {
        EXPECT_TRUE(fs::exists(folder_ / "out" / name)) << name;
    }
    EXPECT_FALSE(fs::exists(folder_ / "out" / "f_00.png"));
    EXPECT_THROW(document->start_export({{"first", 3}, {"last", 1}}), StudioError);
}

TEST_F(StudioDocumentTest, DraggingTheGridCornerTurnsTheGrid) {
    auto document = Open();
    // The box's top-left handle is at (32 - 20, 23 - 10) = (12, 13); 10 pixels up at full size
    // are 10 layer pixels, half a degree each.
    const auto mouse = [&](const char* action, int x, int y) {
        return document->mouse({{"action", action}, {"x", x}, {"y", y}, {"downsample", 1}});
    };
    EXPECT_EQ(mouse("move", 17, 13)["cursor"], PF_Cursor_SCALE_DIAG_LR); // 5 px from the corner
    EXPECT_TRUE(mouse("down", 12, 13)["dragging"]);
    const json step = mouse("drag", 12, 3);
    ASSERT_EQ(step["changed"].size(), 1u);
    EXPECT_EQ(step["changed"][0]["value"], 5.0);
    EXPECT_FALSE(mouse("up", 12, 3)["dragging"]);
    EXPECT_EQ(Saved(*document)["Grid Mode/Transform/Global/Rotation"], 5.0);
    EXPECT_THROW(mouse("drag", 12, 3), StudioError); // no button down
    EXPECT_THROW(mouse("hover", 1, 1), StudioError);
}

TEST_F(StudioDocumentTest, TheServerRefusesWhatItCannotServe) {
    auto document = Open();
    fs::remove(folder_ / "pic.png"); // the frames cannot render now
    StudioServer server(*document);
    const int port = server.bind(0);
    std::thread serving([&] { server.listen(); });
    httplib::Client client("127.0.0.1", port);

    const auto error_of = [](const httplib::Result& result) {
        return json::parse(result->body)["error"].get<std::string>();
    };
    auto page = client.Get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("<title>Plurion Studio</title>"), std::string::npos);

    auto unknown = client.Get("/secret.txt");
    EXPECT_EQ(unknown->status, 404);
    EXPECT_EQ(error_of(unknown), "no such page: GET /secret.txt");
    EXPECT_EQ(client.Delete("/api/state")->status, 404);

    auto malformed = client.Post("/api/edit", "{\"parameter\": ", "application/json");
    EXPECT_EQ(malformed->status, 400);
    EXPECT_NE(error_of(malformed).find("not JSON"), std::string::npos);
    EXPECT_EQ(client.Post("/api/edit", "[1, 2]", "application/json")->status, 400);
    EXPECT_EQ(client.Get("/api/frame?downsample=3")->status, 400);
    EXPECT_EQ(client.Get("/api/frame?frame=two")->status, 400);

    auto foreign = client.Get("/api/state", {{"Host", "example.com"}});
    EXPECT_EQ(foreign->status, 403);

    // A frame that fails answers 500 with the cause; the server goes on.
    auto failed = client.Get("/api/frame?frame=0&downsample=2");
    EXPECT_EQ(failed->status, 500);
    EXPECT_NE(error_of(failed).find("frame 0"), std::string::npos);
    EXPECT_EQ(client.Get("/api/state")->status, 200);

    server.stop();
    serving.join();
}

} // namespace
