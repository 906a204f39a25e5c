// The objects queued for drawing in a frame.
#pragma once

namespace vyr {

// Objects queued in this frame's object buffer, and how many of them were behind the eye.
int get_object_buffer_count();
int get_object_buffer_back_count();

}  // namespace vyr
