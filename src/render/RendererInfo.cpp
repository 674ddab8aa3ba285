#include "render/RendererInfo.h"

#include <cstring>
#include <initializer_list>

namespace velorun {

bool isSoftwareRenderer(const char* rendererName)
{
    if (!rendererName)
        return false;
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (std::strstr(rendererName, name))
            return true;
    return false;
}

} // namespace velorun
