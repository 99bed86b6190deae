#pragma once
// Campo: the settled cells of the well, 16 columns by 32 rows, indexed
// (column, row) from 1. Row 32 is the floor. A cell holds 0 when empty or the
// picture index 1..7 of the block that settled there.

#include <array>
#include <cassert>
#include <cstdint>

namespace tumblara {

class Well {
public:
    static constexpr int kColumns = 16;
    static constexpr int kRows = 32;
    static constexpr int kFloorRow = 32;

    static constexpr bool Contains(int column, int row) {
        return column >= 1 && column <= kColumns && row >= 1 && row <= kRows;
    }

    std::uint8_t& operator()(int column, int row) {
        assert(Contains(column, row));
        return cells_[Index(column, row)];
    }
    std::uint8_t operator()(int column, int row) const {
        assert(Contains(column, row));
        return cells_[Index(column, row)];
    }

    // Every cell empty, then the floor row set to `floorMarker` (non-zero).
    void Reset(std::uint8_t floorMarker) {
        cells_.fill(0);
        for (int c = 1; c <= kColumns; ++c) (*this)(c, kFloorRow) = floorMarker;
    }

    bool RowFull(int row) const {
        for (int c = 1; c <= kColumns; ++c)
            if ((*this)(c, row) == 0) return false;
        return true;
    }

    bool operator==(const Well&) const = default;

private:
    static constexpr std::size_t Index(int column, int row) {
        return static_cast<std::size_t>((row - 1) * kColumns + (column - 1));
    }
    std::array<std::uint8_t, kColumns * kRows> cells_{};
};

}  // namespace tumblara
