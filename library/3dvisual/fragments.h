// Pieces of broken objects flying and falling.
#pragma once

namespace vyr {

void init_fragments();
void shutdown_fragments();
void update_fragments();
void queue_fragments();

}  // namespace vyr
