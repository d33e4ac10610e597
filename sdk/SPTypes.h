/* SPTypes.h - base types of the plug-in suite manager ("Sweet Pea").
 *
 * Conventions: errors are 32-bit integers, 0 (kSPNoError) meaning success. Booleans are the
 * 32-bit integers of the Windows build. SPAPI marks suite functions; it expands to nothing on
 * the 64-bit platforms, which have a single calling convention.
 */
#ifndef PLURION_SDK_SPTYPES_H
#define PLURION_SDK_SPTYPES_H

#include <stdint.h>

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define SPAPI

typedef uint8_t SPUInt8;
typedef uint16_t SPUInt16;
typedef uint32_t SPUInt32;
typedef int32_t SPInt32;

typedef int32_t SPBoolean;
typedef int32_t SPErr;

#define kSPNoError 0

#endif /* PLURION_SDK_SPTYPES_H */
