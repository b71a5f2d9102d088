#pragma once

// Rich text as the host shows it, rendered for a terminal.

#include "standin/base/growing_text.h"

namespace standin {

// Appends `text` to `out` with "<P>" as a blank line (two line feeds),
// "<BR>" as a line feed and "<i>", "</i>" dropped, in any letter case. Other
// tags stay as they are. Null appends nothing.
void renderRichText(GrowingText* out, const char* text);

}  // namespace standin
