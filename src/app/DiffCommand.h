#pragma once

#include <QString>
#include <QTextStream>

namespace tarvok::cli {

enum class DiffFormat { Text, Json };

// tarvok --diff A B [--format text|json]: compares the AI file A (the old one) with B (the
// new one) record by record, each read as the window reads it with the files it includes
// (a missing one is named on err and read as absent), and prints the differences on out:
// one line per difference, or one JSON array of records. An empty file, or one without AI
// sections, has no records. Returns 0 when the files are the same, 1 when they differ and
// 2 when A or B cannot be read (the reason on err), as diff(1) does.
int runDiff(const QString& oldPath, const QString& newPath, DiffFormat format, QTextStream& out,
            QTextStream& err);

} // namespace tarvok::cli
