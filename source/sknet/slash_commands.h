// Commands typed on the chat line: "/" and a command's name, then its argument words. Every
// answer, refusals included, is a line in the chat area; a refused command changes nothing.
#pragma once

namespace vyr {

// The command word and up to four argument words, split at blanks.
void parse_slash_command(const char* line);

}  // namespace vyr
