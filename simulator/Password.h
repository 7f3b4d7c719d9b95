// How a device keeps and checks its password.
#ifndef VANTREL_SIMULATOR_PASSWORD_H
#define VANTREL_SIMULATOR_PASSWORD_H

#include "simulator/Device.h"

#include <chrono>
#include <string>

namespace devsim {

// What a device stores for a password given as typed: with a two-character
// salt, salt + md5hex(salt + password); without one, the password itself.
std::string StoredPassword(const std::string& typed, const std::string& salt);

// The password of a configure request, as the device checks it: anything
// when protection is off, when salted a proof of the stored digest under one
// of the challenges it offered (which is then spent), the text as typed
// otherwise.
bool PasswordAccepted(Device& device, const std::string& sent, Challenges::Clock::time_point now);

// Whether a new password is one a device of this kind can keep: anything for
// an unsalted device; two letters or digits and 32 lowercase hexadecimal
// digits for a salted one, which could never again check a proof against
// anything else.
bool NewPasswordKeepable(const Device& device, const std::string& sent);

}  // namespace devsim

#endif  // VANTREL_SIMULATOR_PASSWORD_H
