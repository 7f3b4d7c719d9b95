// Checks the rows the tool listed in a scan against the full sort. The list
// sorts after every stored answer, and its sort is stable, so the full sort
// leaves the rows in one order: the devices as their answers arrived, stably
// sorted by the sort column. That order is worked out here from the rows'
// own texts, compared as the list compares them, and set beside the rows as
// listed. Also counts the devices answered but not listed (lost), the rows
// of devices whose answer was not seen, and neighbouring rows out of order
// (a wrong order, as opposed to tied rows in another order).
//
// Usage: list_order_check COLUMN   (the sort column, ascending)
// Standard input: "arrival" and a device's MAC as 12 hex digits, one line per
// device in the order its first answer arrived; the rows as `list_watch
// --dump` prints them ("row" and the seven texts, separated by tabs), top to
// bottom.
#include "devicelist/DeviceListCtrl.h"
#include "devicelist/SortRules.h"
#include "zova/ResponseRow.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

// "02-6B-D4-00-00-0A" as a capture shows the MAC: "026bd400000a".
std::string MacDigits(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (c != '-')
            digits += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return digits;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: list_order_check COLUMN < arrivals and rows\n");
        return 2;
    }
    const auto column = static_cast<std::size_t>(std::atoi(argv[1]));
    std::vector<std::string> arrivals;
    std::vector<std::vector<std::string>> rows;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line.rfind("arrival ", 0) == 0)
            arrivals.push_back(line.substr(8));
        else if (line.rfind("row\t", 0) == 0)
            rows.push_back(SplitTabs(line.substr(4)));
    }
    if (rows.empty() || column >= rows.front().size()) {
        std::printf("no rows\n");
        return 1;
    }

    std::unordered_map<std::string, std::size_t> listedAt;
    std::vector<devicelist::CellKey> keys;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        listedAt[MacDigits(rows[i].at(zova::kMacColumn))] = i;
        keys.push_back(
            devicelist::MakeCellKey(rows[i].at(column).c_str(), &CDeviceListCtrl::TextSortKey));
    }
    std::vector<std::size_t> fullSort;
    std::vector<bool> seen(rows.size());
    std::size_t lost = 0;
    for (const std::string& mac : arrivals) {
        const auto found = listedAt.find(mac);
        if (found == listedAt.end() || seen[found->second]) {
            ++lost;
            continue;
        }
        seen[found->second] = true;
        fullSort.push_back(found->second);
    }
    std::stable_sort(fullSort.begin(), fullSort.end(), [&](std::size_t a, std::size_t b) {
        return devicelist::CompareCellKeys(keys[a], keys[b], true) < 0;
    });

    std::size_t firstDifference = 0;
    while (firstDifference < fullSort.size() && fullSort[firstDifference] == firstDifference)
        ++firstDifference;
    std::size_t outOfOrder = 0;
    for (std::size_t i = 1; i < rows.size(); ++i)
        outOfOrder += devicelist::CompareCellKeys(keys[i - 1], keys[i], true) > 0 ? 1 : 0;

    const bool same = firstDifference == rows.size() && fullSort.size() == rows.size();
    std::printf("%s lost %zu unseen %zu out_of_order %zu first_difference %zu\n",
                same ? "same" : "differs", lost,
                static_cast<std::size_t>(std::count(seen.begin(), seen.end(), false)), outOfOrder,
                firstDifference);
    return same && lost == 0 ? 0 : 1;
}
