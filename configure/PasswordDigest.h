// How passwords travel to a device that offers a salt: the current password
// as a proof, a new one as a fresh two-character salt and a digest.
#ifndef VANTREL_CONFIGURE_PASSWORDDIGEST_H
#define VANTREL_CONFIGURE_PASSWORDDIGEST_H

#include "zova/zova.h"

#include <functional>
#include <string>

namespace configure {

// Next value of the pseudo-random generator (rand() in the tool).
using RandomSource = std::function<int()>;

// The device's salt text, read only within its field: a device that fills all
// 35 bytes without a terminator still yields 35 characters and no more.
std::string SaltText(const ZOVA_ModuleScanResponseType& response);

// 32 lowercase hex digits proving knowledge of password under salt.
std::string PasswordProof(const char* password, const std::string& salt);

// Two random letters or digits followed by 32 lowercase hex digits.
std::string SaltedNewPassword(const char* newPassword, const RandomSource& random);

}  // namespace configure

#endif  // VANTREL_CONFIGURE_PASSWORDDIGEST_H
