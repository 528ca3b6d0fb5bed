// The platform's own words for an error code.
#pragma once
#include <cstddef>
#include <cstdint>

// Fills out with the platform's text for error, without its closing line break; false when the
// platform has none.
bool PlatformErrorMessage(std::uint32_t error, char* out, std::size_t size);
