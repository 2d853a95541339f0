#pragma once

#include <QStringList>

namespace tarvok::cli {

// Whether the program was started for its command line rather than its window: with an
// option of its own ("--check", "--help", ...). Qt's own options ("-platform") and plain
// paths go to the window.
bool wanted(int argc, const char* const* argv);

// The command line, for the arguments after the program's name; returns the exit status.
// A command is a switch, its files are positional arguments, and options may stand in any
// order; an option's value is given as "--format json" or "--format=json".
//   tarvok --check FILE [--rules PATH | --no-rules] [--format text|json]
// checks FILE as the check window does, with the mod's rules file found as the window finds
// it, and prints each problem: "FILE:LINE: 错误: text" (or 提示), or one JSON array. The
// counts are the last line on standard error. Exit status 1 when there is an error, 0 when
// not, 2 when anything it should read is there and cannot be read (FILE, a file FILE
// includes, the rules file, a file the rules file includes, a string table), FILE holds no AI
// section, the named rules file is missing, the output cannot be written or the arguments
// are wrong; the reason, in Chinese, on standard error. It needs no display and writes no
// file.
int run(const QStringList& arguments);

} // namespace tarvok::cli
