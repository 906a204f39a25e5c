#include "source/menus/missions/payload.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace vyr {

namespace {

constexpr int GUIDED_STORES[] = {5, 11, 14, 17};

bool is_guided(int store) {
    return std::find(std::begin(GUIDED_STORES), std::end(GUIDED_STORES), store) != std::end(GUIDED_STORES);
}

int mirror_of(int pylon) { return payload_pylons[pylon].reflection - 1; }

// The hardpoint, and its mirror when it has one.
template <typename Change>
void with_mirror(int pylon, Change change) {
    change(pylon);
    const int mirror = mirror_of(pylon);
    if (mirror >= 0 && mirror != pylon) change(mirror);
}

void fill_pylon(int pylon, int store, int count) {
    PayloadPylon& p = payload_pylons[pylon];
    p.weapon = store;
    p.count = count;
    p.salvo_size = payload_weapons[store].salvo_size;
    p.weight = payload_weapons[store].weight * count;
    place_pylon_pictures(pylon);
}

// The store a hardpoint takes when its mirror is loaded: the targeting pair's places each hold
// their own pod.
int mirrored_store(int pylon, int store) {
    if (pylon == POD_HARDPOINT_LEFT) return STORE_LEFT_POD;
    if (pylon == POD_HARDPOINT_RIGHT) return STORE_RIGHT_POD;
    return store;
}

}  // namespace

void load_pylon(int pylon, int count) {
    if (!is_valid_pylon(pylon) || !is_valid_store(payload_pylons[pylon].weapon)) return;
    const int store = payload_pylons[pylon].weapon;
    fill_pylon(pylon, store, count);
    const int mirror = mirror_of(pylon);
    if (mirror >= 0 && mirror != pylon) fill_pylon(mirror, mirrored_store(mirror, store), count);
    const bool pair_fitted = payload_pylons[POD_HARDPOINT_LEFT].weapon == STORE_LEFT_POD ||
                             payload_pylons[POD_HARDPOINT_RIGHT].weapon == STORE_RIGHT_POD;
    if (is_guided(store) && !pair_fitted) {
        fill_pylon(POD_HARDPOINT_LEFT, STORE_LEFT_POD, 1);
        fill_pylon(POD_HARDPOINT_RIGHT, STORE_RIGHT_POD, 1);
    }
    end_pylon_load();
}

void unload_pylon(int pylon) {
    if (!is_valid_pylon(pylon)) return;
    with_mirror(pylon, [](int p) {
        remove_pylon_pictures(p);
        PayloadPylon& hardpoint = payload_pylons[p];
        hardpoint.count = hardpoint.weight = hardpoint.salvo_size = 0;
        hardpoint.weapon = PAYLOAD_EMPTY;
    });
    refresh_payload_weight();
}

void step_salvo_size(int pylon, int up) {
    if (!is_valid_pylon(pylon) || !is_valid_store(payload_pylons[pylon].weapon)) return;
    const PayloadPylon& p = payload_pylons[pylon];
    const int32_t size = p.salvo_size;
    int32_t next = size;
    if (up && size < 2 * p.count) next = size + 1;
    if (!up && size > payload_weapons[p.weapon].salvo_size) next = size - 1;
    with_mirror(pylon, [&](int h) { payload_pylons[h].salvo_size = next; });
}

void reset_salvo_size(int pylon) {
    if (!is_valid_pylon(pylon)) return;
    with_mirror(pylon, [](int h) {
        PayloadPylon& p = payload_pylons[h];
        if (is_valid_store(p.weapon)) p.salvo_size = payload_weapons[p.weapon].salvo_size;
    });
}

int is_pylon_overweight() {
    for (const PayloadPylon& p : payload_pylons)
        if (p.weight > p.weight_limit) return 1;
    return 0;
}

std::string format_payload_weight() {
    char text[64];
    // The screen has room for five digits.
    std::snprintf(text, sizeof text, "\tTOT AUW: %d\t\tMAX G: %s", std::clamp(get_all_up_weight(), 0, 99999),
                  is_pylon_overweight() ? "5.5" : "9.0");
    return text;
}

}  // namespace vyr
