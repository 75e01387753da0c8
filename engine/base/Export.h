#pragma once

// Symbols of duskwright are hidden unless marked: DW_API marks the exported interface.
#if defined(_WIN32)
#  ifdef DUSKWRIGHT_BUILD
#    define DW_API __declspec(dllexport)
#  else
#    define DW_API __declspec(dllimport)
#  endif
#else
#  define DW_API __attribute__((visibility("default")))
#endif
