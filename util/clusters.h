#pragma once
// Grapheme clusters of the engine's text, as the list draws and highlights
// them: a character with the combining marks, spacing marks and variation
// selectors that follow it (カ and U+3099, 葛 and U+E0100, ｶ and ﾞ). A
// highlight or a glyph never splits one.
#include <cstddef>
#include <string_view>

namespace tavrin {

// Whether scalar value C extends the cluster before it. U+200C is not
// counted, as the list shows it as a mark of its own.
bool ExtendsCluster(char32_t C) noexcept;

// Whether the character at S[I] (I < S.size()) extends the cluster before
// it: ﾞ, ﾟ, the internal forms of U+3099 and U+309A, and any other extending
// character kept in its internal form.
bool ExtendsClusterAt(std::string_view S, std::size_t I) noexcept;

// The bytes of the cluster that starts at S[I] (I < S.size()): the
// character there with every extending character after it.
std::size_t ClusterLength(std::string_view S, std::size_t I) noexcept;

// Whether a cluster starts at Position (at most S.size()), Position being a
// character boundary: the text's ends, and every character that does not
// extend the one before it.
bool IsClusterStart(std::string_view S, std::size_t Position) noexcept;

}  // namespace tavrin
