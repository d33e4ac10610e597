/* AE_EffectPixelFormat.h - pixel formats of worlds (PF_PixelFormat).
 *
 * Conventions: a format is a four-character code packed with its first character in the lowest
 * byte (so it differs from the compiler's value of the literal 'argb'); compare against these
 * constants only. Channel ranges: 8 bits 0 to 255, 16 bits 0 to 32768, float 0 to 1 for white.
 */
#ifndef PLURION_SDK_AE_EFFECTPIXELFORMAT_H
#define PLURION_SDK_AE_EFFECTPIXELFORMAT_H

#include "A.h"

#ifndef MAKE_PIXEL_FORMAT_FOURCC
#define MAKE_PIXEL_FORMAT_FOURCC(ch0, ch1, ch2, ch3)                                               \
    ((A_u_long)(A_u_char)(ch0) | ((A_u_long)(A_u_char)(ch1) << 8) |                                \
     ((A_u_long)(A_u_char)(ch2) << 16) | ((A_u_long)(A_u_char)(ch3) << 24))
#endif

/* Every code below stays under 2^31, so each fits the 32-bit signed enumeration. */
enum {
    PF_PixelFormat_ARGB32 = MAKE_PIXEL_FORMAT_FOURCC('a', 'r', 'g', 'b'),  /* 8 bits ARGB */
    PF_PixelFormat_ARGB64 = MAKE_PIXEL_FORMAT_FOURCC('a', 'e', '1', '6'),  /* 16 bits ARGB */
    PF_PixelFormat_ARGB128 = MAKE_PIXEL_FORMAT_FOURCC('a', 'e', '3', '2'), /* float ARGB */
    PF_PixelFormat_GPU_BGRA128 = MAKE_PIXEL_FORMAT_FOURCC('@', 'C', 'D', 'A'),
    PF_PixelFormat_RESERVED = MAKE_PIXEL_FORMAT_FOURCC('@', 'C', 'D', 'a'),
    PF_PixelFormat_BGRA32 = MAKE_PIXEL_FORMAT_FOURCC('b', 'g', 'r', 'a'),
    PF_PixelFormat_VUYA32 = MAKE_PIXEL_FORMAT_FOURCC('v', 'u', 'y', 'a'),
    PF_PixelFormat_NTSCDV25 = MAKE_PIXEL_FORMAT_FOURCC('d', 'v', 'n', '2'),
    PF_PixelFormat_PALDV25 = MAKE_PIXEL_FORMAT_FOURCC('d', 'v', 'p', '2'),
    PF_PixelFormat_INVALID = MAKE_PIXEL_FORMAT_FOURCC('b', 'a', 'd', 'f'), /* not yet known */
    /* All 32 bits set (0xFFFFFFFF), written as the signed value the 32-bit type holds. */
    PF_PixelFormat_FORCE_LONG_INT = -1
};
typedef A_long PF_PixelFormat;

#endif /* PLURION_SDK_AE_EFFECTPIXELFORMAT_H */
