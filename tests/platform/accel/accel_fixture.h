// Shared set-up of the accelerator tests: an open display and small drawing helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/accel/draw.h"
#include "platform/accel/framebuffer.h"
#include "platform/accel/pipeline.h"
#include "platform/accel/spans.h"
#include "platform/accel/textures.h"

namespace vyr::platform::accel {

inline uint16_t rgb565(int r, int g, int b) {
    return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
}

// A polygon vertex at pixel position (x, y), with the snap bias the polygon calls expect.
inline Vertex at(float x, float y, float r = 255, float g = 255, float b = 255, float a = 255,
                 float oow = 1.0f, float s = 0, float t = 0) {
    return {x + SNAP_BIAS, y + SNAP_BIAS, oow, r, g, b, a, s * oow, t * oow};
}

class AccelTest : public ::testing::Test {
protected:
    void SetUp() override {
        use_span_path(fastest_span_path());
        open_display();
    }
    void TearDown() override {
        use_span_path(fastest_span_path());
        shut_down();
    }

    // The sets of span routines this CPU runs, the generic one first.
    static std::vector<SpanPath> span_paths() {
        std::vector<SpanPath> paths;
        for (SpanPath path : {SpanPath::REFERENCE, SpanPath::PORTABLE, SpanPath::AVX2,
                              SpanPath::AVX512}) {
            if (span_path_available(path))
                paths.push_back(path);
        }
        return paths;
    }
    static std::string path_name(SpanPath path) {
        const char* names[] = {"reference", "portable", "AVX2", "AVX-512"};
        return names[int(path)];
    }

    static uint16_t pixel(int x, int y) { return draw_buffer()[y * SCREEN_WIDTH + x]; }
    static std::vector<uint16_t> back_buffer() {
        return {draw_buffer(), draw_buffer() + SCREEN_WIDTH * SCREEN_HEIGHT};
    }

    // An axis-aligned rectangle as one polygon, texture coordinates from the corners' s and t.
    static void draw_rectangle(float x0, float y0, float x1, float y1, float r = 255,
                               float g = 255, float b = 255, float a = 255) {
        Vertex v[4] = {at(x0, y0, r, g, b, a), at(x1, y0, r, g, b, a), at(x1, y1, r, g, b, a),
                       at(x0, y1, r, g, b, a)};
        draw_polygon(v, 4);
    }

    // A 64 x 64 texture at address 0 with the texels given, set as the source.
    static void use_texture(TextureFormat format, const std::vector<uint8_t>& texels,
                            uint8_t lod = LOD_64, uint8_t aspect = ASPECT_1X1) {
        TextureInfo info{lod, lod, aspect, format};
        ASSERT_TRUE(download_texture(0, info, texels.data()));
        set_texture_source(0, info);
    }
};

}  // namespace vyr::platform::accel
