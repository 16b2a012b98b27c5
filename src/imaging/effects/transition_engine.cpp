#include "imaging/effects/transition_engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "imaging/dib_convert.h"
#include "imaging/effects/effect_registry.h"
#include "imaging/row_split.h"

namespace quillfen {
namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFFu;

// Lays view columns [x0, x0 + viewWidth) of a 32-bit image at 1:1 over a width x height plane
// of background, both anchored at their top-left corners.
void composeView(const std::vector<std::uint32_t>& image, int imageWidth, int imageHeight, int x0,
                 int viewWidth, int width, int height, std::uint32_t background,
                 std::vector<std::uint32_t>& plane) {
    plane.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background);
    const int rows = std::min(height, imageHeight);
    const int columns = std::min(width, viewWidth);
    for (int t = 0; t < rows; ++t) {
        const std::uint32_t* src =
            image.data() + static_cast<std::size_t>(imageHeight - 1 - t) * imageWidth + x0;
        std::uint32_t* dst = plane.data() + static_cast<std::size_t>(height - 1 - t) * width;
        std::copy(src, src + columns, dst);
    }
}

// Copies one view's output to the placement's left and top inside the view's own columns
// [viewX, viewX + viewWidth) of the result, cut at their edges so views never overlap.
void placeView(const std::vector<std::uint32_t>& view, int viewWidth, int height,
               const PlacementRect& at, int viewX, std::uint32_t* result, int resultWidth) {
    const int firstX = std::max(0, -at.left), lastX = std::min(viewWidth, viewWidth - at.left);
    for (int t = std::max(0, -at.top); t < height && t + at.top < height; ++t) {
        const std::uint32_t* src =
            view.data() + static_cast<std::size_t>(height - 1 - t) * viewWidth;
        std::uint32_t* dst =
            result + static_cast<std::size_t>(height - 1 - t - at.top) * resultWidth;
        for (int x = firstX; x < lastX; ++x)
            dst[viewX + at.left + x] = src[x];
    }
}

// The image as 32-bit pixels with a clear fourth byte, into a buffer kept from step to step.
// 24- and 32-bit pictures (nearly every frame) are converted here directly; other depths go
// through DibTo32.
bool readPixels(const FrameImage& image, std::vector<std::uint32_t>& pixels) {
    if (!image.rowsFit()) return false;
    const BitmapInfoHeader h = image.header();
    const int w = h.biWidth, bits = h.biBitCount;
    FrameImage converted;
    const FrameImage* source = &image;
    if (h.biCompression != kBiRgb || (bits != 24 && bits != 32)) {
        converted = DibTo32(image);
        if (!converted) return false;
        source = &converted;
    }
    pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h.biHeight));
    for (int y = 0; y < h.biHeight; ++y) {
        const std::uint8_t* src = source->row(y);
        std::uint32_t* dst = pixels.data() + static_cast<std::size_t>(y) * w;
        if (source->bitCount() == 24) {
            for (int x = 0; x < w; ++x)
                dst[x] = src[3 * x] | (src[3 * x + 1] << 8) | (src[3 * x + 2] << 16);
        } else {
            // One pass: copied and masked together.
            for (int x = 0; x < w; ++x) {
                std::uint32_t pixel;
                std::memcpy(&pixel, src + 4 * x, 4);
                dst[x] = pixel & kColourBits;
            }
        }
    }
    return true;
}

// A 32-bit image whose pixels the caller writes in full: the effects cover every pixel when
// the output sits at the corner, so zeroing the block first would be a wasted pass.
FrameImage uninitialised32(int width, int height) {
    const std::size_t bytes =
        4 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (bytes > 0xFFFFFFFFu) return {};  // beyond what a bitmap header can describe
    BitmapInfoHeader h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = 32;
    h.biSizeImage = static_cast<std::uint32_t>(bytes);
    FrameImage image = FrameImage::allocateForOverwrite(h.biSize + bytes);
    if (image) image.setHeader(h);
    return image;
}

float clampProgress(float progress) {
    if (std::isnan(progress)) return 0.0f;
    return std::clamp(progress, 0.0f, 1.0f);
}

}  // namespace

const EffectCatalogue& CTransitionEngine::catalogue() const {
    return builtinEffectCatalogue();
}

std::optional<ClassId> CTransitionEngine::FindEffect(std::string_view name) const {
    return catalogue().FindEffect(name);
}

bool CTransitionEngine::SetInput(EngineInput which, const FrameImage& image) {
    Input& input = inputs_[which == EngineInput::First ? 0 : 1];
    input.present = false;
    planesValid_ = false;
    try {
        if (!readPixels(image, input.pixels)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    input.width = image.width();
    input.height = image.height();
    input.viewWidth = stereo_ ? input.width / 2 : input.width;
    input.hasRightView = stereo_;
    input.present = input.viewWidth > 0;
    return input.present;
}

void CTransitionEngine::ReleaseTransforms() {
    scratch_ = Plane{};
}

bool CTransitionEngine::usableAsIs(int viewWidth, int height) const {
    for (const Input& input : inputs_) {
        if (input.viewWidth != viewWidth || input.height != height) return false;
        if (input.width != inputs_[0].width) return false;
    }
    return true;
}

bool CTransitionEngine::composeInputs(int viewWidth, int height) {
    const std::uint32_t background = background_ & kColourBits;
    if (planesValid_ && planesWidth_ == viewWidth && planesHeight_ == height &&
        planesBackground_ == background && planesStereo_ == stereo_)
        return true;
    planesValid_ = false;
    const int views = stereo_ ? 2 : 1;
    if (stereo_ && (!inputs_[0].hasRightView || !inputs_[1].hasRightView)) return false;
    const bool asIs = usableAsIs(viewWidth, height);
    viewStride_ = asIs ? inputs_[0].width : viewWidth;
    for (int view = 0; view < views; ++view) {
        for (int slot = 0; slot < 2; ++slot) {
            const Input& input = inputs_[slot];
            if (asIs) {
                planes_[view][slot] = Plane{};
                views_[view][slot] = input.pixels.data() + view * viewWidth;
                continue;
            }
            composeView(input.pixels, input.width, input.height, view * input.viewWidth,
                        input.viewWidth, viewWidth, height, background, planes_[view][slot]);
            views_[view][slot] = planes_[view][slot].data();
        }
    }
    planesValid_ = true;
    planesWidth_ = viewWidth;
    planesHeight_ = height;
    planesBackground_ = background;
    planesStereo_ = stereo_;
    return true;
}

FrameImage CTransitionEngine::Apply(const ClassId& effect, float progress) {
    if (!inputs_[0].present || !inputs_[1].present) return {};
    EffectRender renderFn = findEffectRender(effect);
    if (!renderFn) return {};
    int viewWidth = placement_.width();
    const int height = placement_.height();
    if (stereo_) viewWidth /= 2;
    if (viewWidth <= 0 || height <= 0) return {};
    try {
        if (!composeInputs(viewWidth, height)) return {};
        return render(renderFn, viewWidth, height, clampProgress(progress));
    } catch (const std::bad_alloc&) {
        planesValid_ = false;
        return {};
    }
}

FrameImage CTransitionEngine::render(EffectRender renderFn, int viewWidth, int height,
                                     float progress) {
    const int views = stereo_ ? 2 : 1;
    const int totalWidth = views * viewWidth;
    const bool direct = placement_.left == 0 && placement_.top == 0;
    FrameImage result =
        direct ? uninitialised32(totalWidth, height) : FrameImage::create(totalWidth, height, 32);
    if (!result) return {};
    auto* resultPixels = reinterpret_cast<std::uint32_t*>(result.pixels());
    if (!direct) {
        std::fill_n(resultPixels, static_cast<std::size_t>(totalWidth) * height,
                    background_ & kColourBits);
        scratch_.resize(static_cast<std::size_t>(viewWidth) * height);
    }
    for (int view = 0; view < views; ++view) {
        EffectJob job;
        job.from = views_[view][0];
        job.to = views_[view][1];
        job.inStride = viewStride_;
        job.width = viewWidth;
        job.height = height;
        job.progress = progress;
        job.background = background_ & kColourBits;
        if (direct) {
            // The result rows are the views side by side: render straight into them.
            job.out = resultPixels + view * viewWidth;
            job.outStride = totalWidth;
        } else {
            job.out = scratch_.data();
        }
        splitRows(0, height, std::int64_t{viewWidth} * height,
                  [&](int first, int last) { renderFn(job, first, last); });
        if (!direct)
            placeView(scratch_, viewWidth, height, placement_, view * viewWidth, resultPixels,
                      totalWidth);
    }
    return result;
}

}  // namespace quillfen
