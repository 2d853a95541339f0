#include "document/Pool.h"

namespace tarvok::pool {

void giveBack(std::shared_ptr<const void> held) {
    if (held && held.use_count() == 1)
        run([last = std::move(held)]() mutable { last.reset(); });
}

} // namespace tarvok::pool
