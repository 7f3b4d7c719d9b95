// What a device's row leads to: the configure dialog and "Set", and "Wink".
// The caller finds the device's stored scan response; these steps only talk
// to the dialog and the library.
#ifndef VANTREL_CONFIGURE_CONFIGUREACTION_H
#define VANTREL_CONFIGURE_CONFIGUREACTION_H

#include "zova/zova.h"

#include <cstdint>

namespace configure {

// Opens "Configure: <mac text>" prefilled from response; after "Set" sends
// the configure request, with the device's MAC written to configuredMac
// first; nothing after "Cancel".
void ConfigureDevice(const char* pszMacText, const ZOVA_ModuleScanResponseType& response,
                     std::uint8_t (&configuredMac)[6]);

// Asks the device to wink, or tells the user it cannot.
void WinkDevice(const ZOVA_ModuleScanResponseType& response);

}  // namespace configure

#endif  // VANTREL_CONFIGURE_CONFIGUREACTION_H
