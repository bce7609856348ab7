// The shape of a Mesh: writes the position of grid point (row, col) of a
// rows x cols grid at the given time into *out. Scenes supply their own.
#pragma once

struct Vec3;

using VertexFunction = void (*)(int row, int col, int rows, int cols, Vec3* out, float time);
