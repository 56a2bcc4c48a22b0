#include "voxel_grid.h"

float g_voxelGrid[kVoxelGridSize][kVoxelGridSize][kVoxelGridSize];

void StampVoxelSource(int i, int j, int k)
{
    // Assignments, not additions: the stamp replaces what the cells held.
    g_voxelGrid[i][j][k] = 64.0f;
    g_voxelGrid[i + 1][j][k] = 32.0f;
    g_voxelGrid[i - 1][j][k] = 32.0f;
    g_voxelGrid[i][j + 1][k] = 32.0f;
    g_voxelGrid[i][j - 1][k] = 32.0f;
    g_voxelGrid[i][j][k + 1] = 32.0f;
    g_voxelGrid[i][j][k - 1] = 32.0f;
}

void DiffuseGrid()
{
    const int last = kVoxelGridSize - 2;
    for (int i = 1; i <= last; ++i) {
        for (int j = 1; j <= last; ++j) {
            for (int k = 1; k <= last; ++k) {
                float sum = 0.0f;
                for (int di = 1; di >= -1; --di)
                    for (int dj = 1; dj >= -1; --dj)
                        for (int dk = 1; dk >= -1; --dk)
                            sum += g_voxelGrid[i + di][j + dj][k + dk];
                float v = static_cast<float>(sum / 27.0);
                v = v * 0.55f;
                g_voxelGrid[i][j][k] = v;
            }
        }
    }
}
