#include "game/spatial_index.h"

#include <algorithm>
#include <cmath>

#include "game/unit.h"

// Cells of 4: wide enough that a target search (up to 9.0) spans a handful of them, small enough that a
// push strip (a few units long) touches one to four.
SpatialIndex::SpatialIndex(const std::vector<Unit*>* units_)
    : filtering(true), cellSize(4.0f), activeCellSize(4.0f), units(units_), columns(1), cells(2) {}

void SpatialIndex::rebuild(int mapSize) {
    float size = cellSize >= 0.25f ? cellSize : 0.25f;
    int wanted = mapSize > 0 ? std::min((int)((float)mapSize / size) + 1, 1024) : 1;
    if (wanted != columns || size != activeCellSize) {
        columns = wanted;
        activeCellSize = size;
        cells.assign((size_t)columns * columns + 1, std::vector<int>());
    } else {
        for (size_t c = 0; c < cells.size(); ++c) {
            cells[c].clear();
        }
    }
    cellOfSlot.clear();
    for (size_t i = 0; i < units->size(); ++i) {
        moved((int)i, (*units)[i]->position);
    }
}

void SpatialIndex::moved(int slot, const float* position) {
    if (slot < 0 || slot > (int)cellOfSlot.size()) {
        return;
    }
    int cell = cellAt(position);
    if (slot == (int)cellOfSlot.size()) {
        cellOfSlot.push_back(cell);
        cells[cell].push_back(slot);
        return;
    }
    int old = cellOfSlot[slot];
    if (old == cell) {
        return;
    }
    std::vector<int>& from = cells[old];
    *std::find(from.begin(), from.end(), slot) = from.back();
    from.pop_back();
    cells[cell].push_back(slot);
    cellOfSlot[slot] = cell;
}

void SpatialIndex::query(float x0, float y0, float x1, float y1, int first, std::vector<int>& out) const {
    out.clear();
    // Distances from a point that is not finite can compare as near to anything.
    if (!filtering || !std::isfinite(x0 + y0 + x1 + y1)) {
        for (int s = first; s < (int)units->size(); ++s) {
            out.push_back(s);
        }
        return;
    }
    int column0 = cellCoordinate(x0);
    int column1 = cellCoordinate(x1);
    int row1 = cellCoordinate(y1);
    for (int row = cellCoordinate(y0); row <= row1; ++row) {
        for (int column = column0; column <= column1; ++column) {
            take(cells[(size_t)row * columns + column], first, out);
        }
    }
    take(cells.back(), first, out);
    std::sort(out.begin(), out.end());
}

// Monotonic in v, so every point inside a query rectangle lies in a cell the query walks.
int SpatialIndex::cellCoordinate(float v) const {
    if (!(v > 0.0f)) {
        return 0;
    }
    float c = v / activeCellSize;
    return c >= (float)(columns - 1) ? columns - 1 : (int)c;
}

// Units off every finite point share the last cell, which every query walks.
int SpatialIndex::cellAt(const float* position) const {
    if (!std::isfinite(position[0] + position[1])) {
        return (int)cells.size() - 1;
    }
    return cellCoordinate(position[1]) * columns + cellCoordinate(position[0]);
}

void SpatialIndex::take(const std::vector<int>& cell, int first, std::vector<int>& out) {
    for (size_t k = 0; k < cell.size(); ++k) {
        if (cell[k] >= first) {
            out.push_back(cell[k]);
        }
    }
}
