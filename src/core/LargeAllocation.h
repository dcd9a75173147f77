#pragma once

#include <cstddef>

// A large buffer about to be filled at once (a catalogue's text, its records) is backed by huge
// pages where the system offers them: one fault every 2 MB instead of every 4 KB, which is most
// of what filling fresh memory costs. Nothing changes where the system has no such pages.
void preferHugePages(void *begin, std::size_t bytes);
