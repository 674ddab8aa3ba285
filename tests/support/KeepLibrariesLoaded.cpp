#include "KeepLibrariesLoaded.h"

#include <dlfcn.h>
#include <link.h>
#include <string>
#include <vector>

namespace velorun::test {

void keepLoadedLibrariesUntilExit()
{
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* out) {
            if (info->dlpi_name && *info->dlpi_name)
                static_cast<std::vector<std::string>*>(out)->push_back(info->dlpi_name);
            return 0;
        },
        &names);
    // Not from inside the iteration, which holds the loader's lock.
    for (const std::string& name : names)
        dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace velorun::test
