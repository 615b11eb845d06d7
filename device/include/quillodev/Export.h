#pragma once

// Symbols of the shared library are hidden unless marked.
#if defined(_WIN32)
#if defined(QUILLODEV_BUILDING)
#define QUILLODEV_EXPORT __declspec(dllexport)
#elif defined(QUILLODEV_STATIC)
#define QUILLODEV_EXPORT
#else
#define QUILLODEV_EXPORT __declspec(dllimport)
#endif
#else
#define QUILLODEV_EXPORT __attribute__((visibility("default")))
#endif
