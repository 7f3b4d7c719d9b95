// A stand-in for zova.dll in in-process tests: it records every call of the
// eight library functions, serves answers the test queued, and calls the
// registered callback when the test says so. Test programs link it instead
// of the real library; it sends nothing anywhere.
#ifndef VANTREL_TESTS_COMMON_ZOVA_DOUBLE_ZOVADOUBLE_H
#define VANTREL_TESTS_COMMON_ZOVA_DOUBLE_ZOVADOUBLE_H

#include "zova/zova.h"

#if defined(ZOVA_BUILDING_DLL)
#define ZOVA_DOUBLE_API __declspec(dllexport)
#else
#define ZOVA_DOUBLE_API __declspec(dllimport)
#endif

extern "C" {
// Forgets calls, queues, requests and the callback.
ZOVA_DOUBLE_API void ZovaDouble_Reset(void);
// Library calls so far, by the name after "ZOVA_" ("Start", "GetResponse", …).
ZOVA_DOUBLE_API int ZovaDouble_CallCount(void);
ZOVA_DOUBLE_API const char* ZovaDouble_CallName(int nIndex);
// Answers ZOVA_GetResponse hands out, first queued first.
ZOVA_DOUBLE_API void ZovaDouble_QueueResponse(const ZOVA_ModuleScanResponseType* pResponse);
// Appends a MAC to the rejected-password queue.
ZOVA_DOUBLE_API void ZovaDouble_QueueRejectedMac(const unsigned char* pabMac);
ZOVA_DOUBLE_API int ZovaDouble_RejectedMacCount(void);
// Calls the registered callback with nNotification, on a thread of its own
// when bOtherThread (as the library does); returns once the call returned.
ZOVA_DOUBLE_API void ZovaDouble_Notify(int nNotification, int bOtherThread);
// Copies the last configure (or wink) request; 0 when there was none.
ZOVA_DOUBLE_API int ZovaDouble_LastConfigure(ZOVA_ConfigureRequestType* pRequest);
ZOVA_DOUBLE_API int ZovaDouble_LastWink(ZOVA_ConfigureRequestType* pRequest);
}

#endif  // VANTREL_TESTS_COMMON_ZOVA_DOUBLE_ZOVADOUBLE_H
