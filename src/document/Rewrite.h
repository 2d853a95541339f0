#pragma once

#include "document/Lines.h"

#include <QByteArray>

#include <functional>
#include <vector>

namespace tarvok {

// A rewrite rule sees every line of the old content in order. It writes zero, one or
// several lines for it and may read further lines itself (a run); every line it does
// not write is dropped. Rules never decode lines they do not change.
using RewriteRule = std::function<void(QByteArrayView line, LineCursor& in, LineSink& out)>;

// Runs a rule over a whole content and returns the new content: every written line
// ends with CR LF; a byte-order mark at the start is kept.
QByteArray rewriteLines(QByteArrayView content, const RewriteRule& rule);

// Builds the replacement of a trigger line from the line it replaces.
using TriggerLineMaker = std::function<QByteArray(QByteArrayView oldLine)>;
// Builds a section's new body from its old key lines.
using SectionBodyMaker = std::function<std::vector<QByteArray>(const std::vector<QByteArrayView>& oldBody)>;

// Drops every line of the [AITriggerTypes] sections (from a header to the next section
// header of any name) whose trigger key (the text before its first comma) equals key.
// An empty key drops nothing: a delete without a key must not touch the file.
RewriteRule RemoveTriggerLines(QByteArray key);

// Writes newLine directly after every header of the section name.
RewriteRule InsertAfterHeader(QByteArray name, QByteArray newLine);

// In every [AITriggerTypes] run, replaces each line whose trigger key equals key.
RewriteRule ReplaceTriggerLine(QByteArray key, QByteArray newLine);
RewriteRule ReplaceTriggerLine(QByteArray key, TriggerLineMaker makeLine);

// After every header of the section id, drops the run of key lines and writes the
// block in their place; the line that ended the run follows unchanged.
RewriteRule ReplaceSectionBody(QByteArray id, std::vector<QByteArray> block);
RewriteRule ReplaceSectionBody(QByteArray id, SectionBodyMaker makeBody);

} // namespace tarvok
