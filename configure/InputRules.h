// The two checks the configure dialog makes before it accepts "Set".
#ifndef VANTREL_CONFIGURE_INPUTRULES_H
#define VANTREL_CONFIGURE_INPUTRULES_H

#include <cstdint>

namespace configure {

// Only a-z, A-Z and 0-9; an empty name passes.
bool IsLegalHostname(const char* hostname);

// A device address may not end in .255 (the subnet's broadcast address in the
// usual /24 networks).
inline bool EndsIn255(std::uint32_t address) {
    return (address & 0xFF) == 255;
}

}  // namespace configure

#endif  // VANTREL_CONFIGURE_INPUTRULES_H
