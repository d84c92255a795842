// varnest: the command-line face of the engine.
//   varnest nest [PROBLEM.json] [-o LAYOUT.json] [--svg LAYOUT.svg] [flags]
//   varnest strip INSTANCE.json [--time-limit S] [-o LAYOUT.json] [--svg LAYOUT.svg] [flags]
//   varnest validate PROBLEM.json LAYOUT.json
//   varnest demo-problem

#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/demo_problem.h"
#include "cli/input_error.h"
#include "cli/json_writer.h"
#include "cli/nest_command.h"
#include "cli/output_file.h"
#include "cli/problem_format.h"
#include "cli/strip_command.h"
#include "cli/validate_command.h"
#include "varnest/engine/varnest2d.h"

namespace {

using namespace varnest::cli;

std::string EngineVersion() {
  const varnest::TVarnest2D engine;
  wchar_t text[40] = {};
  engine.GetVersion(text);
  std::string out;
  for (const wchar_t* c = text; *c != 0; ++c) out += static_cast<char>(*c);
  return out;
}

// file:line:column: at /pointer: what was wrong
void PrintInputError(const InputError& error) {
  std::string place = error.File();
  if (error.Line() > 0)
    place += ":" + std::to_string(error.Line()) + ":" + std::to_string(error.Column());
  place += ": ";
  if (!error.Pointer().empty()) {
    place += "at " + error.Pointer() + ": ";
  } else if (error.Line() == 0 && std::string(error.what()).rfind("cannot", 0) != 0) {
    place += "at the top level: ";
  }
  std::fprintf(stderr, "varnest: error: %s%s\n", place.c_str(), error.what());
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Varnest nests flat parts on stock sheets.", "varnest"};
  app.set_version_flag("--version", "varnest (engine " + EngineVersion() + ")");
  app.require_subcommand(1);

  NestOptions nest;
  ParameterFlags flags;
  CLI::App* nestCommand = app.add_subcommand("nest", "Nest a problem and write the layout");
  nest.AddTo(*nestCommand,
             "Problem file (ours or an ESICUP instance); '-' reads standard input; without one, "
             "the built-in demo problem");
  flags.AddTo(*nestCommand);

  StripOptions strip;
  ParameterFlags stripFlags;
  CLI::App* stripCommand = app.add_subcommand(
      "strip", "Find the shortest strip that holds every part of a strip-packing instance");
  strip.AddTo(*stripCommand);
  stripFlags.AddTo(*stripCommand, ParameterFlags::Start::kFixed);

  std::string problemPath, layoutPath;
  CLI::App* validateCommand = app.add_subcommand(
      "validate", "Check a layout against its problem; status 0 only when valid");
  validateCommand->add_option("problem", problemPath, "Problem file")->required();
  validateCommand->add_option("layout", layoutPath, "Layout file")->required();

  CLI::App* demoCommand =
      app.add_subcommand("demo-problem", "Print the built-in demo problem as a problem file");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitOk : kExitBadInput;
  }

  try {
    if (*nestCommand) return RunNestCommand(nest, flags);
    if (*stripCommand) return RunStripCommand(strip, stripFlags);
    if (*validateCommand) return RunValidateCommand(problemPath, layoutPath);
    if (*demoCommand) {
      std::fputs(PrettyJson(WriteProblem(DemoProblem())).c_str(), stdout);
      return kExitOk;
    }
  } catch (const InputError& error) {
    PrintInputError(error);
    return kExitBadInput;
  } catch (const OutputError& error) {
    std::fprintf(stderr, "varnest: error: %s\n", error.what());
    return kExitInvalid;
  }
  return kExitBadInput;
}
