#pragma once
// The problem file (docs/problem-format.md): our own JSON of parameters,
// stocks and parts. ReadProblemFile also takes the ESICUP strip-packing
// instances (esicup.h), told apart by their "strip_height" and "items".

#include <string>

#include "cli/json_reader.h"
#include "cli/problem.h"
#include "cli/shape_json.h"

namespace varnest::cli {

inline constexpr const char* kProblemFormat = "varnest-problem";
inline constexpr int32_t kFormatVersion = 1;
// More copies than this in one list is taken for a mistake.
inline constexpr int32_t kMostCopies = 1000000;

// Throws InputError for anything the engine could not be given as it stands.
Problem ReadProblem(const Json& document, const std::string& file);
// Reads a file ("-": standard input) in either format. Notes about the
// conversion of an ESICUP instance are appended to `notes`.
Problem ReadProblemFile(const std::string& path, std::vector<std::string>& notes);

Parameters ReadParameters(const JsonNode& node);
OrderedJson WriteParameters(const Parameters& parameters);
OrderedJson WriteProblem(const Problem& problem);

}  // namespace varnest::cli
