#include "simulator/Options.h"

#include "base/Address.h"
#include "base/Text.h"

namespace devsim {

namespace {

// Reads an option's value into the options; the error text when it cannot.
using Reader = std::string (*)(const std::string& value, Options& options);

struct OptionSpec {
    const char* name;   // "--port"
    const char* value;  // "PORT" in the usage; null for a flag
    const char* help;
    Reader read;
};

const OptionSpec kOptions[] = {
    {"--bind", "ADDRESS", "dotted IPv4 address to bind (default 127.0.0.1)",
     [](const std::string& value, Options& o) -> std::string {
         const auto address = base::ParseIpv4(value);
         if (!address)
             return "--bind takes a dotted IPv4 address";
         o.bind.address = *address;
         return {};
     }},
    {"--port", "PORT", "UDP port (default 17400; 0: any free port)",
     [](const std::string& value, Options& o) -> std::string {
         const auto port = base::ParseUnsigned(value, 65535);
         if (!port)
             return "--port takes 0 to 65535";
         o.bind.port = static_cast<std::uint16_t>(*port);
         return {};
     }},
    {"--port-file", "FILE", "write the port bound there once listening",
     [](const std::string& value, Options& o) -> std::string {
         o.portFile = value;
         return {};
     }},
    {"--fleet", "FILE", "the devices of a fleet file",
     [](const std::string& value, Options& o) -> std::string {
         o.fleetFile = value;
         return {};
     }},
    {"--generate", "N", "N generated devices instead (1 to 16777215)",
     [](const std::string& value, Options& o) -> std::string {
         o.generate = base::ParseUnsigned(value, 0xFFFFFF);
         if (!o.generate || *o.generate == 0)
             return "--generate takes 1 to 16777215";
         return {};
     }},
    {"--prefix", "XX-XX-XX", "MAC prefix of generated devices (default 02-6B-D4)",
     [](const std::string& value, Options& o) -> std::string {
         const auto prefix = ParseMacPrefix(value);
         if (!prefix)
             return "--prefix takes three bytes like 02-6B-D4";
         o.prefix = *prefix;
         return {};
     }},
    {"--log", "FILE", "the request log (default standard output)",
     [](const std::string& value, Options& o) -> std::string {
         o.logFile = value;
         return {};
     }},
    {"--answer-window-ms", "M", "answer a scan after a random delay below M ms (0 to 60000)",
     [](const std::string& value, Options& o) -> std::string {
         const auto window = base::ParseUnsigned(value, 60000);
         if (!window)
             return "--answer-window-ms takes 0 to 60000";
         o.answerWindow = std::chrono::milliseconds(*window);
         return {};
     }},
    {"--in-test-namespace", nullptr, "allow other addresses than loopback, and broadcasts",
     [](const std::string&, Options& o) -> std::string {
         o.inTestNamespace = true;
         return {};
     }},
    {"--dhcp-client", nullptr, "devices in DHCP mode without an address lease one",
     [](const std::string&, Options& o) -> std::string {
         o.dhcpClient = true;
         return {};
     }},
    {"--help", nullptr, "this text",
     [](const std::string&, Options& o) -> std::string {
         o.help = true;
         return {};
     }},
};

const OptionSpec* Find(const std::string& name) {
    for (const OptionSpec& option : kOptions) {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

// What the options may not do together, above all leave loopback.
std::string Refusal(const Options& o) {
    if (o.fleetFile.empty() == !o.generate)
        return "give either --fleet or --generate";
    if (o.dhcpClient && !o.inTestNamespace)
        return "--dhcp-client broadcasts: it needs --in-test-namespace";
    if (!zova::IsLoopback(o.bind.address) && !o.inTestNamespace)
        return "refusing to bind a non-loopback address without --in-test-namespace";
    return {};
}

}  // namespace

std::string Usage() {
    std::string text =
        "usage: vantrel-devsim (--fleet FILE | --generate N) [OPTION...]\n"
        "Plays devices on one UDP socket; binds only to loopback unless\n"
        "--in-test-namespace is given.\n";
    for (const OptionSpec& option : kOptions) {
        std::string form = std::string("  ") + option.name;
        if (option.value)
            form += std::string(" ") + option.value;
        form.resize(form.size() < 30 ? 30 : form.size() + 1, ' ');
        text += form + option.help + "\n";
    }
    return text;
}

OptionsResult ParseOptions(const std::vector<std::string>& args) {
    OptionsResult result;
    for (std::size_t i = 0; i < args.size() && result.error.empty(); ++i) {
        const OptionSpec* option = Find(args[i]);
        if (!option)
            result.error = "unknown option " + args[i];
        else if (option->value && i + 1 >= args.size())
            result.error = args[i] + " needs a value";
        else
            result.error = option->read(option->value ? args[++i] : std::string(), result.options);
    }
    if (result.error.empty() && !result.options.help)
        result.error = Refusal(result.options);
    return result;
}

}  // namespace devsim
