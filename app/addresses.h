// The maker's contact addresses, handed to the desktop as they stand.
#pragma once

namespace address {
inline constexpr const char* email = "mailto:rodelume@example.org";
// A host name and a path, with no scheme, as the desktop's shell accepts it.
inline constexpr const char* homePage = "www.example.org/rodelume/";
} // namespace address
