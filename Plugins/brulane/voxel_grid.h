// The 32 x 32 x 32 field of the voxel box, indexed [i][j][k] with k
// fastest. Interior cells have every index in 1..30; the border cells are
// only ever read and stay 0, a zero boundary for the blur.
#pragma once

constexpr int kVoxelGridSize = 32;

// Zero at load; nothing ever clears it, so it carries over across Init,
// events and gaps in the timeline.
extern float g_voxelGrid[kVoxelGridSize][kVoxelGridSize][kVoxelGridSize];

// Assigns 64 to cell (i, j, k) and 32 to its six face neighbours. The
// indices lie in 6..26, so no stamp reaches the border.
void StampVoxelSource(int i, int j, int k);

// One in-place pass over the interior: every cell becomes the mean of its
// 3 x 3 x 3 block times 0.55. Cells visited earlier in the pass (smaller i,
// then j, then k) contribute their new values.
void DiffuseGrid();
