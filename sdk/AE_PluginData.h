/* AE_PluginData.h - the registration entry through which the host learns an effect's identity
 * without reading its resources.
 *
 * Conventions: the host calls the effect's PluginDataEntryFunction2 once with an opaque record
 * and a callback; the effect calls the callback once with its identity, passing the record back.
 * All strings are NUL-terminated and stay owned by the effect; the host copies them.
 */
#ifndef PLURION_SDK_AE_PLUGINDATA_H
#define PLURION_SDK_AE_PLUGINDATA_H

#include "A.h"

#ifdef __cplusplus
extern "C" {
#endif

struct SPBasicSuite;

typedef struct PF_PluginData* PF_PluginDataPtr;

/* inkind is the four-character plug-in kind ('eFKT' for effects). For effects the two API
 * numbers are PF_AE_PLUG_IN_VERSION and PF_AE_PLUG_IN_SUBVERS. */
typedef A_Err (*PF_PluginDataCB2)(PF_PluginDataPtr inPtr, const A_u_char* inNamePtr,
                                  const A_u_char* inMatchNamePtr, const A_u_char* inCategoryPtr,
                                  const A_u_char* inEntryPointNamePtr, A_long inkind,
                                  A_long inApiVersionMajor, A_long inApiVersionMinor,
                                  A_long inReservedInfo, const A_u_char* inSupportURLPtr);

/* Signature of the exported PluginDataEntryFunction2. */
typedef A_Err (*PluginDataEntryFunction2Ptr)(PF_PluginDataPtr inPtr,
                                             PF_PluginDataCB2 inPluginDataCallBackPtr,
                                             struct SPBasicSuite* inSPBasicSuitePtr,
                                             const char* inHostName, const char* inHostVersion);

/* The first version of the registration entry, without the support address. */
typedef A_Err (*PF_PluginDataCB)(PF_PluginDataPtr inPtr, const A_u_char* inNamePtr,
                                 const A_u_char* inMatchNamePtr, const A_u_char* inCategoryPtr,
                                 const A_u_char* inEntryPointNamePtr, A_long inkind,
                                 A_long inApiVersionMajor, A_long inApiVersionMinor,
                                 A_long inReservedInfo);

typedef A_Err (*PluginDataEntryFunctionPtr)(PF_PluginDataPtr inPtr,
                                            PF_PluginDataCB inPluginDataCallBackPtr,
                                            struct SPBasicSuite* inSPBasicSuitePtr,
                                            const char* inHostName, const char* inHostVersion);

#ifdef __cplusplus
}
#endif

#endif /* PLURION_SDK_AE_PLUGINDATA_H */
