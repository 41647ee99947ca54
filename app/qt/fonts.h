#pragma once
// The design's typefaces do not exist on this platform. Their names stay
// as they are (the settings file keeps them); substitutions map them to an
// installed Japanese font, so text has Japanese glyph shapes whatever the
// locale.
#include <QString>

namespace tavrin {

// Registers the substitutions; returns the family chosen, empty when no
// Japanese font is installed.
QString RegisterFontSubstitutions();

}  // namespace tavrin
