// The PiPL bytes decoded by an independent reader of the published layout.
#include "entry/pipl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace plurion {
namespace {

struct Property {
    std::string key;
    std::uint32_t length = 0;
    std::vector<std::uint8_t> data;
};

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
           static_cast<std::uint32_t>(bytes.at(at + 3)) << 24;
}

// Four-character codes are little-endian 32-bit values, so their characters appear reversed.
std::string Code(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return {static_cast<char>(bytes.at(at + 3)), static_cast<char>(bytes.at(at + 2)),
            static_cast<char>(bytes.at(at + 1)), static_cast<char>(bytes.at(at))};
}

std::vector<Property> Decode(const std::vector<std::uint8_t>& bytes) {
    EXPECT_EQ(bytes.at(0) | bytes.at(1) << 8, 1);
    EXPECT_EQ(Read32(bytes, 2), 0u);
    const std::uint32_t count = Read32(bytes, 6);
    std::vector<Property> properties;
    std::size_t at = 10;
    for (std::uint32_t i = 0; i < count; ++i) {
        EXPECT_EQ(Code(bytes, at), "8BIM");
        Property property{Code(bytes, at + 4), Read32(bytes, at + 12), {}};
        EXPECT_EQ(Read32(bytes, at + 8), 0u);
        const std::size_t padded = (property.length + 3) / 4 * 4;
        property.data.assign(bytes.begin() + static_cast<long>(at + 16),
                             bytes.begin() + static_cast<long>(at + 16 + padded));
        properties.push_back(property);
        at += 16 + padded;
    }
    EXPECT_EQ(at, bytes.size());
    return properties;
}

std::string Pascal(const Property& property) {
    return std::string(property.data.begin() + 1, property.data.begin() + 1 + property.data[0]);
}

TEST(Pipl, HoldsThirteenPropertiesInOrder) {
    const std::vector<Property> p = Decode(BuildPiplResource());
    ASSERT_EQ(p.size(), 13u);
    const std::vector<std::string> keys = {"kind", "name", "catg", "8664", "ePVR", "eSVR", "eVER",
                                           "eINF", "eGLO", "eGL2", "eMNA", "aeFL", "eURL"};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(p[i].key, keys[i]);
    }
    EXPECT_EQ(Code(p[0].data, 0), "eFKT");
    EXPECT_EQ(Pascal(p[1]), "Plurion");
    EXPECT_EQ(p[1].length, 8u); // the length byte and 7 characters
    EXPECT_EQ(Pascal(p[2]), "KAVEL");
    EXPECT_EQ(p[2].length, 8u); // padding counts for Pascal strings
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p[3].data.data())), "PlurionMain");
    EXPECT_EQ(Read32(p[6].data, 0), 0x000A0E01u);
    EXPECT_EQ(p[7].length, 2u);
    EXPECT_EQ(p[7].data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(Read32(p[8].data, 0), 0x06088440u);
    EXPECT_EQ(Read32(p[9].data, 0), 0x08081400u);
    EXPECT_EQ(Pascal(p[10]), "ADBE Plurion");
    EXPECT_EQ(p[10].length, 16u);
    EXPECT_EQ(Read32(p[11].data, 0), 0u);
    EXPECT_EQ(Pascal(p[12]).rfind("https://", 0), 0u);
    EXPECT_EQ(p[12].length % 4, 0u);
}

// A version pair is two 16-bit integers, major first, each little-endian in a Windows module:
// PiPL version 2.0 and effect API version 13.28, byte for byte, header included.
TEST(Pipl, VersionPairsAreTwoShortsMajorFirst) {
    const std::vector<std::uint8_t> bytes = BuildPiplResource();
    const std::vector<std::uint8_t> pipl_version = {
        'M', 'I', 'B', '8', 'R', 'V', 'P', 'e', 0, 0, 0, 0, 4, 0, 0, 0, 0x02, 0x00, 0x00, 0x00};
    const std::vector<std::uint8_t> api_version = {
        'M', 'I', 'B', '8', 'R', 'V', 'S', 'e', 0, 0, 0, 0, 4, 0, 0, 0, 0x0D, 0x00, 0x1C, 0x00};
    const auto at = [&](const std::vector<std::uint8_t>& property) {
        return std::search(bytes.begin(), bytes.end(), property.begin(), property.end());
    };
    ASSERT_NE(at(pipl_version), bytes.end());
    ASSERT_NE(at(api_version), bytes.end());
    EXPECT_EQ(at(api_version) - at(pipl_version), 20); // adjacent, in this order
}

} // namespace
} // namespace plurion
