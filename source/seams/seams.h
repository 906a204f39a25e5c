// Which stand-ins for subsystems not built yet are still in the program.
#pragma once

namespace vyr {

// One line on stderr naming them.
void report_seams();

}  // namespace vyr
