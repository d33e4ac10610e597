/* A.h - basic scalar and geometry types shared by every part of the host interface.
 *
 * Conventions for all headers in this folder:
 * - Layouts are those of the host's 64-bit Windows build: natural alignment, 8-byte pointers.
 *   The interface's "long" types are 32 bits on every platform, so only fixed-width integer
 *   types appear in structures, never `long`.
 * - Times are integer pairs (value, scale): seconds = value / scale.
 * - Every header compiles as C11 and as C++; the declarations have C linkage.
 */
#ifndef PLURION_SDK_A_H
#define PLURION_SDK_A_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef char A_char;
typedef double A_FpLong;
typedef float A_FpShort;
typedef A_long A_Err;
typedef void* A_Handle;
typedef A_long A_Fixed;    /* 16.16 signed fixed point */
typedef A_u_long A_UFixed; /* 16.16 unsigned fixed point */
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef uint8_t A_u_char;
typedef uint8_t A_Boolean;
typedef intptr_t A_intptr_t;
typedef uint64_t A_u_longlong;

typedef struct {
    A_long value;
    A_u_long scale;
} A_Time;

typedef struct {
    A_long num;
    A_u_long den;
} A_Ratio;

typedef struct {
    A_FpLong x;
    A_FpLong y;
} A_FloatPoint;

typedef struct {
    A_FpLong x;
    A_FpLong y;
    A_FpLong z;
} A_FloatPoint3;

typedef struct {
    A_FpLong left;
    A_FpLong top;
    A_FpLong right;
    A_FpLong bottom;
} A_FloatRect;

typedef struct {
    A_FpLong mat[3][3];
} A_Matrix3;

typedef struct {
    A_FpLong mat[4][4];
} A_Matrix4;

/* Note the field order: top, left, bottom, right. */
typedef struct {
    A_short top;
    A_short left;
    A_short bottom;
    A_short right;
} A_LegacyRect;

typedef struct {
    A_long left;
    A_long top;
    A_long right;
    A_long bottom;
} A_LRect;

typedef A_LRect A_Rect;

typedef struct {
    A_long x;
    A_long y;
} A_LPoint;

typedef struct {
    A_FpLong radius;
    A_FpLong angle;
} A_FloatPolar;

typedef A_u_longlong A_HandleSize;

/* Colour channels as doubles, 0 to 1, alpha first. */
typedef struct {
    A_FpLong alpha;
    A_FpLong red;
    A_FpLong green;
    A_FpLong blue;
} A_Color;

enum {
    A_Err_NONE = 0,
    A_Err_GENERIC = 1,
    A_Err_STRUCT = 2,
    A_Err_PARAMETER = 3,
    A_Err_ALLOC = 4,
    A_Err_MISSING_SUITE = 13 /* a required suite could not be acquired */
};

typedef struct {
    A_short majorS;
    A_short minorS;
} A_Version;

typedef struct _Up_OpaqueMem** AEGP_MemHandle;

typedef A_u_short A_UTF16Char;

/* Enumerations stored in a few host records; 32 bits in the Windows build. */
typedef A_long A_LegacyEnumType;

#ifdef __cplusplus
#define A_THROW(ERR) throw((A_long)(ERR))
#endif

#ifdef __cplusplus
}
#endif

#endif /* PLURION_SDK_A_H */
