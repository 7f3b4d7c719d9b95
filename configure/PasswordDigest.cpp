#include "configure/PasswordDigest.h"

#include "base/Text.h"
#include "md5/Md5.h"

#include <cstring>

namespace configure {

namespace {

// The device hashes C strings, so a NUL among the formatted characters ends
// the hashed text there (a salt starting with NUL hashes nothing).
std::string HexDigestOfCString(const std::string& formatted) {
    MD5 md5;
    md5.update(formatted.c_str(), static_cast<std::uint32_t>(std::strlen(formatted.c_str())));
    md5.finalize();
    return md5.hex_digest();
}

char SaltCharacter(const RandomSource& random) {
    const unsigned v = static_cast<unsigned>(random()) % 62u;
    if (v < 26)
        return static_cast<char>('a' + v);
    if (v < 52)
        return static_cast<char>('A' + (v - 26));
    return static_cast<char>('0' + (v - 52));
}

}  // namespace

std::string SaltText(const ZOVA_ModuleScanResponseType& response) {
    return std::string(base::FieldText(response.szPasswordSalt));
}

std::string PasswordProof(const char* password, const std::string& salt) {
    const char s0 = salt.size() > 0 ? salt[0] : '\0';
    const char s1 = salt.size() > 1 ? salt[1] : '\0';
    const std::string inner = std::string{s0, s1} + password;
    const std::string outer = std::string{s0, s1} + HexDigestOfCString(inner) + salt;
    return HexDigestOfCString(outer);
}

std::string SaltedNewPassword(const char* newPassword, const RandomSource& random) {
    const char r0 = SaltCharacter(random);
    const char r1 = SaltCharacter(random);
    const std::string salt{r0, r1};
    return salt + HexDigestOfCString(salt + newPassword);
}

}  // namespace configure
