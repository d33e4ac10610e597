/* SPBasic.h - the basic suite, through which every other suite is acquired and released.
 *
 * Conventions: a suite is named by a NUL-terminated string and an integer version. Each
 * successful AcquireSuite must be balanced by one ReleaseSuite with the same name and version;
 * the suite's function table stays valid until then. The basic suite itself is owned by the
 * host and is never released. Blocks from AllocateBlock are freed with FreeBlock.
 */
#ifndef PLURION_SDK_SPBASIC_H
#define PLURION_SDK_SPBASIC_H

#include <stddef.h>

#include "SPTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPBasicSuite "SP Basic Suite"
#define kSPBasicSuiteVersion 4

typedef struct SPBasicSuite {
    /* Looks up a suite by name and version and stores its function table in *suite. */
    SPAPI SPErr (*AcquireSuite)(const char* name, int version, const void** suite);
    /* Gives back one acquisition of the suite. */
    SPAPI SPErr (*ReleaseSuite)(const char* name, int version);
    /* Non-zero when the two strings are equal. */
    SPAPI SPBoolean (*IsEqual)(const char* token1, const char* token2);
    SPAPI SPErr (*AllocateBlock)(size_t size, void** block);
    SPAPI SPErr (*FreeBlock)(void* block);
    SPAPI SPErr (*ReallocateBlock)(void* block, size_t newSize, void** newblock);
    /* Placeholder that the host puts into the tables of unloaded suites. */
    SPAPI SPErr (*Undefined)(void);
} SPBasicSuite;

#ifdef __cplusplus
}
#endif

#endif /* PLURION_SDK_SPBASIC_H */
