#pragma once
// Helper threads that should only use a core the main work leaves idle.

namespace quillfen {

/// Gives the calling thread the lowest scheduling priority, so that it runs on a core only
/// while no thread of normal priority wants that core. Harmless where that cannot be done:
/// the thread then keeps its priority.
void lowerThreadPriority();

}  // namespace quillfen
