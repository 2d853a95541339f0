#include "records/Registry.h"

#include <algorithm>
#include <limits>
#include <set>

namespace tarvok {
namespace {

QByteArray registryLine(long long number, QByteArrayView id) {
    QByteArray line = QByteArray::number(number);
    line += '=';
    line += id;
    return lines::trimSpaces(line).toByteArray();
}

} // namespace

RewriteRule AddRegistryEntry(QByteArray registry, QByteArray id, int count,
                             std::vector<QByteArray> block, RegistryAddition* result) {
    result->count = count;
    return [registry = std::move(registry), id = std::move(id), block = std::move(block),
            result](QByteArrayView line, LineCursor& in, LineSink& out) {
        out.write(line);
        if (!lines::isHeader(line, registry))
            return;
        ++result->headersFound;
        std::set<long long> numbers;
        bool ended = false;
        QByteArrayView terminator;
        while (!in.atEnd()) {
            const QByteArrayView l = in.next();
            if (!lines::hasEquals(l)) {
                terminator = l;
                ended = true;
                break;
            }
            numbers.insert(lines::leadingNumber(lines::before(l, '=')));
            out.write(l);
        }
        long long number = result->count;
        if (numbers.count(number))
            number = *numbers.rbegin() + 1;
        out.write(registryLine(number, id));
        out.write({});
        out.write("[" + id + "]");
        for (const QByteArray& b : block)
            out.write(b);
        if (ended)
            out.write(terminator);
        result->lastNumber = number;
        ++result->count;
    };
}

RewriteRule DeleteRegistryEntry(QByteArray registry, QByteArray id, int count,
                                RegistryDeletion* result) {
    result->count = count;
    // The section of the ID: its header and key lines are dropped, the line after
    // them is copied without being examined.
    auto sectionStep = [id](QByteArrayView line, LineCursor& in, LineSink& out) {
        if (!lines::isHeader(line, id)) {
            out.write(line);
            return;
        }
        while (!in.atEnd()) {
            const QByteArrayView l = in.next();
            if (!lines::hasEquals(l)) {
                out.write(l);
                return;
            }
        }
    };
    return [registry = std::move(registry), id = std::move(id), result,
            sectionStep](QByteArrayView line, LineCursor& in, LineSink& out) {
        if (id.isEmpty()) {
            out.write(line);
            return;
        }
        if (!lines::isHeader(line, registry)) {
            sectionStep(line, in, out);
            return;
        }
        out.write(line);
        while (!in.atEnd()) {
            const QByteArrayView l = in.next();
            if (!lines::hasEquals(l)) {
                sectionStep(l, in, out); // the line after the registry is examined as usual
                return;
            }
            if (lines::trimSpaces(lines::after(l, '=')) != id) {
                out.write(l);
                continue;
            }
            const long long k = lines::leadingNumber(lines::before(l, '='));
            long long toRenumber = std::max<long long>(0, result->count - k - 1);
            // A counter at its 16-bit limit no longer says how many entries follow:
            // the rest of the run is renumbered, so no gap opens past the limit.
            if (result->count >= std::numeric_limits<qint16>::max())
                toRenumber = std::numeric_limits<long long>::max();
            --result->count;
            ++result->entriesRemoved;
            while (toRenumber > 0 && !in.atEnd() && lines::hasEquals(in.peek())) {
                const QByteArrayView r = in.next();
                const long long own = lines::leadingNumber(lines::before(r, '='));
                out.write(registryLine(own - 1, lines::after(r, '=')));
                --toRenumber;
            }
        }
    };
}

} // namespace tarvok
