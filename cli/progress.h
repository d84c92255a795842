#pragma once
// What a run shows and hears while the engine works: a progress line on
// standard error, and Ctrl-C. The first Ctrl-C asks the engine to stop after
// the layout it is evaluating (the run then reports the best layout so far);
// a second one ends the program at once.

#include <chrono>
#include <cstdint>

#include "varnest/engine/varnest2d.h"

namespace varnest::cli {

// Installs the SIGINT handler for its lifetime and restores the previous one.
// Handlers nest: a command that makes several runs holds one for the whole
// series, and a Ctrl-C between two runs is still seen by the next one,
// because only the outermost handler starts with a clear flag.
class InterruptHandler {
 public:
  InterruptHandler();
  ~InterruptHandler();
  InterruptHandler(const InterruptHandler&) = delete;
  InterruptHandler& operator=(const InterruptHandler&) = delete;

  // True once Ctrl-C has been pressed during the outermost handler's lifetime. Only a
  // flag is set in the signal handler; the engine's callbacks read it and
  // call RequestStop on the engine's own thread.
  static bool StopRequested();
};

// One updating line: evaluated layouts, the sheet being filled, elapsed time.
class ProgressLine {
 public:
  explicit ProgressLine(bool enabled) : FEnabled(enabled) {}
  void Start();
  void Iteration(const TVarnest2D& engine);
  // Clears the line.
  void Finish();

 private:
  void Draw(const TVarnest2D& engine);

  bool FEnabled;
  bool FDrawn = false;
  int64_t FEvaluated = 0;
  int32_t FSheetsDone = 0;
  std::chrono::steady_clock::time_point FStart{};
  std::chrono::steady_clock::time_point FLastDraw{};
};

}  // namespace varnest::cli
