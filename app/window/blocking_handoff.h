// Marks the order that Qt's blocking hand-off (Qt::BlockingQueuedConnection)
// sets between the worker and the window thread, for ThreadSanitizer: Qt
// waits on a semaphore inside its own uninstrumented library, so without the
// marks every value passed across would read as a race. No code otherwise.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define MARKSEND_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define MARKSEND_TSAN 1
#endif
#endif

#ifdef MARKSEND_TSAN
#include <sanitizer/tsan_interface.h>
#endif

namespace marksend::handoff {

// Everything this thread did before Send happens before what the thread that
// then calls Receive with the same token does after it.
#ifdef MARKSEND_TSAN
inline void Send(void* token) { __tsan_release(token); }
inline void Receive(void* token) { __tsan_acquire(token); }
#else
inline void Send(void*) {}
inline void Receive(void*) {}
#endif

}  // namespace marksend::handoff
