// Pieces of broken objects flying and falling.
#pragma once

namespace vyr {

struct ObjectInstance;

void init_fragments();
void shutdown_fragments();
void update_fragments();
void queue_fragments();
// The object breaks into fragments thrown from where its parts stand.
void spawn_fragments(ObjectInstance* instance);

}  // namespace vyr
