#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace torvik::server {

// A version's four numbers (each up to 65535) in one integer, the first in
// the highest bits: packed versions order as the versions do, and as their
// padded texts ("00001.00002.00003.00004") do.
using PackedVersion = uint64_t;

PackedVersion PackVersion(const std::array<uint32_t, 4>& version);
std::array<uint32_t, 4> UnpackVersion(PackedVersion packed);

// The padded text as the client writes it, appended to out.
void AppendVersionX(std::string& out, PackedVersion packed);
std::string VersionXOf(PackedVersion packed);
// The four numbers joined by ".", as the catalogue writes versions
// ("2.0.0.0").
std::string DottedVersionOf(PackedVersion packed);
// Reads a padded text: four numbers of five digits up to 65535, joined by
// "."; false for anything else.
bool ParseVersionX(std::string_view text, PackedVersion& packed);

} // namespace torvik::server
