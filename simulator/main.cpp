// vantrel-devsim: plays a fleet of devices on one UDP socket.
#include "simulator/dhcp_client.h"
#include "simulator/event_loop.h"
#include "simulator/fleet.h"
#include "simulator/options.h"
#include "simulator/responder.h"
#include "simulator/udp_socket.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace {

std::atomic<bool> g_stop{false};

void requestStop(int) {
    g_stop.store(true);
}

bool readFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

// Written whole under another name and then renamed, so that a reader never
// sees half a number.
bool writePortFile(const std::string& path, std::uint16_t port) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file)
        return false;
    const bool written = std::fprintf(file, "%u\n", static_cast<unsigned>(port)) > 0;
    if (std::fclose(file) != 0 || !written)
        return false;
    std::remove(path.c_str());
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const devsim::OptionsResult parsed =
        devsim::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty() || parsed.options.help) {
        if (!parsed.error.empty())
            std::cerr << "vantrel-devsim: " << parsed.error << "\n";
        std::cerr << devsim::kUsage;
        return parsed.error.empty() ? 0 : 2;
    }
    const devsim::Options& options = parsed.options;

    std::vector<devsim::Device> devices;
    if (options.generate) {
        devices = devsim::generateFleet(*options.generate, options.prefix);
    } else {
        std::string text;
        if (!readFile(options.fleetFile, text)) {
            std::cerr << "vantrel-devsim: cannot read " << options.fleetFile << "\n";
            return 1;
        }
        devsim::FleetResult fleet = devsim::parseFleet(text);
        if (!fleet.error.empty()) {
            std::cerr << "vantrel-devsim: " << options.fleetFile << ": " << fleet.error << "\n";
            return 1;
        }
        devices = std::move(fleet.devices);
    }

    devsim::UdpSocket socket;
    std::string error;
    if (!socket.bind(options.bind, error)) {
        std::cerr << "vantrel-devsim: " << error << "\n";
        return 1;
    }
    // A device that cannot reach the sender answers by broadcast.
    if (options.inTestNamespace && !socket.allowBroadcast()) {
        std::cerr << "vantrel-devsim: cannot allow broadcast answers\n";
        return 1;
    }
    std::FILE* log = stdout;
    if (!options.logFile.empty() && !(log = std::fopen(options.logFile.c_str(), "wb"))) {
        std::cerr << "vantrel-devsim: cannot write " << options.logFile << "\n";
        return 1;
    }
    // The port file comes last: once it exists, the simulator is listening.
    if (!options.portFile.empty() && !writePortFile(options.portFile, socket.localPort())) {
        std::cerr << "vantrel-devsim: cannot write " << options.portFile << "\n";
        return 1;
    }
    std::cerr << "vantrel-devsim: " << devices.size() << " devices on "
              << devsim::endpointText({options.bind.address, socket.localPort()}) << "\n";

    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    devsim::Responder responder(std::move(devices), options.answerWindow);
    devsim::EventLoop loop(responder, socket, log, options.inTestNamespace);
    std::unique_ptr<devsim::DhcpClients> dhcp;
    if (options.dhcpClient) {
        dhcp = std::make_unique<devsim::DhcpClients>(responder.devices(), log);
        if (!dhcp->open(error)) {
            std::cerr << "vantrel-devsim: " << error << "\n";
            return 1;
        }
        loop.setTick([&dhcp] { dhcp->tick(); });
    }
    loop.run(g_stop);
    if (log != stdout)
        std::fclose(log);
    return 0;
}
