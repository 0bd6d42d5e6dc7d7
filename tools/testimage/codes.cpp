#include "tools/testimage/codes.h"

#include <vector>

#include "common/code_rules.h"

namespace testimage {
namespace {

constexpr int NumberLength = 11;
constexpr int OwnerLength = 4;
constexpr int SizeTypeLength = 4;
constexpr double EquipmentShare = 0.8;  // most containers carry the category letter U
constexpr double LightOnGreen = 0.8;
constexpr double WallShares[] = {0.25, 0.25, 0.2, 0.1, 0.2};  // gray, red, blue, green, white

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char RandomCapital(Rng& rng) { return static_cast<char>('A' + rng.Between(0, 25)); }

}  // namespace

std::string RandomContainerNumber(Rng& rng) {
    std::string number;
    do {
        number.clear();
        for (int i = 0; i < OwnerLength - 1; ++i) number += RandomCapital(rng);
        number += rng.Chance(EquipmentShare) ? 'U' : (rng.Chance(0.5) ? 'J' : 'Z');
    } while (number == "HLCU");
    for (int i = OwnerLength; i < NumberLength - 1; ++i) number += static_cast<char>('0' + rng.Between(0, 9));
    number += static_cast<char>(ComputeCheckDigit(number.c_str()));
    return number;
}

std::string RandomSizeType(Rng& rng, const std::string& firsts) {
    std::vector<const char*> fitting;
    for (const auto& entry : SizeTypeCodes) {
        if (firsts.empty() || firsts.find(entry[0]) != std::string::npos) fitting.push_back(entry);
    }
    if (fitting.empty()) return SizeTypeCodes[0];
    return fitting[static_cast<std::size_t>(rng.Between(0, static_cast<int>(fitting.size()) - 1))];
}

Wall DrawWall(Rng& rng) {
    double pick = rng.Uniform();
    int wall = 0;
    while (wall + 1 < static_cast<int>(std::size(WallShares)) && pick >= WallShares[wall]) pick -= WallShares[wall++];
    return static_cast<Wall>(wall);
}

Paint DrawPaint(Wall wall, Rng& rng) {
    switch (wall) {
        case Wall::White: return Paint::DarkOnLight;
        case Wall::Red:
        case Wall::Blue: return Paint::LightOnDark;
        case Wall::Green: return rng.Chance(LightOnGreen) ? Paint::LightOnDark : Paint::DarkOnLight;
        case Wall::Gray: break;
    }
    return rng.Chance(0.5) ? Paint::LightOnDark : Paint::DarkOnLight;
}

bool IsWellFormedNumber(const std::string& number) {
    if (number.size() != NumberLength) return false;
    for (int i = 0; i < NumberLength; ++i) {
        const char c = number[static_cast<std::size_t>(i)];
        if (i < OwnerLength ? !IsCapital(c) : !IsDigit(c)) return false;
    }
    return true;
}

bool IsWellFormedSizeType(const std::string& code) {
    if (code.size() != SizeTypeLength) return false;
    for (char c : code) {
        if (!IsCapital(c) && !IsDigit(c)) return false;
    }
    return true;
}

}  // namespace testimage
