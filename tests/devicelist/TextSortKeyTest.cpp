// The list orders text cells by the locale's sort keys, made once per cell,
// instead of calling lstrcmpA for every pair it compares (about 2 us a call
// under Wine). That keeps the order only where the two agree: here, for every
// pair of the row texts the test fleets give, and of texts made of every
// single byte and of the characters the locale's word sort treats apart
// (hyphen, apostrophe, case, accents, controls). Catches keys made under
// another locale or code page, or a Wine whose keys order otherwise.
#include "devicelist/DeviceListCtrl.h"
#include "simulator/Fleet.h"
#include "tests/common/ProgramFolder.h"
#include "zova/ResponseRow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::set<std::string> RowTexts(const std::vector<devsim::Device>& fleet) {
    std::set<std::string> texts;
    for (const devsim::Device& device : fleet) {
        const zova::ResponseRow row = zova::BuildResponseRow(devsim::ScanAnswerOf(device));
        texts.insert(row.texts.begin(), row.texts.end());
    }
    return texts;
}

int Sign(int order) {
    return (order > 0) - (order < 0);
}

}  // namespace

TEST(TextSortKey, KeysOrderEveryPairOfTheFleetsRowTextsAsLstrcmpA) {
    std::ifstream file(harness::ProgramFolder() + "demo.fleet", std::ios::binary);
    std::stringstream demo;
    demo << file.rdbuf();
    const devsim::FleetResult parsed = devsim::ParseFleet(demo.str());
    ASSERT_TRUE(parsed.error.empty() && !parsed.devices.empty()) << parsed.error;
    std::set<std::string> texts = RowTexts(parsed.devices);
    const std::set<std::string> generated = RowTexts(devsim::GenerateFleet(60, {0x02, 0x6B, 0xD4}));
    texts.insert(generated.begin(), generated.end());
    for (int byte = 1; byte < 256; ++byte)
        texts.insert(std::string(1, static_cast<char>(byte)));
    const std::string mix = "aAbBeE-' .,_/09\x01\x7f\xe9\xc9\xc4\xdf\xad\xa0\xff";
    std::mt19937 random(11);
    while (texts.size() < 1300) {
        std::string text(random() % 10, ' ');
        for (char& c : text)
            c = mix[random() % mix.size()];
        texts.insert(text);
    }

    const std::vector<std::string> all(texts.begin(), texts.end());
    std::vector<std::string> keys;
    for (const std::string& text : all)
        keys.push_back(CDeviceListCtrl::TextSortKey(text.c_str()));
    int differing = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        ASSERT_FALSE(keys[i].empty()) << all[i];
        for (std::size_t j = 0; j < all.size(); ++j) {
            if (Sign(keys[i].compare(keys[j])) !=
                    Sign(::lstrcmpA(all[i].c_str(), all[j].c_str())) &&
                ++differing <= 10)
                ADD_FAILURE() << '"' << all[i] << "\" vs \"" << all[j] << '"';
        }
    }
    EXPECT_EQ(differing, 0) << "of " << all.size() * all.size() << " pairs";
}
