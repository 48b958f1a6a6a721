#include "platform/rtl/Exceptions.h"

namespace rtl {

void Abort()
{
    throw EAbort("Operation aborted");
}

} // namespace rtl
