/* SPErrorCodes.h - results returned by the suite manager and its basic suite.
 *
 * Conventions: kSPNoError (0, from SPTypes.h) is success. Every other result except the
 * out-of-memory one is four characters packed first-character-high into a 32-bit SPErr; they are
 * spelled here in hexadecimal, with the characters alongside, so that no compiler has to accept
 * multi-character literals. kSPOutOfMemoryError is the 32-bit pattern 0xFFFFFF6C, that is -148
 * (an old note beside it calls it -108; the value is what hosts return).
 */
#ifndef PLURION_SDK_SPERRORCODES_H
#define PLURION_SDK_SPERRORCODES_H

#include "SPTypes.h"

#define kSPOutOfMemoryError ((SPErr)-148) /* 0xFFFFFF6C */

/* general */
#define kSPUnimplementedError ((SPErr)0x21494D50)   /* '!IMP' */
#define kSPUserCanceledError ((SPErr)0x73746F70)    /* 'stop' */
#define kSPOperationInterrupted ((SPErr)0x696E7472) /* 'intr' */
#define kSPLogicError ((SPErr)0x66626172)           /* 'fbar' */

/* plug-in access */
#define kSPCantAcquirePluginError ((SPErr)0x21416371)     /* '!Acq' */
#define kSPCantReleasePluginError ((SPErr)0x2152656C)     /* '!Rel' */
#define kSPPluginAlreadyReleasedError ((SPErr)0x416C526C) /* 'AlRl' */

/* adapters */
#define kSPAdapterAlreadyExistsError ((SPErr)0x41644578)   /* 'AdEx' */
#define kSPBadAdapterListIteratorError ((SPErr)0x4264414C) /* 'BdAL' */

/* basic suite */
#define kSPBadParameterError ((SPErr)0x5061726D) /* 'Parm' */

/* block debugging */
#define kSPCantChangeBlockDebugNowError ((SPErr)0x214E6F77) /* '!Now' */
#define kSPBlockDebugNotEnabledError ((SPErr)0x214E626C)    /* '!Nbl' */

/* memory blocks (see also kSPOutOfMemoryError) */
#define kSPBlockSizeOutOfRangeError ((SPErr)0x426B5267) /* 'BkRg' */

/* caches */
#define kSPPluginCachesFlushResponse ((SPErr)0x70466C73) /* 'pFls' */
#define kSPPluginCouldntFlushResponse kSPNoError

/* files */
#define kSPTroubleAddingFilesError ((SPErr)0x54416464)  /* 'TAdd' */
#define kSPBadFileListIteratorError ((SPErr)0x42464974) /* 'BFIt' */

/* host start-up */
#define kSPTroubleInitializingError ((SPErr)0x54496E69)      /* 'TIni' */
#define kHostCanceledStartupPluginsError ((SPErr)0x48215374) /* 'H!St' */

/* interface */
#define kSPNotASweetPeaPluginError ((SPErr)0x4E535050) /* 'NSPP' */
#define kSPAlreadyInSPCallerError ((SPErr)0x41495343)  /* 'AISC' */

/* plug-in list */
#define kSPUnknownAdapterError ((SPErr)0x3F416470)        /* '?Adp' */
#define kSPBadPluginListIteratorError ((SPErr)0x50694C49) /* 'PiLI' */
#define kSPBadPluginHost ((SPErr)0x50694830)              /* 'PiH0' */
#define kSPCantAddHostPluginError ((SPErr)0x4164486F)     /* 'AdHo' */
#define kSPPluginNotFound ((SPErr)0x50214664)             /* 'P!Fd' */

/* properties */
#define kSPCorruptPiPLError ((SPErr)0x4350504C)             /* 'CPPL' */
#define kSPBadPropertyListIteratorError ((SPErr)0x42507249) /* 'BPrI' */

/* suites */
#define kSPSuiteNotFoundError ((SPErr)0x53214664)           /* 'S!Fd' */
#define kSPSuiteAlreadyExistsError ((SPErr)0x53457869)      /* 'SExi' */
#define kSPSuiteAlreadyReleasedError ((SPErr)0x5352656C)    /* 'SRel' */
#define kSPBadSuiteListIteratorError ((SPErr)0x534C4974)    /* 'SLIt' */
#define kSPBadSuiteInternalVersionError ((SPErr)0x53495673) /* 'SIVs' */

#endif /* PLURION_SDK_SPERRORCODES_H */
