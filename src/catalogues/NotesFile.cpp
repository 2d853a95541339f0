#include "catalogues/NotesFile.h"

#include "catalogues/IdNotes.h"
#include "document/TextEncoding.h"

namespace tarvok::idnotes {
namespace {

// Text that the file's encoding cannot hold would come back as other characters.
bool encodable(const TextCodec& codec, const QString& text) {
    return codec.decode(codec.encode(text)) == text;
}

} // namespace

Result addNote(const ProgramFiles& files, const QString& id, const QString& note) {
    const QString path = files.notesFile();
    if (!filestore::exists(path))
        return {Outcome::MissingFile, {}};
    const std::optional<QByteArray> bytes = filestore::read(path);
    const TextCodec codec(detectEncoding(bytes.value_or(QByteArray())));
    if (id.isEmpty() || note.isEmpty() || note == kNotePlaceholder ||
        id.contains(QLatin1Char(',')) || !encodable(codec, id + note))
        return {Outcome::Refused, {}};
    if (bytes && hasNote(decodeLines(*bytes), id))
        return {Outcome::Duplicate, {}};
    const filestore::WriteResult written =
        filestore::rewrite(path, files.notesScratch(), [&](const QByteArray& content) {
            const TextCodec fileCodec(detectEncoding(content));
            return withLineOnTop(content, fileCodec.encode(id + QLatin1Char(',') + note));
        });
    return {written.ok() ? Outcome::Done : Outcome::WriteFailed, written};
}

Result deleteNotes(const ProgramFiles& files, const QString& id) {
    const QString path = files.notesFile();
    if (!filestore::exists(path))
        return {Outcome::MissingFile, {}};
    if (id.isEmpty())
        return {Outcome::NoneFound, {}};
    int dropped = 0;
    const filestore::WriteResult written =
        filestore::rewrite(path, files.notesScratch(), [&](const QByteArray& content) {
            const TextCodec codec(detectEncoding(content));
            if (!encodable(codec, id))
                return content;
            Removal removal = withoutNotesOf(content, codec.encode(id));
            dropped = removal.dropped;
            return std::move(removal.content);
        });
    if (!written.ok())
        return {Outcome::WriteFailed, written};
    return {dropped > 0 ? Outcome::Done : Outcome::NoneFound, {}};
}

} // namespace tarvok::idnotes
