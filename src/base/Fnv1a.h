#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace velorun {

// FNV-1a over bytes, in 32 or 64 bits: quick, and any change of any byte
// shows. The run's state check and the fingerprint of the program file both
// use it.
template <typename Hash> class Fnv1a {
    static_assert(sizeof(Hash) == 4 || sizeof(Hash) == 8, "FNV-1a is defined here for 32 and 64 bits");

public:
    void addBytes(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash_ = (hash_ ^ bytes[i]) * prime;
    }
    // The bytes of a value as it lies in memory.
    template <typename T> void add(const T& value)
    {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        addBytes(bytes, sizeof(T));
    }
    Hash value() const { return hash_; }

private:
    static constexpr Hash offset = sizeof(Hash) == 4 ? Hash(2166136261u) : Hash(14695981039346656037ull);
    static constexpr Hash prime = sizeof(Hash) == 4 ? Hash(16777619u) : Hash(1099511628211ull);
    Hash hash_ = offset;
};

} // namespace velorun
