#include "model/key_table.h"

#include <algorithm>

#include "common/safe_format.h"

namespace tarnel {
namespace {

struct RowEntry {
    int row;
    KeyTableEntry entry;
};

// The rows that hold a key: row, then virtualKey, keyCode16, altVirtualKey, deviceCode, langKey.
// Rows 54 and 182 both describe the right Shift key; lookups by code find row 54 first.
constexpr RowEntry kRows[] = {
    {  1, {0x1B, 0x0025, 0x1B, 0x29, "IDS_KEYBOARD_ESC"}},  // 0x001 Esc
    {  2, {0x31, 0x001A, 0x31, 0x1E, "IDS_KEYBOARD_1"}},  // 0x002 1
    {  3, {0x32, 0x001B, 0x32, 0x1F, "IDS_KEYBOARD_2"}},  // 0x003 2
    {  4, {0x33, 0x001C, 0x33, 0x20, "IDS_KEYBOARD_3"}},  // 0x004 3
    {  5, {0x34, 0x001D, 0x34, 0x21, "IDS_KEYBOARD_4"}},  // 0x005 4
    {  6, {0x35, 0x001E, 0x35, 0x22, "IDS_KEYBOARD_5"}},  // 0x006 5
    {  7, {0x36, 0x001F, 0x36, 0x23, "IDS_KEYBOARD_6"}},  // 0x007 6
    {  8, {0x37, 0x0020, 0x37, 0x24, "IDS_KEYBOARD_7"}},  // 0x008 7
    {  9, {0x38, 0x0021, 0x38, 0x25, "IDS_KEYBOARD_8"}},  // 0x009 8
    { 10, {0x39, 0x0022, 0x39, 0x26, "IDS_KEYBOARD_9"}},  // 0x00A 9
    { 11, {0x30, 0x0023, 0x30, 0x27, "IDS_KEYBOARD_0"}},  // 0x00B 0
    { 12, {0xBD, 0x0029, 0xBD, 0x2D, "IDS_KEYBOARD_MINUS"}},  // 0x00C -
    { 13, {0xBB, 0x002A, 0xBB, 0x2E, "IDS_KEYBOARD_EQU"}},  // 0x00D =
    { 14, {0x08, 0x0026, 0x08, 0x2A, "IDS_KEYBOARD_BS"}},  // 0x00E Backspace
    { 15, {0x09, 0x0027, 0x09, 0x2B, "IDS_KEYBOARD_TAB"}},  // 0x00F Tab
    { 16, {0x51, 0x0010, 0x51, 0x14, "IDS_KEYBOARD_Q"}},  // 0x010 Q
    { 17, {0x57, 0x0016, 0x57, 0x1A, "IDS_KEYBOARD_W"}},  // 0x011 W
    { 18, {0x45, 0x0004, 0x45, 0x08, "IDS_KEYBOARD_E"}},  // 0x012 E
    { 19, {0x52, 0x0011, 0x52, 0x15, "IDS_KEYBOARD_R"}},  // 0x013 R
    { 20, {0x54, 0x0013, 0x54, 0x17, "IDS_KEYBOARD_T"}},  // 0x014 T
    { 21, {0x59, 0x0018, 0x59, 0x1C, "IDS_KEYBOARD_Y"}},  // 0x015 Y
    { 22, {0x55, 0x0014, 0x55, 0x18, "IDS_KEYBOARD_U"}},  // 0x016 U
    { 23, {0x49, 0x0008, 0x49, 0x0C, "IDS_KEYBOARD_I"}},  // 0x017 I
    { 24, {0x4F, 0x000E, 0x4F, 0x12, "IDS_KEYBOARD_O"}},  // 0x018 O
    { 25, {0x50, 0x000F, 0x50, 0x13, "IDS_KEYBOARD_P"}},  // 0x019 P
    { 26, {0xDB, 0x002B, 0xDB, 0x2F, "IDS_KEYBOARD_SB1"}},  // 0x01A [
    { 27, {0xDD, 0x002C, 0xDD, 0x30, "IDS_KEYBOARD_SB2"}},  // 0x01B ]
    { 28, {0x0D, 0x0024, 0x0D, 0x28, "IDS_KEYBOARD_ENTER"}},  // 0x01C Enter
    { 29, {0xA2, 0x0062, 0xA2, 0xE0, "IDS_KEYBOARD_LCTRL"}},  // 0x01D Ctrl
    { 30, {0x41, 0x0000, 0x41, 0x04, "IDS_KEYBOARD_A"}},  // 0x01E A
    { 31, {0x53, 0x0012, 0x53, 0x16, "IDS_KEYBOARD_S"}},  // 0x01F S
    { 32, {0x44, 0x0003, 0x44, 0x07, "IDS_KEYBOARD_D"}},  // 0x020 D
    { 33, {0x46, 0x0005, 0x46, 0x09, "IDS_KEYBOARD_F"}},  // 0x021 F
    { 34, {0x47, 0x0006, 0x47, 0x0A, "IDS_KEYBOARD_G"}},  // 0x022 G
    { 35, {0x48, 0x0007, 0x48, 0x0B, "IDS_KEYBOARD_H"}},  // 0x023 H
    { 36, {0x4A, 0x0009, 0x4A, 0x0D, "IDS_KEYBOARD_J"}},  // 0x024 J
    { 37, {0x4B, 0x000A, 0x4B, 0x0E, "IDS_KEYBOARD_K"}},  // 0x025 K
    { 38, {0x4C, 0x000B, 0x4C, 0x0F, "IDS_KEYBOARD_L"}},  // 0x026 L
    { 39, {0xBA, 0x002E, 0xBA, 0x33, "IDS_KEYBOARD_SEM"}},  // 0x027 ;
    { 40, {0xDE, 0x002F, 0xDE, 0x34, "IDS_KEYBOARD_QUOT"}},  // 0x028 '
    { 41, {0xC0, 0x0030, 0xC0, 0x35, "IDS_KEYBOARD_AID1"}},  // 0x029 Grave accent
    { 42, {0xA0, 0x0063, 0xA0, 0xE1, "IDS_KEYBOARD_LSHIFT"}},  // 0x02A Shift
    { 43, {0xDC, 0x002D, 0xDC, 0x31, "IDS_KEYBOARD_AV"}},  // 0x02B Backslash
    { 44, {0x5A, 0x0019, 0x5A, 0x1D, "IDS_KEYBOARD_Z"}},  // 0x02C Z
    { 45, {0x58, 0x0017, 0x58, 0x1B, "IDS_KEYBOARD_X"}},  // 0x02D X
    { 46, {0x43, 0x0002, 0x43, 0x06, "IDS_KEYBOARD_C"}},  // 0x02E C
    { 47, {0x56, 0x0015, 0x56, 0x19, "IDS_KEYBOARD_V"}},  // 0x02F V
    { 48, {0x42, 0x0001, 0x42, 0x05, "IDS_KEYBOARD_B"}},  // 0x030 B
    { 49, {0x4E, 0x000D, 0x4E, 0x11, "IDS_KEYBOARD_N"}},  // 0x031 N
    { 50, {0x4D, 0x000C, 0x4D, 0x10, "IDS_KEYBOARD_M"}},  // 0x032 M
    { 51, {0xBC, 0x0031, 0xBC, 0x36, "IDS_KEYBOARD_COMMA"}},  // 0x033 ,
    { 52, {0xBE, 0x0032, 0xBE, 0x37, "IDS_KEYBOARD_PER"}},  // 0x034 .
    { 53, {0xBF, 0x0033, 0xBF, 0x38, "IDS_KEYBOARD_VIR"}},  // 0x035 /
    { 54, {0xA1, 0x0067, 0xA1, 0xE5, "IDS_KEYBOARD_RSHIFT"}},  // 0x036 Right Shift
    { 55, {0x6A, 0x0051, 0x6A, 0x55, "IDS_KEYBOARD_S_AST"}},  // 0x037 Num *
    { 56, {0xA4, 0x0064, 0xA4, 0xE2, "IDS_KEYBOARD_LALT"}},  // 0x038 Alt
    { 57, {0x20, 0x0028, 0x20, 0x2C, "IDS_KEYBOARD_SPACE"}},  // 0x039 Space
    { 58, {0x14, 0x004E, 0x14, 0x39, "IDS_KEYBOARD_CAPS"}},  // 0x03A Caps Lock
    { 59, {0x70, 0x0034, 0x70, 0x3A, "IDS_KEYBOARD_F1"}},  // 0x03B F1
    { 60, {0x71, 0x0035, 0x71, 0x3B, "IDS_KEYBOARD_F2"}},  // 0x03C F2
    { 61, {0x72, 0x0036, 0x72, 0x3C, "IDS_KEYBOARD_F3"}},  // 0x03D F3
    { 62, {0x73, 0x0037, 0x73, 0x3D, "IDS_KEYBOARD_F4"}},  // 0x03E F4
    { 63, {0x74, 0x0038, 0x74, 0x3E, "IDS_KEYBOARD_F5"}},  // 0x03F F5
    { 64, {0x75, 0x0039, 0x75, 0x3F, "IDS_KEYBOARD_F6"}},  // 0x040 F6
    { 65, {0x76, 0x003A, 0x76, 0x40, "IDS_KEYBOARD_F7"}},  // 0x041 F7
    { 66, {0x77, 0x003B, 0x77, 0x41, "IDS_KEYBOARD_F8"}},  // 0x042 F8
    { 67, {0x78, 0x003C, 0x78, 0x42, "IDS_KEYBOARD_F9"}},  // 0x043 F9
    { 68, {0x79, 0x003D, 0x79, 0x43, "IDS_KEYBOARD_F10"}},  // 0x044 F10
    { 69, {0x13, 0x0041, 0x13, 0x48, "IDS_KEYBOARD_PAUSE"}},  // 0x045 Pause
    { 70, {0x91, 0x004D, 0x91, 0x47, "IDS_KEYBOARD_SCROLL"}},  // 0x046 Scroll Lock
    { 71, {0x67, 0x005B, 0x24, 0x5F, "IDS_KEYBOARD_S_7"}},  // 0x047 Num 7
    { 72, {0x68, 0x005C, 0x26, 0x60, "IDS_KEYBOARD_S_8"}},  // 0x048 Num 8
    { 73, {0x69, 0x005D, 0x21, 0x61, "IDS_KEYBOARD_S_9"}},  // 0x049 Num 9
    { 74, {0x6D, 0x0052, 0x6D, 0x56, "IDS_KEYBOARD_S_MINUS"}},  // 0x04A Num -
    { 75, {0x64, 0x0058, 0x25, 0x5C, "IDS_KEYBOARD_S_4"}},  // 0x04B Num 4
    { 76, {0x65, 0x0059, 0x0C, 0x5D, "IDS_KEYBOARD_S_5"}},  // 0x04C Num 5
    { 77, {0x66, 0x005A, 0x27, 0x5E, "IDS_KEYBOARD_S_6"}},  // 0x04D Num 6
    { 78, {0x6B, 0x0053, 0x6B, 0x57, "IDS_KEYBOARD_S_PLUS"}},  // 0x04E Num +
    { 79, {0x61, 0x0055, 0x23, 0x59, "IDS_KEYBOARD_S_1"}},  // 0x04F Num 1
    { 80, {0x62, 0x0056, 0x28, 0x5A, "IDS_KEYBOARD_S_2"}},  // 0x050 Num 2
    { 81, {0x63, 0x0057, 0x22, 0x5B, "IDS_KEYBOARD_S_3"}},  // 0x051 Num 3
    { 82, {0x60, 0x005E, 0x2D, 0x62, "IDS_KEYBOARD_S_0"}},  // 0x052 Num 0
    { 83, {0x6E, 0x005F, 0x2E, 0x63, "IDS_KEYBOARD_S_DEL"}},  // 0x053 Num .
    { 84, {0x2C, 0x8012, 0x2C, 0x00, "IDS_KEYBOARD_SYSREQ"}},  // 0x054 Sys Req
    { 86, {0xE2, 0x0060, 0xE2, 0x64, "IDS_KEYBOARD_K45"}},  // 0x056 K45
    { 87, {0x7A, 0x003E, 0x7A, 0x44, "IDS_KEYBOARD_F11"}},  // 0x057 F11
    { 88, {0x7B, 0x003F, 0x7B, 0x45, "IDS_KEYBOARD_F12"}},  // 0x058 F12
    {100, {0x7C, 0x802D, 0x7C, 0x00, ""}},  // 0x064 F13
    {112, {0xFF, 0x8018, 0xFF, 0x88, "IDS_KEYBOARD_ROMA"}},  // 0x070 ROMA (133)
    {113, {0xE9, 0x8019, 0xE9, 0x91, "IDS_KEYBOARD_KL"}},  // 0x071 KL
    {114, {0xFF, 0x801A, 0xFF, 0x90, "IDS_KEYBOARD_KR"}},  // 0x072 KR
    {115, {0xC1, 0x8014, 0xC1, 0x87, "IDS_KEYBOARD_K56"}},  // 0x073 K56
    {121, {0xFF, 0x8017, 0xFF, 0x8A, "IDS_KEYBOARD_CHG"}},  // 0x079 CHG (132)
    {123, {0xEB, 0x8016, 0xEB, 0x8B, "IDS_KEYBOARD_N_CHG"}},  // 0x07B N-CHG (131)
    {125, {0xFF, 0x8013, 0xFF, 0x89, "IDS_KEYBOARD_K14"}},  // 0x07D K14
    {126, {0xC2, 0x8015, 0xC2, 0x85, "IDS_KEYBOARD_K107"}},  // 0x07E K107
    {144, {0xB1, 0x8021, 0xB1, 0xD0, "MEDIA_PREV_TRACK_4"}},  // 0x110 Prev Track
    {153, {0xB0, 0x8022, 0xB0, 0xD1, "MEDIA_Next_TRACK_5"}},  // 0x119 Next Track
    {156, {0x0D, 0x0054, 0x0D, 0x58, "IDS_KEYBOARD_S_ENTER"}},  // 0x11C Num Enter
    {157, {0xA3, 0x0066, 0xA3, 0xE4, "IDS_KEYBOARD_RCTRL"}},  // 0x11D Right Ctrl
    {160, {0xAD, 0x8025, 0xAD, 0xCD, "MEDIA_MUTE_8"}},  // 0x120 Mute
    {161, {0xB7, 0x801C, 0xB7, 0xC4, "MEDIA_CALC_17"}},  // 0x121 Calc
    {162, {0xB3, 0x801F, 0xB3, 0xCE, "MEDIA_PALY_PAUSE_2"}},  // 0x122 Play/Pause
    {164, {0xB2, 0x8020, 0xB2, 0xCF, "MEDIA_STOP_PALY_3"}},  // 0x124 Stop Play
    {174, {0xAE, 0x8024, 0xAE, 0xC1, "MEDIA_V_LOW_6"}},  // 0x12E V-
    {176, {0xAF, 0x8023, 0xAF, 0xC0, "MEDIA_V_ADD_7"}},  // 0x130 V+
    {178, {0xAC, 0x8026, 0xAC, 0xC7, "MEDIA_WWW_HOME_9"}},  // 0x132 WWW Home
    {181, {0x6F, 0x0050, 0x6F, 0x54, "IDS_KEYBOARD_S_VIR"}},  // 0x135 Num /
    {182, {0xA1, 0x0067, 0xA1, 0xE5, "IDS_KEYBOARD_RSHIFT"}},  // 0x136 Right Shift
    {183, {0x2C, 0x0040, 0x2C, 0x46, "IDS_KEYBOARD_PRINT"}},  // 0x137 Print Screen
    {184, {0xA5, 0x0068, 0xA5, 0xE6, "IDS_KEYBOARD_RALT"}},  // 0x138 Right Alt
    {197, {0x90, 0x004F, 0x90, 0x53, "IDS_KEYBOARD_NUM"}},  // 0x145 Num Lock
    {198, {0x03, 0x0042, 0x03, 0x48, "IDS_KEYBOARD_BREAK"}},  // 0x146 Break
    {199, {0x24, 0x0045, 0x24, 0x4A, "IDS_KEYBOARD_HOME"}},  // 0x147 Home
    {200, {0x26, 0x0049, 0x26, 0x52, "IDS_KEYBOARD_UP"}},  // 0x148 Up
    {201, {0x21, 0x0047, 0x21, 0x4B, "IDS_KEYBOARD_PAGE_UP"}},  // 0x149 Page Up
    {203, {0x25, 0x004B, 0x25, 0x50, "IDS_KEYBOARD_LEFT"}},  // 0x14B Left
    {205, {0x27, 0x004C, 0x27, 0x4F, "IDS_KEYBOARD_RIGHT"}},  // 0x14D Right
    {207, {0x23, 0x0046, 0x23, 0x4D, "IDS_KEYBOARD_END"}},  // 0x14F End
    {208, {0x28, 0x004A, 0x28, 0x51, "IDS_KEYBOARD_DOWN"}},  // 0x150 Down
    {209, {0x22, 0x0048, 0x22, 0x4E, "IDS_KEYBOARD_PAGE_DOWN"}},  // 0x151 Page Down
    {210, {0x2D, 0x0043, 0x2D, 0x49, "IDS_KEYBOARD_INSERT"}},  // 0x152 Insert
    {211, {0x2E, 0x0044, 0x2E, 0x4C, "IDS_KEYBOARD_DELETE"}},  // 0x153 Delete
    {219, {0x5B, 0x0065, 0x5B, 0xE3, "IDS_KEYBOARD_LWIN"}},  // 0x15B Win
    {220, {0x5C, 0x0069, 0x5C, 0xE7, "IDS_KEYBOARD_RWIN"}},  // 0x15C Right Win
    {221, {0x5D, 0x0061, 0x5D, 0x65, "IDS_KEYBOARD_APP"}},  // 0x15D App
    {222, {0xFF, 0x8001, 0xFF, 0x81, "IDS_KEYBOARD_POWER"}},  // 0x15E Power
    {223, {0x5F, 0x8002, 0x5F, 0x82, "IDS_KEYBOARD_SLEEP"}},  // 0x15F Sleep
    {225, {0xD1, 0x006D, 0xD1, 0xF4, "IDS_KEYBOARD_ROLL_UP"}},  // 0x161 Roll Up
    {226, {0xD2, 0x006E, 0xD2, 0xF5, "IDS_KEYBOARD_ROLL_DOWN"}},  // 0x162 Roll Down
    {227, {0xFF, 0x8003, 0xFF, 0x83, "IDS_KEYBOARD_WAKE"}},  // 0x163 Wake
    {229, {0xAA, 0x802C, 0xAA, 0xC6, "MEDIA_WWW_SEARCH_15"}},  // 0x165 WWW Search
    {230, {0xAB, 0x802B, 0xAB, 0xCC, "MEDIA_WWW_FAVORITE_14"}},  // 0x166 WWW Favorite
    {231, {0xA8, 0x8027, 0xA8, 0xCB, "MEDIA_WWW_REFRESH_10"}},  // 0x167 WWW Refresh
    {232, {0xA9, 0x8028, 0xA9, 0xCA, "MEDIA_WWW_STOP_11"}},  // 0x168 WWW Stop
    {233, {0xA7, 0x802A, 0xA7, 0xC9, "MEDIA_WWW_FORWARD_13"}},  // 0x169 WWW Forward
    {234, {0xA6, 0x8029, 0xA6, 0xC8, "MEDIA_WWW_BACK_12"}},  // 0x16A WWW Back
    {235, {0xB6, 0x801B, 0xB6, 0xC5, "MEDIA_MY_PC_16"}},  // 0x16B My PC
    {236, {0xB4, 0x801D, 0xB4, 0xC3, "MEDIA_MAIL_18"}},  // 0x16C Mail
    {237, {0xB5, 0x801E, 0xB5, 0xC2, "MEDIA_PALYER_1"}},  // 0x16D Media Player
    {238, {0x88, 0x8005, 0x88, 0x00, "IDS_KEYBOARD_MOU_PANLEFT"}},  // 0x16E Pan Left
    {239, {0x89, 0x8006, 0x89, 0x00, "IDS_KEYBOARD_MOU_PANRIGHT"}},  // 0x16F Pan Right
    {240, {0x8A, 0x8004, 0x8A, 0x00, "IDS_KEYBOARD_MOU_DBCLICK"}},  // 0x170 Double Click
    {241, {0x01, 0x006A, 0x01, 0xF1, "IDS_KEYBOARD_MOU_LEFT"}},  // 0x171 Left Button
    {242, {0x02, 0x006B, 0x02, 0xF2, "IDS_KEYBOARD_MOU_RIGHT"}},  // 0x172 Right Button
    {243, {0x04, 0x006C, 0x04, 0xF3, "IDS_KEYBOARD_MOU_MIDDLE"}},  // 0x173 Middle Button
    {244, {0x8B, 0x8007, 0x8B, 0xD2, "IDS_KEYBOARD_FUNC_ZOOMOUT"}},  // 0x174 Zoom-
    {245, {0x8C, 0x8008, 0x8C, 0xD3, "IDS_KEYBOARD_FUNC_ZOOMIN"}},  // 0x175 Zoom+
    {246, {0x97, 0x8009, 0x97, 0x00, "IDS_KEYBOARD_FUNC_COPY"}},  // 0x176 Copy
    {247, {0x98, 0x800A, 0x98, 0x00, "IDS_KEYBOARD_FUNC_CUT"}},  // 0x177 Cut
    {248, {0x99, 0x800B, 0x99, 0x00, "IDS_KEYBOARD_FUNC_PASTE"}},  // 0x178 Paste
    {249, {0x9A, 0x800C, 0x9A, 0x00, "IDS_KEYBOARD_FUNC_MINI"}},  // 0x179 Minimize
    {250, {0x9B, 0x800D, 0x9B, 0x00, "IDS_KEYBOARD_FUNC_MAXI"}},  // 0x17A Maximize
    {251, {0x9C, 0x800E, 0x9C, 0xD4, "IDS_KEYBOARD_FUNC_WORD"}},  // 0x17B Word
    {252, {0x9D, 0x800F, 0x9D, 0xD5, "IDS_KEYBOARD_FUNC_EXCEL"}},  // 0x17C Excel
    {253, {0x9E, 0x8010, 0x9E, 0x00, "IDS_KEYBOARD_FUNC_POWERPOINT"}},  // 0x17D PowerPoint
    {254, {0x9F, 0x8011, 0x9F, 0x00, "IDS_KEYBOARD_FUNC_CALENDAR"}},  // 0x17E Calendar
};

constexpr std::array<KeyTableEntry, kKeyTableRows> buildKeyTable() {
    std::array<KeyTableEntry, kKeyTableRows> table{};
    for (auto& e : table) e = KeyTableEntry{0, kEmptyCode16, 0, 0, ""};
    for (const auto& r : kRows) table[size_t(r.row)] = r.entry;
    return table;
}

constexpr std::array<KeyTableEntry, kKeyTableRows> kKeyTable = buildKeyTable();

struct VirtualKeyPair {
    uint8_t virtualKey;
    uint16_t keyId;
};

// Virtual-key code -> key id. Codes 0x9C and 0x9D lead to the empty rows 212 and 213.
constexpr VirtualKeyPair kVirtualKeys[] = {
    {0x03, 0x146}, {0x08, 0x00E}, {0x09, 0x00F}, {0x0D, 0x01C}, {0x10, 0x02A}, {0x11, 0x01D},
    {0x12, 0x038}, {0x13, 0x045}, {0x14, 0x03A}, {0x1B, 0x001}, {0x20, 0x039}, {0x21, 0x149},
    {0x22, 0x151}, {0x23, 0x14F}, {0x24, 0x147}, {0x25, 0x14B}, {0x26, 0x148}, {0x27, 0x14D},
    {0x28, 0x150}, {0x2C, 0x137}, {0x2D, 0x152}, {0x2E, 0x153},
    // digits 0..9
    {0x30, 0x00B}, {0x31, 0x002}, {0x32, 0x003}, {0x33, 0x004}, {0x34, 0x005}, {0x35, 0x006},
    {0x36, 0x007}, {0x37, 0x008}, {0x38, 0x009}, {0x39, 0x00A},
    // letters A..Z
    {0x41, 0x01E}, {0x42, 0x030}, {0x43, 0x02E}, {0x44, 0x020}, {0x45, 0x012}, {0x46, 0x021},
    {0x47, 0x022}, {0x48, 0x023}, {0x49, 0x017}, {0x4A, 0x024}, {0x4B, 0x025}, {0x4C, 0x026},
    {0x4D, 0x032}, {0x4E, 0x031}, {0x4F, 0x018}, {0x50, 0x019}, {0x51, 0x010}, {0x52, 0x013},
    {0x53, 0x01F}, {0x54, 0x014}, {0x55, 0x016}, {0x56, 0x02F}, {0x57, 0x011}, {0x58, 0x02D},
    {0x59, 0x015}, {0x5A, 0x02C},
    {0x5B, 0x15B}, {0x5C, 0x15C}, {0x5D, 0x15D}, {0x5F, 0x15F},
    // Num 0..Num 9
    {0x60, 0x052}, {0x61, 0x04F}, {0x62, 0x050}, {0x63, 0x051}, {0x64, 0x04B}, {0x65, 0x04C},
    {0x66, 0x04D}, {0x67, 0x047}, {0x68, 0x048}, {0x69, 0x049},
    {0x6A, 0x037}, {0x6B, 0x04E}, {0x6D, 0x04A}, {0x6E, 0x053}, {0x6F, 0x135},
    // F1..F13
    {0x70, 0x03B}, {0x71, 0x03C}, {0x72, 0x03D}, {0x73, 0x03E}, {0x74, 0x03F}, {0x75, 0x040},
    {0x76, 0x041}, {0x77, 0x042}, {0x78, 0x043}, {0x79, 0x044}, {0x7A, 0x057}, {0x7B, 0x058},
    {0x7C, 0x064},
    {0x8B, 0x152}, {0x8C, 0x153}, {0x90, 0x145}, {0x91, 0x046}, {0x9C, 0x154}, {0x9D, 0x155},
    {0xA0, 0x02A}, {0xA1, 0x036}, {0xA2, 0x01D}, {0xA3, 0x11D}, {0xA4, 0x038}, {0xA5, 0x138},
    {0xA6, 0x16A}, {0xA7, 0x169}, {0xA8, 0x167}, {0xA9, 0x168}, {0xAA, 0x165}, {0xAB, 0x166},
    {0xAC, 0x132}, {0xAD, 0x120}, {0xAE, 0x12E}, {0xAF, 0x130}, {0xB0, 0x119}, {0xB1, 0x110},
    {0xB2, 0x124}, {0xB3, 0x122}, {0xB4, 0x16C}, {0xB5, 0x16D}, {0xB6, 0x16B}, {0xB7, 0x121},
    {0xBA, 0x027}, {0xBB, 0x00D}, {0xBC, 0x033}, {0xBD, 0x00C}, {0xBE, 0x034}, {0xBF, 0x035},
    {0xC0, 0x029}, {0xC1, 0x073}, {0xC2, 0x07E}, {0xD1, 0x161}, {0xD2, 0x162}, {0xDB, 0x01A},
    {0xDC, 0x02B}, {0xDD, 0x01B}, {0xDE, 0x028}, {0xE2, 0x056}, {0xE9, 0x071}, {0xEB, 0x07B},
};

constexpr int rowOf(uint32_t keyId) {
    if (keyId < 0x100) return int(keyId);
    if (keyId < 0x200) return int((keyId - 128) & 0xFF);
    return -1;
}

// VirtualKeyMap: the key table row of each virtual-key code, 0 = none.
constexpr std::array<uint8_t, 256> buildVirtualKeyMap() {
    std::array<uint8_t, 256> map{};
    for (const auto& p : kVirtualKeys) map[p.virtualKey] = uint8_t(rowOf(p.keyId));
    return map;
}

constexpr std::array<uint8_t, 256> kVirtualKeyMap = buildVirtualKeyMap();

// The main window's matrix keys in its key order: control id, key id, LED index.
constexpr KeyButton kKeyButtons[kKeyButtonCount] = {
    {1058, 0x01E,  64},  //   0 A
    {1075, 0x030,  90},  //   1 B
    {1073, 0x02E,  88},  //   2 C
    {1060, 0x020,  66},  //   3 D
    {1046, 0x012,  45},  //   4 E
    {1061, 0x021,  67},  //   5 F
    {1062, 0x022,  68},  //   6 G
    {1063, 0x023,  69},  //   7 H
    {1051, 0x017,  50},  //   8 I
    {1064, 0x024,  70},  //   9 J
    {1065, 0x025,  71},  //  10 K
    {1066, 0x026,  72},  //  11 L
    {1077, 0x032,  92},  //  12 M
    {1076, 0x031,  91},  //  13 N
    {1052, 0x018,  51},  //  14 O
    {1053, 0x019,  52},  //  15 P
    {1044, 0x010,  43},  //  16 Q
    {1047, 0x013,  46},  //  17 R
    {1059, 0x01F,  65},  //  18 S
    {1048, 0x014,  47},  //  19 T
    {1050, 0x016,  49},  //  20 U
    {1074, 0x02F,  89},  //  21 V
    {1045, 0x011,  44},  //  22 W
    {1072, 0x02D,  87},  //  23 X
    {1049, 0x015,  48},  //  24 Y
    {1071, 0x02C,  86},  //  25 Z
    {1030, 0x002,  22},  //  26 1
    {1031, 0x003,  23},  //  27 2
    {1032, 0x004,  24},  //  28 3
    {1033, 0x005,  25},  //  29 4
    {1034, 0x006,  26},  //  30 5
    {1035, 0x007,  27},  //  31 6
    {1036, 0x008,  28},  //  32 7
    {1037, 0x009,  29},  //  33 8
    {1038, 0x00A,  30},  //  34 9
    {1039, 0x00B,  31},  //  35 0
    {1070, 0x01C,  76},  //  36 Enter
    {1022, 0x001,  21},  //  37 Esc
    {1043, 0x00E,  34},  //  38 Backspace
    {1056, 0x00F,  42},  //  39 Tab
    {1090, 0x039, 111},  //  40 Space
    {1040, 0x00C,  32},  //  41 -
    {1041, 0x00D,  33},  //  42 =
    {1054, 0x01A,  53},  //  43 [
    {1055, 0x01B,  54},  //  44 ]
    {1042, 0x02B,  55},  //  45 Backslash
    {1067, 0x027,  73},  //  46 ;
    {1068, 0x028,  74},  //  47 '
    {1029, 0x029,   0},  //  48 Grave accent
    {1078, 0x033,  93},  //  49 ,
    {1079, 0x034,  94},  //  50 .
    {1080, 0x035,  95},  //  51 /
    {1010, 0x03B,   2},  //  52 F1
    {1011, 0x03C,   3},  //  53 F2
    {1012, 0x03D,   4},  //  54 F3
    {1013, 0x03E,   5},  //  55 F4
    {1014, 0x03F,   6},  //  56 F5
    {1015, 0x040,   7},  //  57 F6
    {1023, 0x041,   8},  //  58 F7
    {1024, 0x042,   9},  //  59 F8
    {1025, 0x043,  10},  //  60 F9
    {1026, 0x044,  11},  //  61 F10
    {1027, 0x057,  12},  //  62 F11
    {1028, 0x058,  13},  //  63 F12
    {1091, 0x137,  14},  //  64 Print Screen
    {1093, 0x045,  16},  //  65 Pause
    {1094, 0x152,  35},  //  66 Insert
    {1097, 0x153,  56},  //  67 Delete
    {1095, 0x147,  36},  //  68 Home
    {1098, 0x14F,  57},  //  69 End
    {1096, 0x149,  37},  //  70 Page Up
    {1099, 0x151,  58},  //  71 Page Down
    {1103, 0x148,  99},  //  72 Up
    {1101, 0x150, 120},  //  73 Down
    {1100, 0x14B, 119},  //  74 Left
    {1102, 0x14D, 121},  //  75 Right
    {1092, 0x046,  15},  //  76 Scroll Lock
    {1069, 0x03A,  63},  //  77 Caps Lock
    {1088, 0x15D, 117},  //  78 App
    {1083, 0x01D, 105},  //  79 Ctrl
    {1089, 0x11D, 118},  //  80 Right Ctrl
    {1082, 0x02A,  84},  //  81 Shift
    {1081, 0x036,  97},  //  82 Right Shift
    {1085, 0x038, 107},  //  83 Alt
    {1086, 0x138, 115},  //  84 Right Alt
    {1084, 0x15B, 106},  //  85 Win
    {1087, 0x15C, 112},  //  86 Right Win
    {1115, 0x04F, 101},  //  87 Num 1
    {1116, 0x050, 102},  //  88 Num 2
    {1117, 0x051, 103},  //  89 Num 3
    {1112, 0x04B,  80},  //  90 Num 4
    {1113, 0x04C,  81},  //  91 Num 5
    {1114, 0x04D,  82},  //  92 Num 6
    {1108, 0x047,  59},  //  93 Num 7
    {1109, 0x048,  60},  //  94 Num 8
    {1110, 0x049,  61},  //  95 Num 9
    {1120, 0x052, 123},  //  96 Num 0
    {1104, 0x145,  38},  //  97 Num Lock
    {1118, 0x11C, 104},  //  98 Num Enter
    {1119, 0x053, 124},  //  99 Num .
    {1105, 0x135,  39},  // 100 Num /
    {1106, 0x037,  40},  // 101 Num *
    {1107, 0x04A,  41},  // 102 Num -
    {1111, 0x04E,  62},  // 103 Num +
    {1199, 0x056,  85},  // 104 K45
    {1200, 0x073,  96},  // 105 K56
};

const KeyButton* buttonOfControl(int controlId) {
    for (const auto& b : kKeyButtons)
        if (b.controlId == controlId) return &b;
    return nullptr;
}

// Length of the UTF-8 sequence that starts with `lead`; 1 for a stray byte.
size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Largest prefix of `text` of at most `maxBytes` bytes that ends at a character boundary.
size_t boundaryPrefix(std::string_view text, size_t maxBytes) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t len = std::min(sequenceLength((unsigned char)text[pos]), text.size() - pos);
        if (pos + len > maxBytes) break;
        pos += len;
    }
    return pos;
}

}  // namespace

const std::array<KeyTableEntry, kKeyTableRows>& keyTable() { return kKeyTable; }

int keyTableRow(uint32_t keyId) { return rowOf(keyId); }

uint16_t keyIdOfRow(int row) {
    if (row < 0 || row >= kKeyTableRows) return 0;
    return uint16_t(row < 128 ? row : row + 128);
}

const KeyTableEntry* keyEntry(uint32_t keyId) {
    int row = rowOf(keyId);
    return row < 0 ? nullptr : &kKeyTable[size_t(row)];
}

uint16_t keyIdOfCode16(uint16_t code) {
    for (int row = 0; row < kKeyTableRows; ++row)
        if (kKeyTable[size_t(row)].keyCode16 == code) return keyIdOfRow(row);
    return 0;
}

uint16_t code16OfKey(uint32_t keyId) {
    const KeyTableEntry* e = keyEntry(keyId);
    return e ? e->keyCode16 : kEmptyCode16;
}

std::string keyDisplayName(uint32_t keyId, const LangLookup& lang) {
    const KeyTableEntry* e = keyEntry(keyId);
    std::string name;
    if (e && *e->langKey && lang) name = lang(e->langKey);
    if (name.empty()) {
        // The fallback text comes from the language file: it is filled in, never used as a format.
        std::string unknown = lang ? lang("UNKNOWN_KEY") : std::string();
        name = SafeFormatNumber(unknown, keyId & 0xFFFF);
    }
    return name;
}

size_t keyDisplayName(uint32_t keyId, const LangLookup& lang, char* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return 0;
    std::string name = keyDisplayName(keyId, lang);
    size_t n = boundaryPrefix(name, capacity - 1);
    std::copy_n(name.data(), n, buffer);
    buffer[n] = '\0';
    return n;
}

std::string code16DisplayName(uint16_t code, const LangLookup& lang) {
    for (const auto& e : kKeyTable) {
        if (e.keyCode16 != code) continue;
        if (!*e.langKey || !lang) return {};
        return lang(e.langKey);
    }
    return {};
}

uint16_t keyIdOfVirtualKey(uint32_t virtualKey) {
    if (virtualKey >= kVirtualKeyMap.size()) return 0;
    uint8_t row = kVirtualKeyMap[virtualKey];
    return row == 0 ? 0 : keyIdOfRow(row);
}

std::span<const KeyButton, kKeyButtonCount> keyButtons() {
    return std::span<const KeyButton, kKeyButtonCount>(kKeyButtons);
}

int ledIndexOfControl(int controlId) {
    const KeyButton* b = buttonOfControl(controlId);
    return b ? b->ledIndex : 0;
}

int gKeyNumberOfControl(int controlId) {
    for (int i = 0; i < kGKeyCount; ++i)
        if (kGKeyControls[size_t(i)] == controlId) return i + 1;
    return 0;
}

int gKeyLedIndex(int controlId) { return gKeyNumberOfControl(controlId) ? kGKeyLedIndex : 0; }

uint16_t keyIdOfControl(int controlId) {
    if (const KeyButton* b = buttonOfControl(controlId)) return b->keyId;
    int n = gKeyNumberOfControl(controlId);
    return n ? uint16_t(kFirstGKeyId + n - 1) : 0;
}

int controlOfKeyId(uint32_t keyId) {
    for (const auto& b : kKeyButtons)
        if (b.keyId == keyId) return b.controlId;
    if (keyId >= kFirstGKeyId && keyId < kFirstGKeyId + kGKeyCount)
        return kGKeyControls[keyId - kFirstGKeyId];
    return 0;
}

std::string keySkinName(uint32_t keyId) {
    int row = rowOf(keyId);
    return row < 0 ? std::string() : SafeFormatNumber("KEY_%03X", row);
}

std::string gKeySkinName(int gKeyNumber) { return SafeFormatNumber("FUNC_G%d", gKeyNumber); }

std::string skinNameOfControl(int controlId) {
    if (const KeyButton* b = buttonOfControl(controlId)) return keySkinName(b->keyId);
    if (int n = gKeyNumberOfControl(controlId)) return gKeySkinName(n);
    if (controlId == kFnControl) return std::string(kFnSkinName);
    return {};
}

void truncateToUtf16Units(std::string& text, size_t maxUnits) {
    size_t units = 0, pos = 0;
    while (pos < text.size()) {
        size_t len = std::min(sequenceLength((unsigned char)text[pos]), text.size() - pos);
        size_t need = len == 4 ? 2 : 1;  // characters beyond the BMP take a surrogate pair
        if (units + need > maxUnits) break;
        units += need;
        pos += len;
    }
    text.resize(pos);
}

}  // namespace tarnel
