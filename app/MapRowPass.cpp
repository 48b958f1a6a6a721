#include "app/MapRowPass.h"

namespace app {

int DefaultMapThreads()
{
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

} // namespace app
