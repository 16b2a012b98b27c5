// Spiral: blocks of the second picture are laid clockwise from the top-left corner, ring by
// ring, towards the centre.
#include <algorithm>

#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {
namespace {

// Position of block (i, j) (column, row from the top) on the inward clockwise spiral through an
// nx x ny grid.
int spiralIndex(int i, int j, int nx, int ny) {
    const int ring = std::min({i, j, nx - 1 - i, ny - 1 - j});
    // Every outer ring m is a full loop of 2(nx - 2m) + 2(ny - 2m) - 4 blocks.
    const int before = ring * (2 * (nx + ny) - 4) - 4 * ring * (ring - 1);
    const int a = nx - 2 * ring, b = ny - 2 * ring;
    const int li = i - ring, lj = j - ring;
    if (lj == 0) return before + li;
    if (li == a - 1) return before + (a - 1) + lj;
    if (lj == b - 1) return before + (a - 1) + (b - 1) + (a - 1 - li);
    return before + 2 * (a - 1) + (b - 1) + (b - 1 - lj);
}

}  // namespace

void renderSpiral(const EffectJob& job, int rowBegin, int rowEnd) {
    const int block = cellSize(job.width, 16);
    const int nx = (job.width + block - 1) / block;
    const int ny = (job.height + block - 1) / block;
    const float scale = 1.0f / static_cast<float>(nx * ny);
    std::vector<float> blockValues(static_cast<std::size_t>(nx));
    int blockRow = -1;
    renderByValue(job, rowBegin, rowEnd, 0.0f, [&](int top, float* v) {
        if (top / block == blockRow) return false;  // rows of one block row are alike
        blockRow = top / block;
        for (int i = 0; i < nx; ++i)
            blockValues[static_cast<std::size_t>(i)] =
                (static_cast<float>(spiralIndex(i, blockRow, nx, ny)) + 0.5f) * scale;
        for (int x = 0; x < job.width; ++x)
            v[x] = blockValues[static_cast<std::size_t>(x / block)];
        return true;
    });
}

}  // namespace quillfen::effects
