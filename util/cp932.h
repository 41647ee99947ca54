#pragma once
// The one codec between Unicode text (UTF-8 here) and the CP932 bytes the
// engine works on. Decoding and encoding follow the Microsoft CP932 table.
// A character CP932 cannot represent gets, for this run of the program, an
// opaque double-byte code from a row CP932 leaves unassigned, so it survives
// the round trip unaltered; only when those codes run out is it replaced,
// and the result says how many were.
#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin::cp932 {

struct EncodeResult {
  std::string bytes;         // CP932
  std::size_t replaced = 0;  // characters that could not be given a code
};

// UTF-8 to CP932. Invalid UTF-8 sequences count as replaced characters.
EncodeResult FromUtf8(std::string_view utf8);

// CP932 to UTF-8; every code FromUtf8 handed out decodes to its original.
std::string ToUtf8(std::string_view cp932);

// CP932 bytes of a literal of the program's own (captions, messages) that
// is written in UTF-8 in the source.
std::string Sjis(std::string_view utf8);

}  // namespace tavrin::cp932
