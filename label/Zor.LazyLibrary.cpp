#include "Zor.LazyLibrary.h"

#include <dlfcn.h>

namespace zor {

TLazyLibrary::TLazyLibrary(const char* soname)
    : fHandle(dlopen(soname, RTLD_NOW | RTLD_LOCAL))
{
}

void* TLazyLibrary::Symbol(const char* name) const
{
    return fHandle ? dlsym(fHandle, name) : nullptr;
}

} // namespace zor
