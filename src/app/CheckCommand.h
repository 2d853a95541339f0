#pragma once

#include <QStringList>

namespace tarvok::cli {

// Whether the program was started for its command line rather than its window: with an
// option of its own ("--check", "--help", ...). Qt's own options ("-platform") go to the
// window.
bool wanted(int argc, const char* const* argv);

// The command line, for the arguments after the program's name; returns the exit status.
//   tarvok --check FILE [--rules PATH | --no-rules] [--format=json]
// checks FILE as the check window does, with the mod's rules file found as the window finds
// it, and prints each problem: "FILE:LINE: 错误: text" (or 提示), or one JSON array. The
// counts are the last line on standard error. Exit status 1 when there is an error, 0 when
// not, 2 when FILE cannot be read, holds no AI section, the named rules file cannot be
// read or the arguments are wrong. It needs no display and writes no file.
int run(const QStringList& arguments);

} // namespace tarvok::cli
