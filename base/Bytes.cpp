#include "base/Bytes.h"

#include <cstring>

namespace base {

void ByteWriter::Put(const std::uint8_t* bytes, std::size_t count) {
    if (overflowed_ || count > capacity_ - used_) {
        overflowed_ = true;
        return;
    }
    if (count > 0)
        std::memcpy(buffer_ + used_, bytes, count);
    used_ += count;
}

void ByteWriter::PutLe16(std::uint16_t value) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value),
                                   static_cast<std::uint8_t>(value >> 8)};
    Put(bytes, 2);
}

void ByteWriter::PutLe32(std::uint32_t value) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    Put(bytes, 4);
}

void ByteWriter::PutIpv4(std::uint32_t address) {
    const std::uint8_t octets[4] = {
        static_cast<std::uint8_t>(address >> 24), static_cast<std::uint8_t>(address >> 16),
        static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address)};
    Put(octets, 4);
}

bool ByteReader::Take(std::size_t count, const std::uint8_t*& bytes) {
    if (count > left_)
        return false;
    bytes = data_;
    data_ += count;
    left_ -= count;
    return true;
}

bool ByteReader::Copy(std::uint8_t* out, std::size_t count) {
    const std::uint8_t* bytes = nullptr;
    if (!Take(count, bytes))
        return false;
    if (count > 0)
        std::memcpy(out, bytes, count);
    return true;
}

bool ByteReader::Skip(std::size_t count) {
    const std::uint8_t* bytes = nullptr;
    return Take(count, bytes);
}

bool ByteReader::Byte(std::uint8_t& value) {
    return Copy(&value, 1);
}

bool ByteReader::Le32(std::uint32_t& value) {
    const std::uint8_t* b = nullptr;
    if (!Take(4, b))
        return false;
    value = std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
            std::uint32_t{b[3]} << 24;
    return true;
}

}  // namespace base
