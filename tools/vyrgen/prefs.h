// prefs.cfg: the settings a first run starts from, as NAME=VALUE lines.
#pragma once

#include <string>

namespace vyr::vyrgen {

std::string default_prefs();

}  // namespace vyr::vyrgen
