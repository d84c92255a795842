// varnest: the command-line face of the engine.
#include <cstdio>

#include "engine/varnest2d.h"

int main() {
  varnest::TVarnest2D engine;
  wchar_t version[40] = {};
  engine.GetVersion(version);
  std::printf("Varnest %ls\n", version);
  std::printf("  resolution          %g\n", engine.get_Resolution());
  std::printf("  precision           %g\n", engine.get_Precision());
  std::printf("  cutter diameter     %g\n", engine.get_CutterDiameter());
  std::printf("  cutter type         %d\n", engine.get_CutterType());
  std::printf("  rotation centre     %d\n", engine.get_RotationCenter());
  std::printf("  random seed         %d\n", engine.get_RandomSeed());
  std::printf("  optimisation level  %d\n", engine.get_OptimizationLevel());
  std::printf("  starting corner     %d\n", engine.get_OptimizationStartingCorner());
  std::printf("  starting direction  %d\n", engine.get_OptimizationStartingDirection());
  return 0;
}
