#include "shell/allocator_tuning.h"

#if QUENVALE_MIMALLOC
#include <mimalloc.h>
#endif

namespace shell {

void tuneAllocator() {
#if QUENVALE_MIMALLOC
    mi_option_enable(mi_option_large_os_pages);
#endif
}

}  // namespace shell
