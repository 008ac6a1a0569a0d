#pragma once

// Marks what the shared library exports; everything else is hidden.
#if defined(_WIN32)
#  if defined(EK3DMANIPULATION_BUILDING)
#    define EK3DMANIPULATION_API __declspec(dllexport)
#  else
#    define EK3DMANIPULATION_API __declspec(dllimport)
#  endif
#else
#  define EK3DMANIPULATION_API __attribute__((visibility("default")))
#endif
