// Feeds arbitrary bytes to the string table reader, and to the reading of a game rules
// file's type lists. Checks that neither fails, that the reader names a damaged label
// the header promised (or the first one when there is no header), and that reading the
// same file again changes nothing.
#include "catalogues/ModRules.h"
#include "catalogues/StringTable.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include <QtEndian>

#include <algorithm>

// Last: its macro would clash with names that Qt's headers use.
#include "FuzzCheck.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    StringTable table;
    const int damaged = table.read(content);
    const quint32 promised =
        content.size() >= 12 ? qFromLittleEndian<quint32>(content.data() + 8) : 0;
    check(damaged >= 0);
    check(static_cast<quint64>(damaged) <= std::max<quint64>(promised, 1));
    check(table.size() <= content.size() / 12); // a label takes at least 12 bytes

    const qsizetype labels = table.size();
    check(table.read(content) == damaged);
    check(table.size() == labels);

    const IniText text(content);
    const modrules::DeclaredTypes types = modrules::readTypes(text, TextCodec(Encoding::Gbk));
    for (const QStringList& list : types.lists)
        check(list.size() <= text.lineCount());
    return 0;
}
