// "Advanced Options": the settings dialog, then the recovery DHCP server
// switched on or off as the user left its check box.
#ifndef VANTREL_DHCP_ADVANCEDOPTIONS_H
#define VANTREL_DHCP_ADVANCEDOPTIONS_H

#include "dhcp/DhcpServer.h"

#include <atomic>
#include <functional>
#include <thread>

namespace dhcp {

// Shows the dialog with the box ticked while running is set. Switching on
// opens the server's socket (a failure says so and leaves the server on
// without one, so the user retries by switching off and on), then starts
// worker on work; switching off stops it.
void RunAdvancedOptions(CDhcpServer& server, std::atomic<bool>& running, std::thread& worker,
                        const std::function<void()>& work);

}  // namespace dhcp

#endif  // VANTREL_DHCP_ADVANCEDOPTIONS_H
