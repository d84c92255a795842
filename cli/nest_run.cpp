#include "cli/nest_run.h"

#include "check/collect.h"
#include "cli/engine_problem.h"
#include "cli/progress.h"
#include "varnest/engine/varnest2d.h"

namespace varnest::cli {

namespace {

struct RunContext {
  TVarnest2D* engine;
  ProgressLine* progress;
  Layout* layout;
  const std::function<bool()>* stopWhen;
};

RunContext& Context(void* data) { return *static_cast<RunContext*>(data); }

void StopIfAsked(const RunContext& c) {
  if (InterruptHandler::StopRequested() || (*c.stopWhen && (*c.stopWhen)()))
    c.engine->RequestStop();
}

void OnSearchStart(void* data) {
  RunContext& c = Context(data);
  c.progress->Start();
  StopIfAsked(c);
}

void OnIteration(void* data) {
  RunContext& c = Context(data);
  c.progress->Iteration(*c.engine);
  StopIfAsked(c);
}

void OnFinish(void* data) {
  RunContext& c = Context(data);
  c.progress->Finish();
  const TVarnest2D& engine = *c.engine;
  Layout& layout = *c.layout;
  layout.sheets = check::CollectSheets(engine);
  engine.GetOptimizationTime(layout.optimizationTime);
  engine.GetErrorInfo(layout.errorCode, layout.errorIndex, layout.errorSubIndex);
  engine.GetTotalNumberOfUtilizedDemandPieces(layout.placedParts);
}

}  // namespace

Layout RunProblem(const Problem& problem, const RunSettings& settings) {
  Layout layout;
  layout.problemName = problem.name;
  layout.parameters = problem.parameters.Resolved();
  layout.partOverrides = problem.partOverrides;
  layout.parts = static_cast<int32_t>(ExpandParts(problem).size());

  TVarnest2D engine;
  ApplyParameters(engine, layout.parameters);
  DefineProblem(engine, problem);

  ProgressLine progress(settings.progress);
  RunContext context{&engine, &progress, &layout, &settings.stopWhen};
  engine.OnSearchStart = OnSearchStart;
  engine.OnSearchStartData = &context;
  engine.OnIteration = OnIteration;
  engine.OnIterationData = &context;
  engine.OnFinish = OnFinish;
  engine.OnFinishData = &context;

  const InterruptHandler interrupts;
  engine.Execute();
  progress.Finish();
  layout.stopped = InterruptHandler::StopRequested();
  return layout;
}

}  // namespace varnest::cli
