// The device-list row of a scan response, its MAC text read back, and the
// stored response that MAC names.
#ifndef VANTREL_ZOVA_RESPONSEROW_H
#define VANTREL_ZOVA_RESPONSEROW_H

#include "base/Address.h"
#include "zova/Columns.h"
#include "zova/zova.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zova {

constexpr std::size_t kMacLength = 6;
constexpr std::size_t kMacColumn = static_cast<std::size_t>(ColumnId::kMac);

struct ResponseRow {
    std::array<std::string, kWindowColumns> texts;  // in column order
    bool shown;  // false when the MAC is not valid: the response gets no row
};

// The window's seven column texts of a response (kColumns): "N/A" for every
// value whose validity byte is 0.
ResponseRow BuildResponseRow(const ZOVA_ModuleScanResponseType& response);

// True when all six bytes are equal.
bool SameMac(const std::uint8_t (&a)[kMacLength], const std::uint8_t (&b)[kMacLength]);

// Reads a row's MAC text back ("%x-%x-%x-%x-%x-%x", hex digits in either
// case) into the low bytes of six numbers. Only the first 17 characters are
// read, as from the list's 18-byte cell buffer. False, with `mac` unchanged,
// when fewer than six numbers parse.
bool ParseMacText(const char* text, base::Mac& mac);

// The first (oldest) response whose six MAC bytes equal mac, or null.
const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const base::Mac& mac);

}  // namespace zova

#endif  // VANTREL_ZOVA_RESPONSEROW_H
