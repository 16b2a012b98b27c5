#include "output/trace.h"

namespace quillfen {

TraceEntry makeTraceEntry(std::string text, ColourValue colour, int icon) {
    if (icon < 0 || icon >= kTraceIconCount) icon = kIconNone;
    return TraceEntry{std::move(text), colour, icon};
}

}  // namespace quillfen
