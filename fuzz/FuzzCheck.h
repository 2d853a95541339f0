#pragma once

#include <cstdio>
#include <cstdlib>

// Include it after every other header: Qt's headers use the name check.

// A broken promise: names the check before aborting, so a crash report says which.
#define check(ok)                                                                                  \
    do {                                                                                           \
        if (!(ok)) {                                                                               \
            std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #ok);                  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
