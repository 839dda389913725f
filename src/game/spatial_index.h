#ifndef GELMARCH_GAME_SPATIAL_INDEX_H
#define GELMARCH_GAME_SPATIAL_INDEX_H

#include <vector>

class Unit;

// A uniform grid over the map that files every unit's slot (its index in the manager's `units`) under the
// cell of its ground position, so that pushing and target search only look at units near them. It only
// narrows the candidates: callers visit what a query returns in ascending slot order and still apply
// their own exact tests, so results are the same as scanning every unit.
class SpatialIndex {
public:
    // With `filtering` off, every query returns every slot from `first` on: the plain scans, kept to check
    // the grid against.
    bool filtering;
    // Side of a grid cell in map units; takes effect at the next rebuild. Any size gives the same results.
    float cellSize;

    // Indexes the given list, which outlives it.
    explicit SpatialIndex(const std::vector<Unit*>* units);
    // Files every unit of the list afresh; the grid covers [0, mapSize] on both axes (units outside it go to
    // the border cells). Needed whenever positions may have been written or slots shifted since the last use.
    void rebuild(int mapSize);
    // The unit in `slot` stands at `position` now. A slot equal to the number filed so far is a new unit.
    void moved(int slot, const float* position);
    // Replaces `out` with the slots >= first that may stand in [x0, x1] x [y0, y1], ascending. Every slot
    // inside is returned, and every unit whose position is not finite; a few others may be. Bounds that are
    // not finite return every slot from `first` on.
    void query(float x0, float y0, float x1, float y1, int first, std::vector<int>& out) const;

private:
    // Column or row of a finite coordinate, clamped onto the grid.
    int cellCoordinate(float v) const;
    int cellAt(const float* position) const;
    // Appends the slots >= first of one cell.
    static void take(const std::vector<int>& cell, int first, std::vector<int>& out);

    float activeCellSize;
    const std::vector<Unit*>* units;
    int columns;  // and as many rows; the last ones also hold whatever lies beyond the map
    std::vector<std::vector<int> > cells;  // slots per cell, row-major, unordered; then the strays' cell
    std::vector<int> cellOfSlot;
};

#endif
