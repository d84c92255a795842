#include "cli/progress.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace varnest::cli {

namespace {

volatile std::sig_atomic_t gInterrupts = 0;
int gHandlerDepth = 0;  // live InterruptHandlers; only the outermost installs and restores
struct sigaction gPrevious {};

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr char kStopping[] =
    "\nvarnest: stopping after the current layout (Ctrl-C again to quit at once)\n";

extern "C" void OnInterrupt(int) {
  if (gInterrupts != 0) _exit(130);  // the conventional status of death by SIGINT
  gInterrupts = 1;
  const ssize_t ignored = ::write(STDERR_FILENO, kStopping, sizeof kStopping - 1);
  (void)ignored;
}

}  // namespace

InterruptHandler::InterruptHandler() {
  if (gHandlerDepth++ > 0) return;
  gInterrupts = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, &gPrevious);
}

InterruptHandler::~InterruptHandler() {
  if (--gHandlerDepth > 0) return;
  sigaction(SIGINT, &gPrevious, nullptr);
}

bool InterruptHandler::StopRequested() { return gInterrupts != 0; }

void ProgressLine::Start() {
  FStart = FLastDraw = std::chrono::steady_clock::now();
  FEvaluated = 0;
  FSheetsDone = 0;
}

void ProgressLine::Iteration(const TVarnest2D& engine) {
  ++FEvaluated;
  if (!FEnabled) return;
  const auto now = std::chrono::steady_clock::now();
  if (FDrawn && now - FLastDraw < kRedrawInterval) return;
  FLastDraw = now;
  Draw(engine);
}

void ProgressLine::Draw(const TVarnest2D& engine) {
  // While the search runs only the utilisation query answers; it answers for
  // every layout committed so far, which tells the sheet being filled.
  for (;;) {
    double used = 0.0;
    int32_t stock = -1, id = 0;
    engine.GetSheetUtilization(FSheetsDone, used, stock, id);
    if (stock < 0) break;
    ++FSheetsDone;
  }
  const double seconds = std::chrono::duration<double>(FLastDraw - FStart).count();
  std::fprintf(stderr, "\r\033[Kvarnest: %lld layouts evaluated, filling sheet %d, %.1f s",
               static_cast<long long>(FEvaluated), FSheetsDone + 1, seconds);
  std::fflush(stderr);
  FDrawn = true;
}

void ProgressLine::Finish() {
  if (!FDrawn) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  FDrawn = false;
}

}  // namespace varnest::cli
