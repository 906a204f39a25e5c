// The display's vertical blank: 60 Hz pacing for presented frames.
#pragma once

namespace vyr::platform {

// Waits for the next 60 Hz vertical blank. Under the virtual clock it waits for nothing and
// advances the clock by two ticks instead, so paced loops still see time pass.
void wait_for_vertical_blank();

}  // namespace vyr::platform
