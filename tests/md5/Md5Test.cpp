#include "md5/Md5.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

std::string DigestOf(const std::string& text) {
    MD5 md5;
    md5.update(text.data(), static_cast<std::uint32_t>(text.size()));
    md5.finalize();
    return md5.hex_digest();
}

// Everything written to std::cerr while it lives.
class CerrCapture {
public:
    CerrCapture() : old_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(old_); }
    std::string Text() const { return text_.str(); }

private:
    std::ostringstream text_;
    std::streambuf* old_;
};

struct Known {
    std::string input;
    const char* hex;
};

// RFC 1321 appendix A.5, then inputs around the padding boundaries (reference
// values from an independent implementation).
const Known kKnown[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"1234567890123456789012345678901234567890123456789012345678901234567890"
     "1234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
    {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
    {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
    {std::string(57, 'a'), "652b906d60af96844ebd21b674f35e93"},
    {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
    {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
    {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
    {std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
    {std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
    {std::string(128, 'a'), "e510683b3f5ffe4093d021808bc6ff70"},
};

TEST(Md5Digest, KnownInputsInOneCallAndByteByByte) {
    for (const Known& k : kKnown) {
        SCOPED_TRACE("input of " + std::to_string(k.input.size()) + " bytes: \"" +
                     k.input.substr(0, 20) + "\"");
        EXPECT_EQ(DigestOf(k.input), k.hex);

        MD5 pieces;
        for (char c : k.input) {
            pieces.update(&c, 1);
            pieces.update(&c, 0);
        }
        pieces.finalize();
        EXPECT_EQ(pieces.hex_digest(), k.hex);
    }
}

TEST(Md5Digest, RawDigestMatchesHexAndOutputOperator) {
    MD5 md5;
    md5.update("abc", 3);
    md5.finalize();
    const std::vector<unsigned char> raw = md5.raw_digest();
    ASSERT_EQ(raw.size(), 16u);
    EXPECT_EQ(raw[0], 0x90);
    EXPECT_EQ(raw[15], 0x72);

    std::ostringstream out;
    out << md5;
    EXPECT_EQ(out.str(), "900150983cd24fb0d6963f7d28e17f72");
    // Asking twice gives the same value: the digest is only read.
    EXPECT_EQ(md5.raw_digest(), raw);
}

TEST(Md5Digest, FileAndStreamForms) {
    // 3000 bytes: several 1024-byte reads, the last one short.
    const std::string content(3000, 'a');
    const char* expected = "6ca003d00c9bb4569a4a27d751db7a89";

    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(content.data(), 1, content.size(), file), content.size());
    std::rewind(file);
    EXPECT_EQ(MD5(file).hex_digest(), expected);  // closes the file

    std::istringstream stream(content);
    EXPECT_EQ(MD5(stream).hex_digest(), expected);

    std::istringstream empty;
    EXPECT_EQ(MD5(empty).hex_digest(), "d41d8cd98f00b204e9800998ecf8427e");

    // A file that failed to open reads as empty instead of crashing.
    EXPECT_EQ(MD5(static_cast<std::FILE*>(nullptr)).hex_digest(),
              "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(Md5Misuse, EachMisuseWritesItsLineAndChangesNothing) {
    MD5 open;
    {
        CerrCapture err;
        EXPECT_EQ(open.hex_digest(), "");
        EXPECT_EQ(err.Text(),
                  "MD5::hex_digest:  Can't get digest if you haven't finalized the digest!\n");
    }
    {
        CerrCapture err;
        EXPECT_TRUE(open.raw_digest().empty());
        EXPECT_EQ(err.Text(),
                  "MD5::raw_digest:  Can't get digest if you haven't finalized the digest!\n");
    }

    // The refused accessors did not disturb the context.
    open.update("abc", 3);
    open.finalize();
    const std::string digest = open.hex_digest();
    EXPECT_EQ(digest, "900150983cd24fb0d6963f7d28e17f72");
    {
        CerrCapture err;
        open.update("more", 4);
        open.update("more", 4);
        EXPECT_EQ(err.Text(),
                  "MD5::update:  Can't update a finalized digest!\n"
                  "MD5::update:  Can't update a finalized digest!\n");
    }
    {
        CerrCapture err;
        open.finalize();
        EXPECT_EQ(err.Text(), "MD5::finalize:  Already finalized this digest!\n");
    }
    EXPECT_EQ(open.hex_digest(), digest);
}

}  // namespace
