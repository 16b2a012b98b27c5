#pragma once
// Recently shown preview frames, by movie frame number, within a fixed memory budget: the least
// recently used frames go first when a new one would not fit.

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

#include "imaging/frame_image.h"

namespace quillfen {

class FrameCache {
  public:
    using Frame = std::shared_ptr<const FrameImage>;
    static constexpr std::size_t kDefaultBudget = 64u * 1024 * 1024;

    explicit FrameCache(std::size_t budgetBytes = kDefaultBudget) : budget_(budgetBytes) {}

    /// The frame kept for `index`, now the most recently used; null when none.
    Frame find(std::int64_t index);
    /// Keeps `frame` for `index`, evicting older frames to stay within the budget. A frame
    /// larger than the whole budget is not kept.
    void insert(std::int64_t index, Frame frame);
    void clear();

    std::size_t bytes() const { return bytes_; }
    std::size_t budget() const { return budget_; }
    std::size_t count() const { return entries_.size(); }

  private:
    struct Entry {
        std::int64_t index;
        Frame frame;
    };
    using Order = std::list<Entry>;

    void evictTo(std::size_t limit);

    std::size_t budget_;
    std::size_t bytes_ = 0;
    Order order_;  // most recently used first
    std::unordered_map<std::int64_t, Order::iterator> entries_;
};

}  // namespace quillfen
