// Shows ThreadSanitizer the order that Qt's blocking hand-off
// (Qt::BlockingQueuedConnection) sets between the worker and the window
// thread: Qt posts the call and waits on a semaphore inside its own
// uninstrumented library, so without these marks every value passed across
// reads as a race. Outside a ThreadSanitizer build the marks are no code.
#pragma once

#include <utility>

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

// What a thread did before Send happens before what a thread does after a
// later Receive. One token for all hand-offs: each mark stands for Qt's own
// synchronisation of the posted call, which orders them all.
#ifdef MARKSEND_TSAN
inline char token;
inline void Send() { __tsan_release(&token); }
inline void Receive() { __tsan_acquire(&token); }
#else
inline void Send() {}
inline void Receive() {}
#endif

// A call carried to another thread by Qt. Its storage is built by the
// sending thread inside Qt, run on the receiving one and freed by either, so
// it marks each change of hands itself: once moved into place, before it
// runs, after it ran and before it is freed.
template <typename Body>
class Carried {
 public:
  explicit Carried(Body body) : body_(std::move(body)) {}
  Carried(Carried&& other) : body_(std::move(other.body_)) { Send(); }
  Carried& operator=(Carried&&) = delete;
  ~Carried() { Receive(); }
  void operator()() {
    Receive();
    body_();
    Send();
  }

 private:
  Body body_;
};

template <typename Body>
Carried<Body> Carry(Body body) {
  return Carried<Body>(std::move(body));
}

}  // namespace marksend::handoff
