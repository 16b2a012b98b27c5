#pragma once
// What a helper thread says about itself: its priority, and a name that profilers and
// debuggers show.

namespace quillfen {

/// Gives the calling thread the lowest scheduling priority, so that it runs on a core only
/// while no thread of normal priority wants that core. Harmless where that cannot be done:
/// the thread then keeps its priority.
void lowerThreadPriority();

/// Names the calling thread (up to 15 characters are kept), as `top -H`, perf and gdb show it.
void nameThread(const char* name);

}  // namespace quillfen
