// The command line, above all its refusal to leave loopback.
#include "simulator/Options.h"

#include <gtest/gtest.h>

namespace {

using devsim::ParseOptions;

TEST(Options, AcceptsTheDocumentedForms) {
    auto r = ParseOptions({"--fleet", "demo.fleet"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.bind.address, 0x7F000001u);
    EXPECT_EQ(r.options.bind.port, 17400);

    r = ParseOptions({"--bind", "127.0.0.2", "--port", "0", "--port-file", "p", "--generate",
                      "5000", "--prefix", "0A-11-2C", "--log", "l", "--answer-window-ms", "1500"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.bind.port, 0);
    EXPECT_EQ(*r.options.generate, 5000u);
    EXPECT_EQ(r.options.prefix[0], 0x0A);
    EXPECT_EQ(r.options.answerWindow.count(), 1500);

    r = ParseOptions({"--bind", "10.200.1.254", "--in-test-namespace", "--generate", "3"});
    EXPECT_EQ(r.error, "");
}

TEST(Options, RefusesWhatItCannotDoSafely) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"--bind", "192.168.1.5", "--generate", "3"},
         "refusing to bind a non-loopback address without --in-test-namespace"},
        {{"--bind", "0.0.0.0", "--generate", "3"},
         "refusing to bind a non-loopback address without --in-test-namespace"},
        {{"--bind", "localhost", "--generate", "3"}, "--bind takes a dotted IPv4 address"},
        {{}, "give either --fleet or --generate"},
        {{"--fleet", "f", "--generate", "3"}, "give either --fleet or --generate"},
        {{"--generate", "0"}, "--generate takes 1 to 16777215"},
        {{"--generate", "16777216"}, "--generate takes 1 to 16777215"},
        {{"--generate", "3", "--port", "65536"}, "--port takes 0 to 65535"},
        {{"--generate", "3", "--answer-window-ms", "-1"}, "--answer-window-ms takes 0 to 60000"},
        {{"--generate", "3", "--prefix", "02-6B"}, "--prefix takes three bytes like 02-6B-D4"},
        {{"--generate"}, "--generate needs a value"},
        {{"--broadcast", "1"}, "unknown option --broadcast"},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const auto& a : c.args)
            joined += a + " ";
        EXPECT_EQ(ParseOptions(c.args).error, c.error) << joined;
    }
}

}  // namespace
