// velorun-replay-fuzz: libFuzzer feeds the replay reader arbitrary bytes. Any
// crash, hang, leak or undefined behaviour it finds is a fault; each such
// input becomes a case of the bad-file table in tests/unit/ReplayFileTest.cpp.
#include "replay/ReplayFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const velorun::ReplayReading reading =
        velorun::readReplay(std::string_view(reinterpret_cast<const char*>(data), size));
    // A file is either read or refused with a reason, never both or neither.
    if (reading.replay.has_value() == !reading.error.empty())
        __builtin_trap();
    return 0;
}
