#include "document/Rewrite.h"

#include "document/TextEncoding.h"

#include <utility>

namespace tarvok {

QByteArray rewriteLines(QByteArrayView content, const RewriteRule& rule) {
    LineCursor in(content);
    // Most rules change a few lines: the new content is about as large as the old.
    LineSink out(content.size() + content.size() / 16 + 64, content);
    if (in.hadBom())
        out.writeRaw(kUtf8Bom);
    while (!in.atEnd()) {
        const QByteArrayView line = in.next();
        rule(line, in, out);
    }
    return out.take();
}

RewriteRule RemoveTriggerLines(QByteArray key) {
    return [key = std::move(key)](QByteArrayView line, LineCursor& in, LineSink& out) {
        out.write(line);
        if (key.isEmpty() || !lines::isHeader(line, "AITriggerTypes"))
            return;
        while (!in.atEnd()) {
            const QByteArrayView l = in.next();
            if (lines::isAnyHeader(l)) {
                out.write(l);
                if (!lines::isHeader(l, "AITriggerTypes"))
                    return; // the section ended
            } else if (!lines::hasComma(l) || lines::before(l, ',') != key) {
                out.write(l);
            }
        }
    };
}

RewriteRule InsertAfterHeader(QByteArray name, QByteArray newLine) {
    return [name = std::move(name), newLine = std::move(newLine)](QByteArrayView line, LineCursor&,
                                                                  LineSink& out) {
        out.write(line);
        if (lines::isHeader(line, name))
            out.write(newLine);
    };
}

RewriteRule ReplaceTriggerLine(QByteArray key, QByteArray newLine) {
    return ReplaceTriggerLine(std::move(key),
                              [newLine = std::move(newLine)](QByteArrayView) { return newLine; });
}

RewriteRule ReplaceTriggerLine(QByteArray key, TriggerLineMaker makeLine) {
    return [key = std::move(key), makeLine = std::move(makeLine)](QByteArrayView line,
                                                                  LineCursor& in, LineSink& out) {
        out.write(line);
        if (!lines::isHeader(line, "AITriggerTypes"))
            return;
        while (!in.atEnd()) {
            const QByteArrayView l = in.next();
            if (!lines::hasComma(l)) {
                out.write(l); // the line that ends the run is copied, not examined
                return;
            }
            if (lines::before(l, ',') == key)
                out.write(makeLine(l));
            else
                out.write(l);
        }
    };
}

RewriteRule ReplaceSectionBody(QByteArray id, std::vector<QByteArray> block) {
    return ReplaceSectionBody(std::move(id),
                              [block = std::move(block)](const std::vector<QByteArrayView>&) {
                                  return block;
                              });
}

RewriteRule ReplaceSectionBody(QByteArray id, SectionBodyMaker makeBody) {
    return [id = std::move(id), makeBody = std::move(makeBody)](QByteArrayView line,
                                                                LineCursor& in, LineSink& out) {
        out.write(line);
        if (!lines::isHeader(line, id))
            return;
        std::vector<QByteArrayView> body;
        bool ended = false;
        QByteArrayView terminator;
        while (!in.atEnd()) {
            const QByteArrayView l = in.next();
            if (!lines::hasEquals(l)) {
                terminator = l;
                ended = true;
                break;
            }
            body.push_back(l);
        }
        for (const QByteArray& b : makeBody(body))
            out.write(b);
        if (ended)
            out.write(terminator);
    };
}

} // namespace tarvok
