// What the air and ground radars share: the insertion by priority, the cursor step's choice of a
// neighbouring contact and the plus sign of their symbols.
#pragma once

#include <cstdint>

#include "library/graphics/plot_draw.h"

namespace vyr {

// Links `node` (whose list_priority overload gives its priority) before the first node whose priority is not greater (so the newer of equal
// priorities comes first), or at the tail.
template <typename Node>
void insert_by_priority(Node*& head, Node*& tail, Node* node, int32_t priority) {
    Node* after = head;
    while (after && list_priority(*after) > priority) after = after->next;
    node->next = after;
    node->prev = after ? after->prev : tail;
    (node->prev ? node->prev->next : head) = node;
    (after ? after->prev : tail) = node;
}

// A cursor step's search: among the candidates offered in list order, the one whose key lies
// beyond the current key in the direction `sign` by the least; on equal moves the earlier one,
// or the later with `later_on_tie`.
template <typename Node>
struct StepSearch {
    int64_t current_key;
    int sign;
    bool later_on_tie;
    Node* best = nullptr;
    int64_t best_move = 0;

    void consider(Node* node, int64_t key) {
        const int64_t move = (key - current_key) * sign;
        if (move <= 0) return;
        if (!best || move < best_move || (later_on_tie && move == best_move)) {
            best = node;
            best_move = move;
        }
    }
};

// A plus sign of half-size `s` centred on (x, y) in the plot window.
inline void draw_contact_plus(int32_t x, int32_t y, int32_t s, int colour) {
    draw_plot_line(x - s, y, x + s, y, colour);
    draw_plot_line(x, y - s, x, y + s, colour);
}

}  // namespace vyr
