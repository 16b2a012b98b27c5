#include "app/frame_cache.h"

namespace quillfen {

FrameCache::Frame FrameCache::find(std::int64_t index) {
    auto it = entries_.find(index);
    if (it == entries_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return it->second->frame;
}

void FrameCache::insert(std::int64_t index, Frame frame) {
    if (!frame) return;
    const std::size_t size = frame->size();
    if (size > budget_) return;
    if (auto it = entries_.find(index); it != entries_.end()) {
        bytes_ -= it->second->frame->size();
        order_.erase(it->second);
        entries_.erase(it);
    }
    evictTo(budget_ - size);
    order_.push_front({index, std::move(frame)});
    entries_[index] = order_.begin();
    bytes_ += size;
}

void FrameCache::clear() {
    entries_.clear();
    order_.clear();
    bytes_ = 0;
}

void FrameCache::evictTo(std::size_t limit) {
    while (bytes_ > limit && !order_.empty()) {
        bytes_ -= order_.back().frame->size();
        entries_.erase(order_.back().index);
        order_.pop_back();
    }
}

}  // namespace quillfen
