#include "simulator/password.h"

namespace devsim {

std::string storedPassword(const std::string& typed, const std::string& salt) {
    return salt + typed;
}

bool passwordAccepted(const Device& device, const std::string& sent) {
    if (!device.passwordOn) return true;
    return !device.salted && sent == device.storedPassword;
}

}  // namespace devsim
