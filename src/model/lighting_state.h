// The keyboard's backlight memory as the tool sees it: the 42-byte lighting record of one
// onboard profile (LightingState), the per-key colour table of one profile (KeyColorTable),
// the decoded fields that the lighting panel shows, the effect table and the keyboard's own
// effect list (effectSlots). Pure data and conversions; the reads and writes are in
// lighting_control.h.
#pragma once
#include <array>
#include <cstdint>
#include <span>

namespace tarnel {

inline constexpr int kLightingStateSize = 42;  // one profile's record; profile p's starts at 42p
inline constexpr int kKeyColorTableSize = 512;  // one profile's per-key colours, 3 bytes a position
inline constexpr int kKeyColorPositions = kKeyColorTableSize / 3;  // 170: positions 0..169
inline constexpr int kEffectListSize = 32;

using LightingState = std::array<uint8_t, kLightingStateSize>;
using KeyColorTable = std::array<uint8_t, kKeyColorTableSize>;
using EffectList = std::array<uint8_t, kEffectListSize>;

// Offsets of the fields within a LightingState. Bytes not named here are carried as read.
enum LightingOffset : int {
    OffEffect = 0,
    OffBrightness = 1,   // 0..4
    OffSpeed = 2,        // 0..4 as stored; the speed slider at position s stores 4 - s
    OffDirection = 3,    // 255 or 0; the meaning depends on the effect
    OffMulticolor = 4,   // 0 one colour, else cycling colours
    OffColor = 5,        // 5, 6, 7: red, green, blue
    OffReportRate = 15,  // 0..3
    OffColorChoice = 17, // effect 17's fixed colour: 0 red, 1 yellow, 2 green, 3 blue
    OffAltToggle = 18,   // effect 7 only: the group-A multicolour picture
    OffTriggerMode = 19, // 0 single key, 1 grid
    OffMagicFn = 24,     // 0 FN1, 1 FN2
    OffStoneColor = 25,  // 25, 26, 27
    OffStoneMulticolor = 28,
    OffRibbonColor = 30,  // 30, 31, 32
    OffRibbonMulticolor = 33,
};

inline constexpr int kMaxBrightness = 4;
inline constexpr int kMaxSpeed = 4;
inline constexpr int kMaxReportRate = 3;
inline constexpr int kMaxColorChoice = 3;
inline constexpr uint8_t kDirectionFirst = 255;  // the first direction picture
inline constexpr uint8_t kDirectionSecond = 0;

// The speed slider shows 4 - stored speed (position 4 is the fastest) and stores 4 - position.
inline constexpr int SpeedSliderOf(int storedSpeed) { return kMaxSpeed - storedSpeed; }

// Colours inside the tool: red | green << 8 | blue << 16.
inline constexpr uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
    return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}
inline constexpr uint8_t RedOf(uint32_t color) { return uint8_t(color); }
inline constexpr uint8_t GreenOf(uint32_t color) { return uint8_t(color >> 8); }
inline constexpr uint8_t BlueOf(uint32_t color) { return uint8_t(color >> 16); }

// The decoded fields of the current profile's record: what the lighting panel shows.
struct LightingFields {
    int effect = 0;
    int brightness = 0;     // 0..4 (a larger stored value reads 4)
    int speed = 0;          // 0..4 as stored (a larger stored value reads 4)
    int direction = 0;      // the stored byte: 255 first picture, 0 second
    bool multicolor = false;
    uint32_t color = 0;
    int reportRate = 0;     // 0..3 (a larger stored value reads 3)
    int colorChoice = 0;    // 0..3 (a larger stored value reads 0, red)
    bool groupAMulticolor = false;  // the group-A multicolour picture (byte 18 of effect 7)
    int triggerMode = 0;    // 0 or 1
    uint32_t stoneColor = 0;
    bool stoneMulticolor = false;
    uint32_t ribbonColor = 0;
    bool ribbonMulticolor = false;
    int magicFnChoice = 0;  // the stored byte: 0 FN1, 1 FN2, other values shown as neither

    bool operator==(const LightingFields&) const = default;
};

// Decodes a record into `fields`. Fields whose stored byte is not a value the tool knows keep
// what `fields` held: the group-A picture (taken only for effect 7 and a byte of 0 or 1) and the
// trigger mode (taken only for 0 or 1). Returns true when the stored colour choice was above 3:
// the field then reads 0 (red) and the caller resets its copy of the record to match.
bool DecodeLightingState(const LightingState& record, LightingFields& fields);

// The record that restores the default lighting: effect 1, brightness 4, speed 2, direction 0,
// multicolour 255, colour white, zeros up to offset 34. Offsets 35..41 are not part of it.
inline constexpr int kDefaultLightingSize = 35;
std::array<uint8_t, kDefaultLightingSize> DefaultLightingBytes();

// What an effect uses. Effect numbers are the keyboard's; the tool knows 1..18, 20 and 21.
enum class DirectionKind : uint8_t {
    None,
    LeftRight,  // 255 left, 0 right
    UpDown,     // 255 up, 0 down
    Spread,     // 255 spread outward, 0 converge inward
};
enum class ColorGroup : uint8_t { None, A, B };

struct EffectInfo {
    bool known = false;  // false: selecting it writes nothing and shows no controls
    bool brightness = false;
    bool speed = false;
    DirectionKind direction = DirectionKind::None;
    ColorGroup colorGroup = ColorGroup::None;  // color + multicolor through group A or B
    bool writesMulticolor = false;  // selecting the effect also writes offset 4
    bool altToggle = false;         // byte 18 is read (effect 7)
    bool colorChoice = false;       // effect 17
    bool userMode = false;          // effect 20: the key colour table colours each key
};

// The row of an effect number; an all-false row for a number the tool does not know.
EffectInfo EffectInfoOf(int effect);

inline constexpr int kUserModeEffect = 20;
inline constexpr int kColorChoiceEffect = 17;

// The keyboard's effect list (information block bytes 12..43) as list index -> effect number:
// the non-zero bytes in order, without gaps.
class EffectSlots {
public:
    EffectSlots() = default;
    explicit EffectSlots(std::span<const uint8_t, kEffectListSize> effectList);

    int count() const { return m_count; }
    // List index of the first entry with this effect number, or -1.
    int EffectIndex(int effect) const;
    // Effect number at a list index; 0 for an index outside 0..count()-1.
    int EffectAt(int index) const;

private:
    std::array<uint8_t, kEffectListSize> m_effects{};
    int m_count = 0;
};

// True when any byte of the list is the user colour mode effect (20).
bool IsUserModeSupported(std::span<const uint8_t, kEffectListSize> effectList);

}  // namespace tarnel
