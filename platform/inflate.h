// Raw deflate streams (stored, fixed and dynamic Huffman blocks), decoded from bytes held in
// memory into a buffer of known size, without any platform call. Every read is checked against
// the input and every write against the end of the output, so a stream that claims more than
// the buffer holds stops there, whatever it says.
#pragma once
#include <cstddef>
#include <cstdint>

namespace raw_deflate {

enum class Result : uint8_t {
  Done,     // the final block ended; `written` bytes were produced
  Damaged,  // a malformed block, a code that is not one, a distance before the start, or the input ran out
  TooLong,  // the stream would produce more than the output holds
};

// Decodes the raw stream at `in` (`inSize` bytes) into `out` (`outSize` bytes). `written` is
// what was produced (all of it valid output even when the result is not Done); `consumed`, when
// given, is how many input bytes the stream took up to its end.
Result Inflate(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, size_t* written,
               size_t* consumed = nullptr);

}  // namespace raw_deflate
