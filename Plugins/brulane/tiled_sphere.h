// Two unit spheres of quad tiles about the z axis, each one quad batch.
#pragma once

// Animation phases of the raised sphere: 0 at load, advanced by every call
// of DrawTiledSphere and never reset.
extern float g_tilePhaseA;
extern float g_tilePhaseB;

// 18 x 36 tiles of 10 degrees whose tops rise and sink in a moving
// checkerboard; continues the phases of the call before.
void DrawTiledSphere();

// 12 x 24 flat tiles of 15 degrees; keeps no state.
void DrawFlatTiledSphere();
