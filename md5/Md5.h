// MD5 message digest (RFC 1321), used to turn device passwords into proofs.
#ifndef VANTREL_MD5_MD5_H
#define VANTREL_MD5_MD5_H

#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <string>
#include <vector>

class MD5 {
public:
    MD5();
    // Digest of a whole file; the file is closed afterwards.
    explicit MD5(std::FILE* file);
    // Digest of everything the stream yields; the stream stays open.
    explicit MD5(std::istream& stream);

    void update(const unsigned char* input, std::uint32_t length);
    void update(const char* input, std::uint32_t length) {
        update(reinterpret_cast<const unsigned char*>(input), length);
    }
    // Reads the file to its end and closes it.
    void update(std::FILE* file);
    void update(std::istream& stream);
    void finalize();

    // Both return an empty value (and say why on the error stream) before
    // finalize.
    std::vector<unsigned char> raw_digest() const;
    std::string hex_digest() const;

    friend std::ostream& operator<<(std::ostream& out, MD5 context);

private:
    void init();
    void transform(const unsigned char block[64]);

    std::uint32_t state[4];
    std::uint32_t count[2];  // bits so far, low word first
    unsigned char buffer[64];
    unsigned char digest[16];
    std::uint8_t finalized;
};

#endif  // VANTREL_MD5_MD5_H
