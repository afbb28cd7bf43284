// What the seed generators share: writing one seed file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace seeds {

/// Writes bytes to dir/name; false when the file cannot be written whole.
inline bool Write(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string path = dir + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace seeds
