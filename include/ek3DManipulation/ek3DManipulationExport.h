#pragma once

/// @file
/// Marks what the shared library exports; everything else is hidden.
///
/// @def EK3DMANIPULATION_API
/// On a class or function: exported by the library's shared objects
/// (imported by their users on Windows).
#if defined(_WIN32)
#  if defined(EK3DMANIPULATION_BUILDING)
#    define EK3DMANIPULATION_API __declspec(dllexport)
#  else
#    define EK3DMANIPULATION_API __declspec(dllimport)
#  endif
#else
#  define EK3DMANIPULATION_API __attribute__((visibility("default")))
#endif
