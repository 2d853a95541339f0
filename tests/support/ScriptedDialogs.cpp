#include "support/ScriptedDialogs.h"

#include <ostream>

namespace tarvok::test {

std::ostream& operator<<(std::ostream& os, const ShownMessage& m) {
    static const char* icons[] = {"none", "information", "question"};
    return os << "{\"" << m.text.toStdString() << "\", title \"" << m.title.toStdString() << "\", "
              << icons[static_cast<int>(m.icon)] << ", "
              << (m.buttons == MsgButtons::Ok      ? "OK"
                  : m.buttons == MsgButtons::YesNo ? "Yes/No"
                                                   : "Yes/No/Cancel")
              << "}";
}

MsgAnswer ScriptedDialogs::message(QWidget*, const QString& text, const QString& title,
                                   MsgIcon icon, MsgButtons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (onMessage)
        onMessage();
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (answers.empty())
        return MsgAnswer::No;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedDialogs::prompt(QWidget*, const QString& text, const QString& title,
                                const QString& defaultText) {
    prompts.push_back({text, title, defaultText});
    if (promptAnswers.empty())
        return {};
    QString a = promptAnswers.front();
    promptAnswers.pop_front();
    return a;
}

QString ScriptedDialogs::saveFile(QWidget* parent, const QString& filter,
                                  const QString& startFolder, const QString& fileName) {
    return openFile(parent, filter, startFolder, fileName);
}

QString ScriptedDialogs::openFile(QWidget*, const QString& filter, const QString& startFolder,
                                  const QString& hiddenFile) {
    fileFilters << filter;
    fileFolders << startFolder;
    hiddenFiles << hiddenFile;
    if (files.empty())
        return {};
    QString f = files.front();
    files.pop_front();
    return f;
}

std::optional<quint32> ScriptedDialogs::chooseColor(QWidget*) {
    ++colorDialogs;
    if (colors.empty())
        return std::nullopt;
    const std::optional<quint32> c = colors.front();
    colors.pop_front();
    return c;
}

void ScriptedDialogs::setClipboardText(const QString& text) {
    clipboard << text;
    clipboardKind.clear();
}

void ScriptedDialogs::setClipboardRows(const ClipboardRows& rows) {
    clipboard << rows.text;
    clipboardKind = rows.kind;
}

Dialogs::ClipboardRows ScriptedDialogs::clipboardRows() {
    return {clipboardText(), clipboardKind};
}

QString ScriptedDialogs::clipboardText() {
    return clipboard.isEmpty() ? QString() : clipboard.last();
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const ShownMessage& m : messages)
        out << m.text;
    return out;
}

void ScriptedDialogs::clear() {
    messages.clear();
    prompts.clear();
    fileFilters.clear();
    fileFolders.clear();
    hiddenFiles.clear();
    colorDialogs = 0;
    clipboard.clear();
    clipboardKind.clear();
}

ShownMessage info(const QString& text, const QString& title) {
    return {text, title, MsgIcon::Information, MsgButtons::Ok};
}
ShownMessage plain(const QString& text, const QString& title) {
    return {text, title, MsgIcon::None, MsgButtons::Ok};
}
ShownMessage question(const QString& text, const QString& title) {
    return {text, title, MsgIcon::Question, MsgButtons::YesNo};
}

} // namespace tarvok::test
