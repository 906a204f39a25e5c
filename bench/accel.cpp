// The software accelerator's pipelines, each as the game's drawing sets it, on a fixed 640 x 480
// scene of a few thousand triangles of mixed sizes (about 3x overdraw): megapixels and triangles
// per second and the speed-up of the specialised span routines over the generic reference
// routine, and beside the plain ones what their 565 ordered dither costs. The slowest of the
// game's pipelines is named last.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/accel/draw.h"
#include "platform/accel/framebuffer.h"
#include "platform/accel/pipeline.h"
#include "platform/accel/spans.h"
#include "platform/accel/textures.h"

namespace {

using namespace vyr::platform::accel;

struct Scene {
    std::vector<Vertex> vertices;  // three per triangle
    double pixels = 0;
    int triangles = 0;
};

// Triangles lie wholly on the screen, so their areas add up to the pixels drawn.
const Scene& scene() {
    static const Scene built = [] {
        Scene s;
        std::mt19937 random(2024);
        auto uniform = [&](float low, float high) {
            return std::uniform_real_distribution<float>(low, high)(random);
        };
        while (s.pixels < 3.0 * SCREEN_WIDTH * SCREEN_HEIGHT) {
            float size = std::exp(uniform(std::log(3.0f), std::log(120.0f)));
            float cx = uniform(size, SCREEN_WIDTH - size), cy = uniform(size, SCREEN_HEIGHT - size);
            float px[3], py[3];
            for (int i = 0; i < 3; ++i) {
                px[i] = std::round((cx + uniform(-size, size)) * 16) / 16;
                py[i] = std::round((cy + uniform(-size, size)) * 16) / 16;
                float oow = uniform(0.001f, 0.5f);
                s.vertices.push_back({px[i] + SNAP_BIAS, py[i] + SNAP_BIAS, oow, uniform(0, 255),
                                      uniform(0, 255), uniform(0, 255), uniform(0, 255),
                                      uniform(0, 512) * oow, uniform(0, 512) * oow});
            }
            s.pixels += std::fabs((px[1] - px[0]) * (py[2] - py[0]) -
                                  (px[2] - px[0]) * (py[1] - py[0])) / 2;
            ++s.triangles;
        }
        return s;
    }();
    return built;
}

void set_up_display() {
    open_display();
    std::mt19937 random(7);
    std::vector<uint8_t> texels(64 * 64 * 2);
    for (uint8_t& t : texels)
        t = uint8_t(random());
    download_texture(0, {LOD_64, LOD_64, ASPECT_1X1, TextureFormat::PALETTE_8}, texels.data());
    download_texture(8192, {LOD_64, LOD_64, ASPECT_1X1, TextureFormat::ALPHA_PALETTE_88},
                     texels.data());
    uint32_t palette[PALETTE_SIZE];
    for (uint32_t& p : palette)
        p = random() | 0xFF000000;
    download_palette(palette);
    uint8_t fog[FOG_TABLE_SIZE];
    generate_exp2_fog_table(fog, 3.5e-4f);
    set_fog_table(fog);
    set_fog_colour(0xDAE3E400);
    set_fog_mode(FogMode::TABLE);
    set_alpha_test(AlphaTest::GREATER);
    set_alpha_reference(0);
    set_texture_filter(TextureFilter::BILINEAR);
    set_texture_clamp(TextureClamp::WRAP);
}

void flat_gouraud() {
    set_colour_combine({CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::ITERATED,
                        CombineSource::CONSTANT});
    set_alpha_combine({CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::CONSTANT,
                       CombineSource::CONSTANT});
}

void textured_bilinear_fogged() {
    flat_gouraud();
    set_colour_combine({CombineFunction::SCALE_OTHER, CombineFactor::LOCAL,
                        CombineSource::ITERATED, CombineSource::TEXTURE});
    set_texture_source(0, {LOD_64, LOD_64, ASPECT_1X1, TextureFormat::PALETTE_8});
}

void translucent() {
    flat_gouraud();
    set_alpha_combine({CombineFunction::SCALE_OTHER, CombineFactor::ONE, CombineSource::CONSTANT,
                       CombineSource::CONSTANT});
    set_constant_colour(0x00000080);
    set_alpha_blend(BlendFactor::SRC_ALPHA, BlendFactor::ONE_MINUS_SRC_ALPHA);
}

void glow() {
    flat_gouraud();
    set_alpha_combine({CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::ITERATED,
                       CombineSource::CONSTANT});
    set_alpha_blend(BlendFactor::SRC_ALPHA, BlendFactor::ONE_MINUS_SRC_ALPHA);
}

void effects() {
    flat_gouraud();
    set_colour_combine({CombineFunction::SCALE_OTHER, CombineFactor::ONE,
                        CombineSource::CONSTANT, CombineSource::TEXTURE});
    set_alpha_combine({CombineFunction::SCALE_OTHER_MINUS_LOCAL, CombineFactor::ONE,
                       CombineSource::CONSTANT, CombineSource::TEXTURE});
    set_constant_colour(0x00000028);
    set_alpha_reference(60);
    set_alpha_blend(BlendFactor::SRC_ALPHA, BlendFactor::ONE_MINUS_SRC_ALPHA);
    set_texture_source(8192, {LOD_64, LOD_64, ASPECT_1X1, TextureFormat::ALPHA_PALETTE_88});
}

void draw_scene() {
    const Scene& s = scene();
    clear_buffer(0x40608000);
    for (size_t i = 0; i < s.vertices.size(); i += 3)
        draw_polygon(&s.vertices[i], 3);
    benchmark::DoNotOptimize(draw_buffer()[0]);
}

// Seconds per frame of `frame`, over a few frames.
template <typename Frame>
double seconds_per_frame(Frame frame, int frames) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        frame();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
           frames;
}

// Seconds per frame of `frame` over the benchmark's iterations.
template <typename Frame>
double measure(benchmark::State& state, Frame frame) {
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        frame();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
           double(state.iterations());
}

// Megapixels per second of the game's pipelines measured, by name, for naming the slowest.
std::map<std::string, double> game_pipelines;

// Opens the display with the state `set_state` sets, drawn by the fastest span routines; false
// (the display shut again) when only the generic routine serves it.
bool open_pipeline(benchmark::State& state, void (*set_state)()) {
    set_up_display();
    set_state();
    use_span_path(fastest_span_path());
    draw_scene();
    if (primitive_is_specialised()) return true;
    state.SkipWithError("the generic routine serves this pipeline");
    shut_down();
    return false;
}

void pipeline(benchmark::State& state, const char* name, void (*set_state)()) {
    if (!open_pipeline(state, set_state)) return;
    double fast = measure(state, draw_scene);
    use_span_path(SpanPath::REFERENCE);
    double slow = seconds_per_frame(draw_scene, 5);
    use_span_path(fastest_span_path());
    shut_down();

    double mpixels = scene().pixels / fast / 1e6;
    state.counters["Mpixels/s"] = mpixels;
    state.counters["triangles/s"] = scene().triangles / fast;
    state.counters["speed-up"] = slow / fast;
    game_pipelines[name] = mpixels;
}

// The same pipeline writing 565 by truncation: what the ordered dither costs is the ratio of the
// dithered frame time to this one (1.05: 5 % slower with the dither).
void undithered(benchmark::State& state, void (*set_state)()) {
    if (!open_pipeline(state, set_state)) return;
    set_dither_mode(DitherMode::DISABLED);
    double truncated = measure(state, draw_scene);
    set_dither_mode(DitherMode::ORDERED);
    double dithered = seconds_per_frame(draw_scene, 5);
    shut_down();
    state.counters["Mpixels/s"] = scene().pixels / truncated / 1e6;
    state.counters["dither-cost"] = dithered / truncated;
}

// The cockpit overlay as the frame loop writes it: the panel's lower 200 rows and scattered
// head-up symbols through the 888 lock. It has one path; the ratio compares it with the same
// writes into a 565 lock, converted by the writer (below 1: what the 888 lock costs).
constexpr int OVERLAY_ROWS = 200;
constexpr int HUD_PIXELS = 4000;

template <bool IN_888>
void write_overlay() {
    LockedBuffer lock;
    LockFormat format = IN_888 ? LockFormat::RGB888 : LockFormat::RGB565;
    lock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK, format, lock);
    auto put = [&](int x, int y, uint32_t rgb) {
        uint8_t* row = static_cast<uint8_t*>(lock.pixels) + y * lock.stride;
        if constexpr (IN_888) {
            std::memcpy(row + 4 * x, &rgb, 4);
        } else {
            uint16_t p = uint16_t((rgb >> 8 & 0xF800) | (rgb >> 5 & 0x07E0) | (rgb >> 3 & 0x1F));
            std::memcpy(row + 2 * x, &p, 2);
        }
    };
    for (int y = SCREEN_HEIGHT - OVERLAY_ROWS; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x)
            put(x, y, uint32_t(x * 0x010203 + y) & 0xFFFFFF);
    for (int i = 0; i < HUD_PIXELS; ++i)
        put(i * 7919 % SCREEN_WIDTH, i * 104729 % (SCREEN_HEIGHT - OVERLAY_ROWS), 0x00FF00);
    unlock_frame_buffer(LockAccess::WRITE, LockBuffer::BACK);
    benchmark::DoNotOptimize(draw_buffer()[0]);
}

void BM_flat_gouraud(benchmark::State& state) {
    pipeline(state, "flat and Gouraud", flat_gouraud);
}
void BM_textured_bilinear_fogged(benchmark::State& state) {
    pipeline(state, "textured, bilinear, fogged", textured_bilinear_fogged);
}
void BM_flat_gouraud_undithered(benchmark::State& state) { undithered(state, flat_gouraud); }
void BM_textured_bilinear_fogged_undithered(benchmark::State& state) {
    undithered(state, textured_bilinear_fogged);
}
void BM_effects_alpha_tested_blended(benchmark::State& state) {
    pipeline(state, "keyed effects, alpha-tested and blended", effects);
}
void BM_translucent_constant_alpha(benchmark::State& state) {
    pipeline(state, "translucent, constant alpha", translucent);
}
void BM_glow_iterated_alpha(benchmark::State& state) {
    pipeline(state, "glow and cloud fade, iterated alpha", glow);
}

void BM_frame_buffer_overlay(benchmark::State& state) {
    open_display();
    double in_888 = measure(state, write_overlay<true>);
    double in_565 = seconds_per_frame(write_overlay<false>, 5);
    state.counters["Mpixels/s"] = (SCREEN_WIDTH * OVERLAY_ROWS + HUD_PIXELS) / in_888 / 1e6;
    state.counters["vs-565-writes"] = in_565 / in_888;
    shut_down();
}

BENCHMARK(BM_flat_gouraud)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_flat_gouraud_undithered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_textured_bilinear_fogged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_textured_bilinear_fogged_undithered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_effects_alpha_tested_blended)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_translucent_constant_alpha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_glow_iterated_alpha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_frame_buffer_overlay)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    auto slower = [](const auto& a, const auto& b) { return a.second < b.second; };
    auto slowest = std::min_element(game_pipelines.begin(), game_pipelines.end(), slower);
    if (slowest != game_pipelines.end())
        std::printf("Slowest pipeline the game sets: %s, %.1f Mpixels/s\n",
                    slowest->first.c_str(), slowest->second);
    return 0;
}
