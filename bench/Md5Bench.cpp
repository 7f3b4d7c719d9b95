// MD5 throughput of our digest class beside OpenSSL's, on the same buffers in
// the same run. Prints MB/s per input size as the median of several runs,
// and the ratio ours / OpenSSL.
//
// Usage: md5_bench [runs] [MiB hashed per run and size]
#include "md5/Md5.h"

#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Both sides hash whole messages and produce the digest, as a caller would;
// the first digest byte is folded into a sink so nothing is optimised away.
unsigned OursOnce(const unsigned char* data, std::uint32_t size) {
    MD5 md5;
    md5.update(data, size);
    md5.finalize();
    return md5.raw_digest()[0];
}

struct OpenSsl {
    EVP_MD* md = EVP_MD_fetch(nullptr, "MD5", nullptr);
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    ~OpenSsl() {
        EVP_MD_CTX_free(ctx);
        EVP_MD_free(md);
    }
    unsigned Once(const unsigned char* data, std::size_t size) {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        EVP_DigestInit_ex(ctx, md, nullptr);
        EVP_DigestUpdate(ctx, data, size);
        EVP_DigestFinal_ex(ctx, digest, &length);
        return digest[0];
    }
};

template <typename Hash>
double MegabytesPerSecond(Hash hash, const std::vector<unsigned char>& data, std::size_t messages,
                          unsigned& sink) {
    const auto start = Clock::now();
    for (std::size_t i = 0; i < messages; ++i)
        sink += hash(data.data(), data.size());
    const std::chrono::duration<double> took = Clock::now() - start;
    return double(messages) * double(data.size()) / 1e6 / took.count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const std::size_t mebibytes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 128;

    OpenSsl openssl;
    if (!openssl.md || !openssl.ctx) {
        std::fprintf(stderr, "md5_bench: OpenSSL has no MD5\n");
        return 1;
    }

    std::mt19937 rng(1321);
    unsigned sink = 0;
    std::printf("MD5 throughput, median of %d runs of %zu MiB per size (MB = 10^6 bytes)\n", runs,
                mebibytes);
    std::printf("%-10s %14s %14s %8s %16s\n", "input", "ours MB/s", "OpenSSL MB/s", "ratio",
                "ratio min..max");
    for (const std::size_t size : {std::size_t(16) << 10, std::size_t(1) << 20}) {
        std::vector<unsigned char> data(size);
        for (auto& b : data)
            b = static_cast<unsigned char>(rng());
        const std::size_t messages = (mebibytes << 20) / size;

        // Warm caches and clocks on both before measuring.
        MegabytesPerSecond(OursOnce, data, messages / 8 + 1, sink);
        MegabytesPerSecond(
            [&](const unsigned char* p, std::size_t n) { return openssl.Once(p, n); }, data,
            messages / 8 + 1, sink);

        // Alternate the two inside each run, so drift in the machine's load
        // falls on both alike.
        std::vector<double> ours, theirs, ratios;
        for (int run = 0; run < runs; ++run) {
            const double a = MegabytesPerSecond(
                [](const unsigned char* p, std::size_t n) {
                    return OursOnce(p, static_cast<std::uint32_t>(n));
                },
                data, messages, sink);
            const double b = MegabytesPerSecond(
                [&](const unsigned char* p, std::size_t n) { return openssl.Once(p, n); }, data,
                messages, sink);
            ours.push_back(a);
            theirs.push_back(b);
            ratios.push_back(a / b);
        }
        char label[16];
        std::snprintf(label, sizeof label, size < (1u << 20) ? "%zu KiB" : "%zu MiB",
                      size < (1u << 20) ? size >> 10 : size >> 20);
        std::printf("%-10s %14.1f %14.1f %8.3f %8.3f..%.3f\n", label, Median(ours), Median(theirs),
                    Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                    *std::max_element(ratios.begin(), ratios.end()));
    }
    std::printf("(sink %u)\n", sink & 1);
    return 0;
}
