#include "document/Pool.h"

#include <QRunnable>
#include <QThreadPool>

#include <atomic>

namespace tarvok::pool {
namespace {

// Frees its hold in the pool. The flag hands the hold over in a way a thread checker sees:
// the pool passes tasks through locks of a Qt built without it.
class Release : public QRunnable {
  public:
    explicit Release(std::shared_ptr<const void> held) : held_(std::move(held)) {
        handed_.store(true, std::memory_order_release);
    }
    void run() override {
        if (handed_.load(std::memory_order_acquire))
            held_.reset();
    }

  private:
    std::shared_ptr<const void> held_;
    std::atomic<bool> handed_{false};
};

} // namespace

void giveBack(std::shared_ptr<const void> held) {
    if (held && held.use_count() == 1)
        QThreadPool::globalInstance()->start(new Release(std::move(held)));
}

} // namespace tarvok::pool
