#include "model/lighting_state.h"

#include <algorithm>

namespace tarnel {
namespace {

uint32_t colorAt(const LightingState& r, int offset) {
    return MakeColor(r[size_t(offset)], r[size_t(offset + 1)], r[size_t(offset + 2)]);
}

bool isFlag(uint8_t b) { return b == 0 || b == 1; }

}  // namespace

bool DecodeLightingState(const LightingState& r, LightingFields& f) {
    f.effect = r[OffEffect];
    // The panel's sliders only know 0..4: a larger stored value shows at the end of the slider
    // rather than off it.
    f.brightness = std::min<int>(r[OffBrightness], kMaxBrightness);
    f.speed = std::min<int>(r[OffSpeed], kMaxSpeed);
    f.direction = r[OffDirection];
    f.multicolor = r[OffMulticolor] != 0;
    f.color = colorAt(r, OffColor);
    f.reportRate = std::min<int>(r[OffReportRate], kMaxReportRate);
    bool choiceReset = r[OffColorChoice] > kMaxColorChoice;
    f.colorChoice = choiceReset ? 0 : r[OffColorChoice];
    if (f.effect == 7 && isFlag(r[OffAltToggle])) f.groupAMulticolor = r[OffAltToggle] == 1;
    if (isFlag(r[OffTriggerMode])) f.triggerMode = r[OffTriggerMode];
    f.stoneColor = colorAt(r, OffStoneColor);
    f.stoneMulticolor = r[OffStoneMulticolor] != 0;
    f.ribbonColor = colorAt(r, OffRibbonColor);
    f.ribbonMulticolor = r[OffRibbonMulticolor] != 0;
    f.magicFnChoice = r[OffMagicFn];
    return choiceReset;
}

std::array<uint8_t, kDefaultLightingSize> DefaultLightingBytes() {
    std::array<uint8_t, kDefaultLightingSize> bytes{};
    const uint8_t head[] = {0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    std::copy(std::begin(head), std::end(head), bytes.begin());
    return bytes;
}

EffectInfo EffectInfoOf(int effect) {
    using D = DirectionKind;
    using G = ColorGroup;
    // brightness, speed, direction, colour group, writes multicolour on selection.
    auto row = [](bool speed, D direction, G group, bool writesMulticolor) {
        EffectInfo info;
        info.known = true;
        info.brightness = true;
        info.speed = speed;
        info.direction = direction;
        info.colorGroup = group;
        info.writesMulticolor = writesMulticolor;
        return info;
    };
    EffectInfo info;
    switch (effect) {
        case 1: case 2: case 3: info = row(true, D::LeftRight, G::B, true); break;
        case 4: info = row(true, D::None, G::None, false); break;
        case 5: info = row(true, D::None, G::B, true); break;
        case 6: info = row(false, D::None, G::A, false); break;
        case 7: info = row(true, D::None, G::B, true); info.altToggle = true; break;
        case 8: case 9: info = row(true, D::None, G::B, true); break;
        case 10: info = row(true, D::None, G::B, false); break;  // group B, offset 4 not written
        case 11: info = row(true, D::None, G::None, false); break;
        case 12: info = row(true, D::UpDown, G::None, false); break;
        case 13: case 14: case 15: info = row(true, D::None, G::B, true); break;
        case 16: info = row(false, D::None, G::A, false); break;
        case 17: info = row(false, D::None, G::None, false); info.colorChoice = true; break;
        case 18: info = row(false, D::Spread, G::None, false); break;
        case 20: info = row(false, D::None, G::None, false); info.userMode = true; break;
        case 21: info = row(false, D::None, G::None, false); break;
        default: break;
    }
    return info;
}

EffectSlots::EffectSlots(std::span<const uint8_t, kEffectListSize> effectList) {
    for (uint8_t effect : effectList)
        if (effect != 0) m_effects[size_t(m_count++)] = effect;
}

int EffectSlots::EffectIndex(int effect) const {
    for (int i = 0; i < m_count; ++i)
        if (m_effects[size_t(i)] == effect) return i;
    return -1;
}

int EffectSlots::EffectAt(int index) const {
    return index >= 0 && index < m_count ? m_effects[size_t(index)] : 0;
}

bool IsUserModeSupported(std::span<const uint8_t, kEffectListSize> effectList) {
    return std::find(effectList.begin(), effectList.end(), kUserModeEffect) != effectList.end();
}

}  // namespace tarnel
