#pragma once
// The parser's ElementFactory: builds each kind of Element and keeps the valid ones in an
// Element list.

#include "imaging/effects/effect_catalogue.h"
#include "script/parse_seams.h"
#include "timeline/caption_tail.h"
#include "timeline/element_list.h"
#include "timeline/soundtrack.h"

namespace quillfen {

class TimelineFactory : public ElementFactory {
  public:
    /// Appends to `elements`; `effects` and `tail` are not owned and must outlive the
    /// Elements.
    TimelineFactory(ElementList& elements, const EffectCatalogue& effects, CaptionTail& tail,
                    SoundtrackList* soundtracks = nullptr)
        : elements_(elements), effects_(effects), tail_(tail), soundtracks_(soundtracks) {}

    BuiltElement buildElement(Command code, int lineIndex, const MovieSettings& settings,
                              std::string_view parameters) override;
    BuiltElement buildPicture(int lineIndex, const MovieSettings& settings, std::string_view name,
                              int frameCount) override;
    bool folderExists(std::string_view folder, const MovieSettings& settings) override;
    /// Keeps the cue in the soundtrack list (without a list, accepts and ignores it).
    BuiltElement buildSoundtrack(int lineIndex, const MovieSettings& settings,
                                 std::string_view parameters) override;

  private:
    BuiltElement keep(std::unique_ptr<SourceElement> element);

    ElementList& elements_;
    const EffectCatalogue& effects_;
    CaptionTail& tail_;
    SoundtrackList* soundtracks_;  // not owned; may be null
};

}  // namespace quillfen
