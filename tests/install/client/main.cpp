// A client that knows nothing but the installed chief header.
#include <varnest/varnest2d.h>

#include <cstdio>
#include <cwchar>

int main() {
  varnest::TVarnest2D engine;
  wchar_t version[40] = {};
  engine.GetVersion(version);
  engine.set_NumberOfStockPieces(1);
  engine.SetStock(0, 0, 4, 0, 0, 0, 0, 0.0, 0, 7);
  const double corners[4][2] = {{0, 0}, {100, 0}, {100, 50}, {0, 50}};
  for (int i = 0; i < 4; ++i) engine.SetStockVertex(0, i, corners[i][0], corners[i][1], i);
  int type = -2, n = -1, holes = -1, priority = -1, id = -1;
  double cx = 0, cy = 0, r = 0, margin = 0;
  engine.GetStock(0, type, n, cx, cy, r, holes, margin, priority, id);
  std::printf("%ls stock kind %d with %d vertices, id %d\n", version, type, n, id);
  return (type == 0 && n == 4 && id == 7 && std::wcscmp(version, L"0.9.5.1.beta") == 0) ? 0 : 1;
}
