#include "simulator/Password.h"

#include "md5/Md5.h"

#include <cctype>

namespace devsim {
namespace {

std::string Md5hex(const std::string& text) {
    MD5 md5;
    md5.update(text.data(), static_cast<std::uint32_t>(text.size()));
    md5.finalize();
    return md5.hex_digest();
}

}  // namespace

std::string StoredPassword(const std::string& typed, const std::string& salt) {
    return salt.empty() ? typed : salt + Md5hex(salt + typed);
}

bool PasswordAccepted(Device& device, const std::string& sent, Challenges::Clock::time_point now) {
    if (!device.passwordOn)
        return true;
    if (!device.salted)
        return sent == device.storedPassword;
    // The tool proves knowledge of the password with
    // md5hex(salt + md5hex(salt + P) + S), S being the salt text offered:
    // salt + challenge. The device keeps the inner digest, so it builds the
    // same proof without P.
    const std::string& stored = device.storedPassword;
    if (stored.size() != 34)
        return false;
    const std::string salt = stored.substr(0, 2);
    const std::string inner = salt + stored.substr(2) + salt;
    return device.challenges.Redeem(
        [&](const std::string& challenge) { return sent == Md5hex(inner + challenge); }, now);
}

bool NewPasswordKeepable(const Device& device, const std::string& sent) {
    if (!device.salted)
        return true;
    if (sent.size() != 34)
        return false;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(sent[i]);
        const bool ok =
            i < 2 ? std::isalnum(c) != 0 : (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace devsim
