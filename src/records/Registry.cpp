#include "records/Registry.h"

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
        // The numbers freed by the dropped lines move up the run: each line that
        // carries the next number of an unbroken sequence after a dropped line takes a
        // number `shift` lower. The first line off that sequence stops the renumbering,
        // so two lines never end up with one number however the run is numbered.
        long long shift = 0;
        long long expected = 0; // the number the next line needs to be renumbered
        while (!in.atEnd()) {
            const QByteArrayView l = in.next();
            if (!lines::hasEquals(l)) {
                sectionStep(l, in, out); // the line after the registry is examined as usual
                return;
            }
            const long long own = lines::leadingNumber(lines::before(l, '='));
            const bool next = shift > 0 && own == expected;
            if (lines::trimSpaces(lines::after(l, '=')) == id) {
                shift = next ? shift + 1 : 1;
                expected = own + 1;
                --result->count;
                ++result->entriesRemoved;
            } else if (next) {
                out.write(registryLine(own - shift, lines::after(l, '=')));
                ++expected;
            } else {
                shift = 0;
                out.write(l);
            }
        }
    };
}

} // namespace tarvok
