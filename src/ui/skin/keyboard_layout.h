// The on-screen keyboard: where each key button sits, in quarter key units, and the grid of
// 6 rows x 23 columns of key buttons that the lighting preview walks. The default skin draws its
// keyboard picture from this table and the lighting panel walks the same grid, so what the
// preview animates column by column is what the user sees. No Qt here.
#pragma once
#include <array>
#include <span>

namespace tarnel {

struct KeyCap {
    int controlId;       // the key button's control (matrix key, G-key or Fn)
    int row;             // 0 = function row .. 5 = bottom row; -1 = the G-key strip above
    int x4;              // left edge in quarter units from the keyboard's left edge
    int w4;              // width in quarter units (4 = one ordinary key)
    int rows;            // height in rows (2 for Num + and Num Enter)
    const char* legend;  // what the key is labelled with (UTF-8)
};

// The 106 matrix keys, then G1..G9, then Fn.
std::span<const KeyCap> keyboardLayout();

inline constexpr int kKeyGridRows = 6;
inline constexpr int kKeyGridCols = 23;

// The grid column of a matrix key: the quarter-unit column its centre falls in, counted in whole
// units (the main block fills columns 0-14, the navigation keys 15-17, the keypad 19-22).
constexpr int keyGridColumn(const KeyCap& k) { return (2 * k.x4 + k.w4) / 8; }

// Control id of the matrix key button in a grid cell; 0 for an empty cell or a cell outside the
// grid.
int keyGridControl(int row, int column);

}  // namespace tarnel
