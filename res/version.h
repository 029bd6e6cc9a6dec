// The program's version, in one place: the version resource and the code
// read it from here. The build may give its own numbers instead, by defining
// the four macros for the compilers (-DVELMORA_VERSION_MAJOR=...) or by
// writing this file anew.
#pragma once

#ifndef VELMORA_VERSION_MAJOR
#define VELMORA_VERSION_MAJOR 1
#endif
#ifndef VELMORA_VERSION_MINOR
#define VELMORA_VERSION_MINOR 0
#endif
#ifndef VELMORA_VERSION_PATCH
#define VELMORA_VERSION_PATCH 0
#endif
#ifndef VELMORA_VERSION_BUILD
#define VELMORA_VERSION_BUILD 0
#endif

// Derived forms: "1.0.0.0" for texts, 1,0,0,0 for the fixed version fields.
#define VELMORA_VERSION_TEXT_(a, b, c, d) #a "." #b "." #c "." #d
#define VELMORA_VERSION_TEXT2_(a, b, c, d) VELMORA_VERSION_TEXT_(a, b, c, d)
#define VELMORA_VERSION_TEXT \
    VELMORA_VERSION_TEXT2_(VELMORA_VERSION_MAJOR, VELMORA_VERSION_MINOR, VELMORA_VERSION_PATCH, VELMORA_VERSION_BUILD)
#define VELMORA_VERSION_FIELDS \
    VELMORA_VERSION_MAJOR, VELMORA_VERSION_MINOR, VELMORA_VERSION_PATCH, VELMORA_VERSION_BUILD
