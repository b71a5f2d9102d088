#include "platform/word_fill.h"

// The string store: __stosd with the Microsoft compilers (clang-cl has it
// too), the same instruction as inline assembly with g++ and clang. Streaming
// stores through SSE2, which every x64 processor has. Other processors get
// the plain loop.
#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#define FACETKIT_STRING_STORE_INTRINSIC 1
#elif defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define FACETKIT_STRING_STORE_ASM 1
#endif

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define FACETKIT_STREAMING_STORES 1
#endif

namespace {

void storeAsString(int32_t* words, size_t count, int32_t value) {
#if defined(FACETKIT_STRING_STORE_INTRINSIC)
  static_assert(sizeof(unsigned long) == sizeof(int32_t), "__stosd stores 32-bit words");
  __stosd(reinterpret_cast<unsigned long*>(words), static_cast<unsigned long>(value), count);
#elif defined(FACETKIT_STRING_STORE_ASM)
  // rep stosl: stores eax into ecx words from edi upwards (the direction
  // flag is clear at every call, as both calling conventions require).
  __asm__ volatile("rep stosl" : "+D"(words), "+c"(count) : "a"(value) : "memory");
#else
  for (size_t index = 0; index < count; ++index) words[index] = value;
#endif
}

#if defined(FACETKIT_STREAMING_STORES)
constexpr size_t kWordsPerStore = sizeof(__m128i) / sizeof(int32_t);
// Four stores fill one 64-byte cache line.
constexpr size_t kWordsPerLine = 4 * kWordsPerStore;
static_assert(kWordFillStreamsFrom > kWordsPerLine, "a streamed range holds a line after its head");

void storeStreaming(int32_t* words, size_t count, int32_t value) {
  // Streaming stores write whole cache lines from a line's start (each store
  // needs a 16-byte boundary, and a line written in part costs a read); the
  // words before the first line and after the last go through the string
  // store. The count is at least kWordFillStreamsFrom, far more than a line.
  const size_t pastLineStart = reinterpret_cast<uintptr_t>(words) / sizeof(int32_t) % kWordsPerLine;
  const size_t head = pastLineStart == 0 ? 0 : kWordsPerLine - pastLineStart;
  storeAsString(words, head, value);
  const __m128i wide = _mm_set1_epi32(value);
  const size_t lines = (count - head) / kWordsPerLine;
  __m128i* line = reinterpret_cast<__m128i*>(words + head);
  for (size_t index = 0; index < lines; ++index, line += 4) {
    _mm_stream_si128(line, wide);
    _mm_stream_si128(line + 1, wide);
    _mm_stream_si128(line + 2, wide);
    _mm_stream_si128(line + 3, wide);
  }
  // Streaming stores are weakly ordered: the fence makes them visible before
  // any store that follows.
  _mm_sfence();
  const size_t done = head + lines * kWordsPerLine;
  storeAsString(words + done, count - done, value);
}
#endif

}  // namespace

void fillWords(int32_t* words, size_t count, int32_t value) {
#if defined(FACETKIT_STREAMING_STORES)
  if (count >= kWordFillStreamsFrom) {
    storeStreaming(words, count, value);
    return;
  }
#endif
  storeAsString(words, count, value);
}
