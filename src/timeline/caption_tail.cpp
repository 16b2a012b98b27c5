#include "timeline/caption_tail.h"

namespace quillfen {

CaptionTail& programCaptionTail() {
    static CaptionTail tail;
    return tail;
}

}  // namespace quillfen
