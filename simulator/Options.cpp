#include "simulator/Options.h"

#include "base/Address.h"

namespace devsim {

const char* const kUsage =
    "usage: vantrel-devsim [--bind ADDRESS] [--port PORT] [--port-file FILE]\n"
    "                      (--fleet FILE | --generate N [--prefix XX-XX-XX])\n"
    "                      [--log FILE] [--answer-window-ms M] [--in-test-namespace]\n"
    "                      [--dhcp-client]\n"
    "Plays devices on one UDP socket; binds only to loopback unless\n"
    "--in-test-namespace is given. Default: --bind 127.0.0.1 --port 17400.\n";

namespace {

std::optional<std::uint32_t> ParseCount(const std::string& text, std::uint32_t max) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long value = std::stoul(text);
    if (value > max)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

OptionsResult ParseOptions(const std::vector<std::string>& args) {
    OptionsResult result;
    Options& o = result.options;
    const auto fail = [&](const std::string& message) {
        result.error = message;
        return result;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        if (flag == "--help") {
            o.help = true;
            continue;
        }
        if (flag == "--dhcp-client") {
            o.dhcpClient = true;
            continue;
        }
        if (flag == "--in-test-namespace") {
            o.inTestNamespace = true;
            continue;
        }
        if (i + 1 >= args.size())
            return fail(flag + " needs a value");
        const std::string& value = args[++i];
        if (flag == "--bind") {
            const auto address = base::ParseIpv4(value);
            if (!address)
                return fail("--bind takes a dotted IPv4 address");
            o.bind.address = *address;
        } else if (flag == "--port") {
            const auto port = ParseCount(value, 65535);
            if (!port)
                return fail("--port takes 0 to 65535");
            o.bind.port = static_cast<std::uint16_t>(*port);
        } else if (flag == "--port-file") {
            o.portFile = value;
        } else if (flag == "--fleet") {
            o.fleetFile = value;
        } else if (flag == "--generate") {
            o.generate = ParseCount(value, 0xFFFFFF);
            if (!o.generate || *o.generate == 0)
                return fail("--generate takes 1 to 16777215");
        } else if (flag == "--prefix") {
            const auto prefix = ParseMacPrefix(value);
            if (!prefix)
                return fail("--prefix takes three bytes like 02-6B-D4");
            o.prefix = *prefix;
        } else if (flag == "--log") {
            o.logFile = value;
        } else if (flag == "--answer-window-ms") {
            const auto window = ParseCount(value, 60000);
            if (!window)
                return fail("--answer-window-ms takes 0 to 60000");
            o.answerWindow = std::chrono::milliseconds(*window);
        } else {
            return fail("unknown option " + flag);
        }
    }
    if (o.help)
        return result;
    if (o.fleetFile.empty() == !o.generate)
        return fail("give either --fleet or --generate");
    if (o.dhcpClient && !o.inTestNamespace)
        return fail("--dhcp-client broadcasts: it needs --in-test-namespace");
    if (!zova::IsLoopback(o.bind.address) && !o.inTestNamespace)
        return fail("refusing to bind a non-loopback address without --in-test-namespace");
    return result;
}

}  // namespace devsim
