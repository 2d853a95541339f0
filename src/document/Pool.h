#pragma once

#include <memory>

namespace tarvok::pool {

// Work the editor does beside the window's thread goes to Qt's global thread pool
// (QtConcurrent::run), never to a thread of its own: the pool keeps as many threads as the
// machine has cores, a task waited for before a thread took it runs on the waiting thread
// (so tasks may wait for the tasks they hand out), and the application waits for the pool
// before it ends, so no task outlives it.

// Lets go of held. When it is the last hold, what it holds is freed by a task of the pool:
// tens of megabytes of lines take a while to give back, and nobody waits for them.
void giveBack(std::shared_ptr<const void> held);

} // namespace tarvok::pool
