// Random inputs split at random places, checked against OpenSSL.
#include "md5/Md5.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> OpensslMd5(const std::vector<unsigned char>& data) {
    std::vector<unsigned char> out(16);
    unsigned int size = 0;
    EVP_Digest(data.data(), data.size(), out.data(), &size, EVP_md5(), nullptr);
    out.resize(size);
    return out;
}

TEST(Md5AgainstOpenSsl, RandomInputsAnySplit) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 400; ++round) {
        const std::size_t size = round < 200 ? round : rng() % 5000;
        std::vector<unsigned char> data(size);
        for (auto& b : data)
            b = static_cast<unsigned char>(rng());

        MD5 md5;
        std::string cuts;
        std::size_t at = 0;
        while (at < size) {
            // Pieces of 0 to about two blocks, so every boundary case comes up.
            const std::size_t piece = std::min<std::size_t>(rng() % 140, size - at);
            md5.update(data.data() + at, static_cast<std::uint32_t>(piece));
            cuts += std::to_string(piece) + " ";
            at += piece;
        }
        md5.finalize();
        SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(size) +
                     " bytes in pieces " + cuts);
        EXPECT_EQ(md5.raw_digest(), OpensslMd5(data));
    }
}

}  // namespace
