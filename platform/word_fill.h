#pragma once

// Filling a long run of 32-bit words with one value at the memory's speed.
// A plain store loop stores one word or one vector at a time and first reads
// every cache line it writes; the processor's string store writes in the
// widest pieces the processor has, and streaming stores write whole lines
// past the caches without reading them.

#include <stddef.h>
#include <stdint.h>

// The fewest words for which fillWords beats a plain store loop: below this
// the string store costs more to start than it saves. Measured on an x64
// processor, it overtook a vectorised loop between 256 and 512 words, and
// was twice as fast from 1024 on.
constexpr size_t kWordFillPaysFrom = 1024;

// From this many words (32 MiB, the size of a large last-level cache) on,
// fillWords stores past the caches: a run this long would not stay in them,
// and writing it through them first reads every line and evicts everything
// else. Shorter runs go through the caches, where they stay for whoever
// reads them next, and where streaming stores would lose (on a processor
// with 32 MiB of L3 they overtook the string store between 24 and 32 MiB).
constexpr size_t kWordFillStreamsFrom = size_t{1} << 23;

// Stores `value` into words[0] to words[count - 1] and nowhere else; nothing
// when count is 0. `words` needs only the alignment of an int32_t. The
// stores are complete and ordered before later stores when it returns.
void fillWords(int32_t* words, size_t count, int32_t value);
