#include "timeline/timeline_factory.h"

#include "base/file_system.h"
#include "script/script_paths.h"
#include "timeline/frame_element.h"
#include "timeline/kbe_element.h"
#include "timeline/pip_element.h"
#include "timeline/sequence_element.h"
#include "timeline/text_element.h"
#include "timeline/transition_element.h"
#include "timeline/video_element.h"

namespace quillfen {

BuiltElement TimelineFactory::buildElement(Command code, int line, const MovieSettings& settings,
                                           std::string_view parameters) {
    switch (code) {
        case Command::Transition:
            return keep(std::make_unique<TransitionElement>(line, settings, parameters, effects_));
        case Command::Pip:
            return keep(std::make_unique<PipElement>(line, settings, parameters));
        case Command::Kbe:
            return keep(std::make_unique<KbeElement>(line, settings, parameters));
        case Command::Sequence:
            return keep(std::make_unique<SequenceElement>(line, settings, parameters));
        case Command::Frame:
            return keep(std::make_unique<FrameElement>(line, settings, parameters));
        case Command::Text:
            return keep(std::make_unique<TextElement>(line, settings, parameters, tail_));
        case Command::Video:
            return keep(std::make_unique<VideoElement>(line, settings, parameters));
        default:
            return BuiltElement{false, "Error: not an element command.", ElementKind::None};
    }
}

BuiltElement TimelineFactory::buildPicture(int line, const MovieSettings& settings,
                                           std::string_view name, int frameCount) {
    return keep(std::make_unique<SourceElement>(line, settings, name, frameCount));
}

BuiltElement TimelineFactory::buildSoundtrack(int lineIndex, const MovieSettings& settings,
                                              std::string_view parameters) {
    if (!soundtracks_) return {true, {}, ElementKind::None};
    std::string error;
    std::optional<SoundtrackCue> cue = readSoundtrackCue(lineIndex, parameters, settings, error);
    if (!cue) return {false, error, ElementKind::None};
    cue->elementsBefore = elements_.size();
    soundtracks_->push_back(std::move(*cue));
    return {true, {}, ElementKind::None};
}

bool TimelineFactory::folderExists(std::string_view folder, const MovieSettings& settings) {
    return DirectoryExists(nativePath(folder, settings));
}

namespace {

/// Elements whose `file` names one file on disk.
bool namesOneFile(ElementKind kind) {
    return kind == ElementKind::Source || kind == ElementKind::Kbe || kind == ElementKind::Video;
}

}  // namespace

BuiltElement TimelineFactory::keep(std::unique_ptr<SourceElement> element) {
    BuiltElement built{element->valid, element->message, element->kind};
    if (built.valid && built.message.empty() && namesOneFile(built.kind))
        built.message = caseWarning(element->file, element->settings);
    if (element->valid) elements_.push_back(std::move(element));
    return built;
}

}  // namespace quillfen
