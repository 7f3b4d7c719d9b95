// What a device's row leads to: the configure dialog and "Set", and "Wink".
// The caller finds the device's stored scan response; these steps only talk
// to the dialog and the library.
#ifndef VANTREL_CONFIGURE_CONFIGUREACTION_H
#define VANTREL_CONFIGURE_CONFIGUREACTION_H

#include "base/Address.h"
#include "zova/zova.h"

namespace configure {

// Opens "Configure: <mac text>" prefilled from response; after "Set" sends
// the configure request, with the device's MAC written to configuredMac
// first; nothing after "Cancel".
void ConfigureDevice(const char* pszMacText, const ZOVA_ModuleScanResponseType& response,
                     base::Mac& configuredMac);

// Asks the device to wink, or tells the user it cannot.
void WinkDevice(const ZOVA_ModuleScanResponseType& response);

}  // namespace configure

#endif  // VANTREL_CONFIGURE_CONFIGUREACTION_H
