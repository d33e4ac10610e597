/* adobesdk/config/AdobesdkTypes.h - small types shared by the drawing suites.
 *
 * Conventions: strings handed to the drawing suites are UTF-16; booleans are one byte, 0 or 1.
 */
#ifndef PLURION_SDK_ADOBESDKTYPES_H
#define PLURION_SDK_ADOBESDKTYPES_H

#include <stdint.h>

typedef uint16_t ADOBESDK_UTF16Char;
typedef uint8_t ADOBESDK_UTF8Char;
typedef uint8_t ADOBESDK_Boolean;

enum { kAdobesdk_False = 0, kAdobesdk_True = 1 };

typedef ADOBESDK_UTF16Char DRAWBOT_UTF16Char;
typedef ADOBESDK_Boolean DRAWBOT_Boolean;

/* A host-owned string, opaque to plug-ins. */
typedef struct {
    int64_t opaque[2];
} ADOBESDK_String;

#endif /* PLURION_SDK_ADOBESDKTYPES_H */
