#pragma once
// CTransitionEngine renders one step of a transition effect between two Frame images. The
// Transition element feeds it both inputs, sets the background and the placement on its first
// step and asks for one frame per progress value. Stereo pairs are rendered one view at a time
// so that the effect of one view never reaches into the other.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "imaging/effects/effect_catalogue.h"
#include "imaging/effects/effect_kernel.h"
#include "imaging/frame_image.h"

namespace quillfen {

/// A rectangle in output pixels, top counted from the picture's top edge.
struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

/// Which input SetInput fills: the first is shown at progress 0, the second at progress 1.
enum class EngineInput { First, Second };

class CTransitionEngine {
  public:
    /// Opaque black background, empty placement, stereo off, no inputs.
    CTransitionEngine() = default;

    /// The effects this engine can render (the built-in catalogue).
    const EffectCatalogue& catalogue() const;
    /// The class id of the effect whose display name equals `name` exactly (case-sensitive).
    std::optional<ClassId> FindEffect(std::string_view name) const;

    /// Background as ARGB (alpha in the top byte, ignored in the output).
    void setBackground(std::uint32_t argb) { background_ = argb; }
    std::uint32_t background() const { return background_; }
    /// Its width and height are the output size; left and top place the output in the result.
    void setPlacement(const PlacementRect& rect) { placement_ = rect; }
    const PlacementRect& placement() const { return placement_; }
    /// With stereo on, inputs and output are side-by-side pairs and each view is rendered alone.
    void setStereo(bool on) { stereo_ = on; }
    bool stereo() const { return stereo_; }

    /// Copies `image` (any depth) as the given input; the caller keeps the image. Its columns
    /// 0 .. w-1 are the (left) view, w being the image width, halved with stereo on; with stereo
    /// the columns w .. 2w-1 are the right view. An empty or unreadable image leaves the input
    /// empty and returns false, so that the next Apply gives none; a caller that would rather
    /// keep showing the previous picture simply does not call SetInput.
    bool SetInput(EngineInput which, const FrameImage& image);

    /// Drops the output buffers of the previous step. Inputs are kept.
    void ReleaseTransforms();

    /// One step of the effect `effect` at `progress` (clamped to 0 ... 1): a new 32-bit image of
    /// the placement width (with stereo: twice half of it) by the placement height, with each
    /// view's output at the placement's left and top and the background wherever no input
    /// shows. Inputs are taken at 1:1 from their top-left corner: a smaller input leaves
    /// background around it, a larger one is cut. None when either input is missing, the
    /// effect is unknown, the placement is empty or memory runs out; the engine stays usable.
    FrameImage Apply(const ClassId& effect, float progress);

  private:
    struct Input {
        std::vector<std::uint32_t> pixels;  // the image in 32 bits, rows bottom-up; reused
        int width = 0;
        int height = 0;
        int viewWidth = 0;
        bool hasRightView = false;
        bool present = false;
    };
    using Plane = std::vector<std::uint32_t>;

    bool usableAsIs(int viewWidth, int height) const;
    bool composeInputs(int viewWidth, int height);
    FrameImage render(EffectRender renderFn, int viewWidth, int height, float progress);

    std::uint32_t background_ = 0xFF000000u;
    PlacementRect placement_;
    bool stereo_ = false;
    std::array<Input, 2> inputs_;
    // The inputs laid over the background at the output size, per view and input; kept while
    // neither inputs nor geometry change, so still pictures are composed once per transition.
    // Inputs of exactly the output size are used where they are, without composing.
    std::array<std::array<Plane, 2>, 2> planes_;
    std::array<std::array<const std::uint32_t*, 2>, 2> views_{};
    int viewStride_ = 0;
    bool planesValid_ = false;
    int planesWidth_ = 0, planesHeight_ = 0;
    std::uint32_t planesBackground_ = 0;
    bool planesStereo_ = false;
    Plane scratch_;
};

}  // namespace quillfen
