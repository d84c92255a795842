// Placeholder translation unit until the grids land.
