#pragma once

#include <QtConcurrent/QtConcurrentRun>

#include <memory>
#include <type_traits>
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

inline void handOver([[maybe_unused]] const void* at) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void*>(at));
#endif
}

inline void takeOver([[maybe_unused]] const void* at) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void*>(at));
#endif
}

// Qt's pool hands a task to its thread, and its answer back, through locks and counters of a
// Qt built without ThreadSanitizer, which the checker cannot see: the task says so itself.
// Moved into the pool's task, it marks what it holds as handed over at its new place; moved
// out of there on the pool's thread, it marks them as taken over before it reads them; once
// it has its answer, it marks it as given at the place the caller's Task knows. Nothing of
// this, in other builds.
template <typename F> class Handed {
  public:
    Handed(F f, std::shared_ptr<const char> answered)
        : answered_(std::move(answered)), f_(std::move(f)) {
        handOver(this);
    }
    Handed(Handed&& other) noexcept
        : answered_((takeOver(&other), std::move(other.answered_))), f_(std::move(other.f_)) {
        handOver(this);
    }
    Handed(const Handed&) = delete;
    Handed& operator=(const Handed&) = delete;
    Handed& operator=(Handed&&) = delete;
    ~Handed() = default;

    auto operator()() {
        if constexpr (std::is_void_v<decltype(f_())>) {
            f_();
            handOver(answered_.get());
        } else {
            auto answer = f_();
            handOver(answered_.get());
            return answer;
        }
    }

  private:
    std::shared_ptr<const char> answered_;
    F f_;
};

} // namespace detail

// A task handed to the pool: its future, for a QFutureWatcher or to wait for, and the answer
// taken as the thread that asks for it sees it. Its last copy waits for the work when it goes,
// also when an exception takes its caller away: the work may use what the caller owns (a
// buffer it reads into), which must outlive it.
template <typename R> class Task {
  public:
    Task(QFuture<R> future, std::shared_ptr<const char> answered)
        : future_(std::move(future)), answered_(std::move(answered)) {}
    Task(const Task&) = default;
    Task(Task&&) noexcept = default;
    Task& operator=(const Task&) = default;
    Task& operator=(Task&&) noexcept = default;
    ~Task() {
        if (copies_.use_count() == 1 && future_.isValid() && !future_.isFinished())
            future_.waitForFinished();
    }

    const QFuture<R>& future() const { return future_; }
    // Waits for the answer (the task runs on this thread when no pool thread took it yet) and
    // takes it.
    R take() {
        R answer = future_.takeResult();
        received();
        return answer;
    }
    // The answer once the future finished (said by a QFutureWatcher).
    R result() const {
        R answer = future_.result();
        received();
        return answer;
    }

  private:
    void received() const { detail::takeOver(answered_.get()); }

    QFuture<R> future_;
    std::shared_ptr<const char> answered_;
    std::shared_ptr<const char> copies_ = std::make_shared<const char>(); // this task's copies
};

// Runs task (a callable taking nothing) in the pool: QtConcurrent::run.
template <typename F> auto run(F task) {
    using R = decltype(task());
    auto answered = std::make_shared<const char>();
    QFuture<R> future = QtConcurrent::run(detail::Handed<F>(std::move(task), answered));
    return Task<R>(std::move(future), std::move(answered));
}

// Lets go of held. When it is the last hold, what it holds is freed by a task of the pool:
// tens of megabytes of lines take a while to give back, and nobody waits for them.
void giveBack(std::shared_ptr<const void> held);

} // namespace tarvok::pool
