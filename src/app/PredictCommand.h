#pragma once

#include <QString>

#include <cstdio>

namespace tarvok::cli {

// The forecast on the command line, from values already parsed:
//   tarvok --predict FILE --state STATE.json [--rules PATH] [--format text|json]
// file: the AI file; state: the state file; rules: the game's rules file, or empty to find it
// beside the AI file as --check does; json: JSON output rather than text.
//
// Text: one line per trigger that can be picked, highest chance first ("ID 名称  概率 12.5 %
// 分量 70"), then one line per gate with the number of triggers it stopped. JSON:
// {"triggers": [...]} in file order (see forecast::toJson). Returns 0 when the forecast
// was made; 2, with the reason on err, when the AI file, the rules file or the state cannot
// be read or is invalid, or no rules file is found.
int predict(const QString& file, const QString& state, const QString& rules, bool json, FILE* out,
            FILE* err);

} // namespace tarvok::cli
