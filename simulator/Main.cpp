// vantrel-devsim: plays a fleet of devices on one UDP socket.
#include "simulator/DhcpClient.h"
#include "simulator/EventLoop.h"
#include "simulator/Fleet.h"
#include "simulator/Options.h"
#include "simulator/Responder.h"
#include "simulator/UdpSocket.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace {

std::atomic<bool> g_stop{false};

void RequestStop(int) {
    g_stop.store(true);
}

bool ReadFile(const std::string& path, std::string& text) {
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
bool WritePortFile(const std::string& path, std::uint16_t port) {
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

// The devices of the fleet file, or generated ones.
bool LoadDevices(const devsim::Options& options, std::vector<devsim::Device>& devices,
                 std::string& error) {
    if (options.generate) {
        devices = devsim::GenerateFleet(*options.generate, options.prefix);
        return true;
    }
    std::string text;
    if (!ReadFile(options.fleetFile, text)) {
        error = "cannot read " + options.fleetFile;
        return false;
    }
    devsim::FleetResult fleet = devsim::ParseFleet(text);
    if (!fleet.error.empty()) {
        error = options.fleetFile + ": " + fleet.error;
        return false;
    }
    devices = std::move(fleet.devices);
    return true;
}

bool Listen(const devsim::Options& options, devsim::UdpSocket& socket, std::string& error) {
    if (!socket.Bind(options.bind, error))
        return false;
    // A device that cannot reach the sender answers by broadcast.
    if (options.inTestNamespace && !socket.AllowBroadcast()) {
        error = "cannot allow broadcast answers";
        return false;
    }
    return true;
}

bool OpenLog(const devsim::Options& options, std::FILE*& log, std::string& error) {
    log = stdout;
    if (!options.logFile.empty() && !(log = std::fopen(options.logFile.c_str(), "wb"))) {
        error = "cannot write " + options.logFile;
        return false;
    }
    return true;
}

// Answers requests, and leases addresses where asked to, until stopped.
bool Serve(const devsim::Options& options, std::vector<devsim::Device> devices,
           devsim::UdpSocket& socket, std::FILE* log, std::string& error) {
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    devsim::Responder responder(std::move(devices), options.answerWindow);
    devsim::EventLoop loop(responder, socket, log, options.inTestNamespace);
    std::unique_ptr<devsim::DhcpClients> dhcp;
    if (options.dhcpClient) {
        dhcp = std::make_unique<devsim::DhcpClients>(responder.Devices(), log);
        if (!dhcp->Open(error))
            return false;
        loop.SetTick([&dhcp] { dhcp->Tick(); });
    }
    loop.Run(g_stop);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const devsim::OptionsResult parsed =
        devsim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty() || parsed.options.help) {
        if (!parsed.error.empty())
            std::cerr << "vantrel-devsim: " << parsed.error << "\n";
        std::cerr << devsim::Usage();
        return parsed.error.empty() ? 0 : 2;
    }
    const devsim::Options& options = parsed.options;
    std::vector<devsim::Device> devices;
    devsim::UdpSocket socket;
    std::FILE* log = nullptr;
    std::string error;
    if (!LoadDevices(options, devices, error) || !Listen(options, socket, error) ||
        !OpenLog(options, log, error)) {
        std::cerr << "vantrel-devsim: " << error << "\n";
        return 1;
    }
    // The port file comes last: once it exists, the simulator is listening.
    if (!options.portFile.empty() && !WritePortFile(options.portFile, socket.LocalPort())) {
        std::cerr << "vantrel-devsim: cannot write " << options.portFile << "\n";
        return 1;
    }
    std::cerr << "vantrel-devsim: " << devices.size() << " devices on "
              << devsim::EndpointText({options.bind.address, socket.LocalPort()}) << "\n";
    const bool served = Serve(options, std::move(devices), socket, log, error);
    if (log != stdout)
        std::fclose(log);
    if (!served) {
        std::cerr << "vantrel-devsim: " << error << "\n";
        return 1;
    }
    return 0;
}
