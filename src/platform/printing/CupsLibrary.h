#pragma once

#include <cups/cups.h>

namespace platform {

// The printing system's functions the program calls. The library and the twenty it brings with it
// took some 8 ms of every start, for a print most runs never make: it is loaded on the first print.
#define PLATFORM_CUPS_FUNCTIONS(F)                                                                   \
    F(cupsCancelJob2) F(cupsCopyDestInfo) F(cupsEncryption) F(cupsFindDestDefault)                   \
    F(cupsFreeDestInfo) F(cupsFreeDests) F(cupsFreeJobs) F(cupsGetDestMediaByName) F(cupsGetJobs2)   \
    F(cupsGetNamedDest) F(cupsGetOption) F(cupsGetResponse) F(cupsLastErrorString)                   \
    F(cupsSendRequest) F(cupsServer) F(cupsSetServer) F(cupsUser) F(cupsWriteRequestData)            \
    F(httpAddrClose) F(httpAddrConnect2) F(httpAddrFreeList) F(httpAddrGetList) F(httpAssembleURIf)  \
    F(httpClose) F(httpConnect2) F(httpError) F(httpGetState) F(httpSetTimeout) F(ippAddString)      \
    F(ippDelete) F(ippFindAttribute) F(ippGetCollection) F(ippGetInteger) F(ippGetStatusCode)        \
    F(ippGetString) F(ippLength) F(ippNewRequest) F(ippPort) F(pwgMediaForLegacy) F(pwgMediaForPPD)  \
    F(pwgMediaForPWG)

struct CupsLibrary {
#define PLATFORM_CUPS_POINTER(name) decltype(&::name) name = nullptr;
    PLATFORM_CUPS_FUNCTIONS(PLATFORM_CUPS_POINTER)
#undef PLATFORM_CUPS_POINTER
};

// Loaded once, from any thread; null when the library or one of its functions is missing.
const CupsLibrary* cupsLibrary();

}  // namespace platform
