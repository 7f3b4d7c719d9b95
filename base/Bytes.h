// Bounded byte buffers, one way each: a writer that appends to a buffer of
// fixed capacity and a reader that walks received bytes. Every read states
// the size it needs, and multi-byte values are put together byte by byte,
// so that alignment and host byte order never matter.
#ifndef VANTREL_BASE_BYTES_H
#define VANTREL_BASE_BYTES_H

#include <cstddef>
#include <cstdint>

namespace base {

// Appends to a caller's buffer. What would not fit is not written, in every
// build, and the writer stays overflowed: the caller then refuses the whole
// message instead of sending it cut short.
class ByteWriter {
public:
    ByteWriter(std::uint8_t* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {}

    void Put(const std::uint8_t* bytes, std::size_t count);
    void Put(std::uint8_t byte) { Put(&byte, 1); }
    void PutLe16(std::uint16_t value);
    void PutLe32(std::uint32_t value);
    // An address number (first dotted octet most significant), first octet first.
    void PutIpv4(std::uint32_t address);

    std::size_t Used() const { return used_; }
    bool Overflowed() const { return overflowed_; }

private:
    std::uint8_t* buffer_;
    std::size_t capacity_;
    std::size_t used_ = 0;
    bool overflowed_ = false;
};

// Reads received bytes from the front. A read that asks for more than is
// left reads nothing and returns false.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), left_(size) {}

    std::size_t Remaining() const { return left_; }
    // The next count bytes, in place.
    bool Take(std::size_t count, const std::uint8_t*& bytes);
    bool Copy(std::uint8_t* out, std::size_t count);
    bool Skip(std::size_t count);
    bool Byte(std::uint8_t& value);
    bool Le32(std::uint32_t& value);

private:
    const std::uint8_t* data_;
    std::size_t left_;
};

}  // namespace base

#endif  // VANTREL_BASE_BYTES_H
