// The device-list row of a scan response, and the stored response a MAC names.
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

constexpr std::size_t kMacColumn = static_cast<std::size_t>(ColumnId::kMac);

struct ResponseRow {
    std::array<std::string, kWindowColumns> texts;  // in column order
    bool shown;  // false when the MAC is not valid: the response gets no row
};

// The window's seven column texts of a response (kColumns): "N/A" for every
// value whose validity byte is 0.
ResponseRow BuildResponseRow(const ZOVA_ModuleScanResponseType& response);

// The first (oldest) response whose six MAC bytes equal mac, or null.
const ZOVA_ModuleScanResponseType* FindResponseByMac(
    const std::vector<ZOVA_ModuleScanResponseType>& responses, const base::Mac& mac);

}  // namespace zova

#endif  // VANTREL_ZOVA_RESPONSEROW_H
