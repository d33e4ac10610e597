/* AE_Macros.h - error chaining and fixed-point helpers used throughout effect code.
 *
 * Conventions: ERR(expr) runs expr only while the variable err is 0 and stores its result there,
 * so the first error wins. ERR2(expr) always runs expr (for clean-up), storing its result in err2
 * and copying it to err only when err is still 0. Both expect A_Err/PF_Err variables named err and
 * err2 in scope. Fixed values are signed 16.16.
 */
#ifndef PLURION_SDK_AE_MACROS_H
#define PLURION_SDK_AE_MACROS_H

#include "A.h"

#ifndef ERR
#define ERR(FUNC)                                                                                  \
    do {                                                                                           \
        if (!err) {                                                                                \
            err = (FUNC);                                                                          \
        }                                                                                          \
    } while (0)
#endif

#ifndef ERR2
#define ERR2(FUNC)                                                                                 \
    do {                                                                                           \
        if (((err2 = (FUNC)) != A_Err_NONE) && !err)                                               \
            err = err2;                                                                            \
    } while (0)
#endif

/* Zeroes a whole record, byte by byte. */
#ifndef AEFX_CLR_STRUCT
#define AEFX_CLR_STRUCT(STRUCT)                                                                    \
    do {                                                                                           \
        A_long _t = sizeof(STRUCT);                                                                \
        A_char* _p = (A_char*)&(STRUCT);                                                           \
        while (_t--) {                                                                             \
            *_p++ = 0;                                                                             \
        }                                                                                          \
    } while (0);
#endif

#ifndef DH
#define DH(h) (*(h))
#endif

#define FIX2INT(X) ((A_long)(X) >> 16)
#define INT2FIX(X) ((A_long)(X) << 16)
#define FIX2INT_ROUND(X) (FIX2INT((X) + 32768))
#define FIX_2_FLOAT(X) ((A_FpLong)(X) / 65536.0)
#define FLOAT2FIX(F) ((PF_Fixed)((F)*65536 + (((F) < 0) ? -0.5 : 0.5)))

#ifndef ABS
#define ABS(N) ((N) < 0 ? -(N) : (N))
#endif
#ifndef MIN
#define MIN(A, B) ((A) < (B) ? (A) : (B))
#endif
#ifndef MAX
#define MAX(A, B) ((A) > (B) ? (A) : (B))
#endif

#define A_Fixed_ONE ((A_Fixed)0x00010000)
#define A_Fixed_HALF ((A_Fixed)0x00008000)

#define PF_RECT_2_FIXEDRECT(R, FR)                                                                 \
    do {                                                                                           \
        (FR).left = INT2FIX((R).left);                                                             \
        (FR).top = INT2FIX((R).top);                                                               \
        (FR).right = INT2FIX((R).right);                                                           \
        (FR).bottom = INT2FIX((R).bottom);                                                         \
    } while (0)

#define PF_FIXEDRECT_2_RECT(FR, R)                                                                 \
    do {                                                                                           \
        (R).left = (A_short)FIX2INT_ROUND((FR).left);                                              \
        (R).top = (A_short)FIX2INT_ROUND((FR).top);                                                \
        (R).right = (A_short)FIX2INT_ROUND((FR).right);                                            \
        (R).bottom = (A_short)FIX2INT_ROUND((FR).bottom);                                          \
    } while (0)

/* 0..255 to 0..32768, rounded. */
#define CONVERT8TO16(A) ((((A_long)(A)*PF_MAX_CHAN16) + PF_HALF_CHAN8) / PF_MAX_CHAN8)

#define RATIO2FLOAT(R) (A_FpLong)((A_FpLong)(R).num / ((A_FpLong)(R).den))

#endif /* PLURION_SDK_AE_MACROS_H */
