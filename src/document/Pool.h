#pragma once

#include <QtConcurrent/QtConcurrentRun>

#include <memory>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace tarvok::pool {

// Work the editor does beside the window's thread goes to Qt's global thread pool, never to a
// thread of its own: the pool keeps as many threads as the machine has cores, a task waited
// for before a thread took it runs on the waiting thread (so tasks may wait for the tasks they
// hand out), and the application waits for the pool before it ends, so no task outlives it.

namespace detail {

// Qt's pool hands a task to its thread through locks of a Qt built without ThreadSanitizer,
// which the checker cannot see: the task says so itself. Moved into the pool's task, it
// marks what it holds as handed over at its new place; moved out of there on the pool's
// thread, it marks them as taken over before it reads them. Nothing, in other builds.
template <typename F> class Handed {
  public:
    explicit Handed(F f) : f_(std::move(f)) { handOver(this); }
    Handed(Handed&& other) noexcept : f_((takeOver(&other), std::move(other.f_))) {
        handOver(this);
    }
    Handed(const Handed&) = delete;
    Handed& operator=(const Handed&) = delete;
    Handed& operator=(Handed&&) = delete;
    ~Handed() = default;

    auto operator()() { return f_(); }

  private:
    static void handOver([[maybe_unused]] void* at) {
#if defined(__SANITIZE_THREAD__)
        __tsan_release(at);
#endif
    }
    static void takeOver([[maybe_unused]] void* at) {
#if defined(__SANITIZE_THREAD__)
        __tsan_acquire(at);
#endif
    }

    F f_;
};

} // namespace detail

// Runs task (a callable taking nothing) in the pool: QtConcurrent::run. Its answer comes back
// through the QFuture: taken by the thread that waits for it (QFuture::result, takeResult) or
// by a QFutureWatcher on the thread that owns it.
template <typename F> auto run(F task) {
    return QtConcurrent::run(detail::Handed<F>(std::move(task)));
}

// Lets go of held. When it is the last hold, what it holds is freed by a task of the pool:
// tens of megabytes of lines take a while to give back, and nobody waits for them.
void giveBack(std::shared_ptr<const void> held);

} // namespace tarvok::pool
