#include "app/CheckCommand.h"

#include "catalogues/Catalogues.h"
#include "document/FileStore.h"
#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "document/RulesScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <optional>

namespace tarvok::cli {
namespace {

const QString kUsage = QStringLiteral(
    "用法：tarvok --check 文件 [--rules 路径 | --no-rules] [--format=json]\n"
    "      tarvok --help | --version\n"
    "      tarvok（不带参数）打开编辑器窗口\n"
    "\n"
    "检查 AI 文件（ai.ini、aimd.ini 或地图）的全部问题，与编辑器的“检查文件”相同，\n"
    "每个问题一行：文件:行: 错误: 说明，或 文件:行: 提示: 说明。不需要图形界面，不写入任何文件。\n"
    "\n"
    "  --check 文件     要检查的 AI 文件\n"
    "  --rules 路径     使用此游戏规则文件（默认在 AI 文件所在文件夹、再在其上一级文件夹中\n"
    "                   查找 rulesmd.ini，没有时查找 rules.ini）\n"
    "  --no-rules       不使用游戏规则文件\n"
    "  --format=json    输出一个 JSON 数组，每个问题一个对象：\n"
    "                   file、line、level（error 或 hint）、kind、record、text\n"
    "  --help           显示本说明\n"
    "  --version        显示版本\n"
    "\n"
    "标准错误的最后一行是问题的数目：“N 个错误，M 个提示”。\n"
    "退出状态：0 没有错误（可能有提示）；1 有错误；2 文件无法读取、文件中没有 AI 节，\n"
    "或参数有误。\n");

void write(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
}

int refuse(const QString& why) {
    write(stderr, QStringLiteral("tarvok: %1\n").arg(why));
    return 2;
}

struct Options {
    QString file;
    std::optional<QString> rules; // --rules
    bool noRules = false;
    bool json = false;
};

// The value of an option given as "--name=value" or "--name value".
std::optional<QString> valueOf(const QStringList& args, qsizetype& i, const QString& name) {
    const QString& arg = args[i];
    if (arg.startsWith(name + QLatin1Char('=')))
        return arg.mid(name.size() + 1);
    if (arg == name && i + 1 < args.size())
        return args[++i];
    return std::nullopt;
}

int check(const Options& options) {
    // With the files it includes, as the game reads them.
    const std::optional<RulesDocument::Joined> joined = RulesDocument::readJoined(options.file);
    if (!joined)
        return refuse(QStringLiteral("无法读取文件 %1").arg(options.file));
    const QByteArray* bytes = &joined->bytes;
    if (!holdsAiSections(*bytes))
        return refuse(
            QStringLiteral("文件 %1 中没有 AI 节（[AITriggerTypes]、[TeamTypes]、[TaskForces]、"
                           "[ScriptTypes]）")
                .arg(options.file));
    const RulesIndex index(*bytes);
    Catalogues catalogues{ProgramFiles(QCoreApplication::applicationDirPath())};
    using Mode = ModWorld::Choice::Mode;
    const ModWorld::Choice choice = options.noRules ? ModWorld::Choice{Mode::None, {}}
                                    : options.rules ? ModWorld::Choice{Mode::File, *options.rules}
                                                    : ModWorld::Choice{};
    catalogues.updateMod(options.file, index, choice);
    if (options.rules && !catalogues.mod().inUse())
        return refuse(QStringLiteral("无法读取游戏规则文件 %1").arg(*options.rules));
    if (!options.noRules) // what is in use, as the window's status bar says it
        write(stderr, catalogues.mod().statusText() + QLatin1Char('\n'));

    const std::vector<filecheck::Problem> problems = catalogues.checkFile(index, joined->problems);
    int errors = 0;
    QJsonArray array;
    QString lines;
    const QDir folder = QFileInfo(options.file).dir();
    for (const filecheck::Problem& p : problems) {
        const bool error = p.level == filecheck::Level::Error;
        const QString file = p.file.isEmpty() ? options.file : folder.filePath(p.file);
        errors += error ? 1 : 0;
        if (options.json)
            array.append(QJsonObject{{QStringLiteral("file"), file},
                                     {QStringLiteral("line"), static_cast<qint64>(p.line)},
                                     {QStringLiteral("level"), error ? "error" : "hint"},
                                     {QStringLiteral("kind"), p.kind},
                                     {QStringLiteral("record"), p.record},
                                     {QStringLiteral("text"), p.text}});
        else
            lines += QStringLiteral("%1:%2: %3: %4\n")
                         .arg(file, QString::number(p.line), filecheck::levelText(p.level), p.text);
    }
    if (options.json)
        std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
    else
        write(stdout, lines);
    std::fflush(stdout);
    write(stderr, QStringLiteral("%1 个错误，%2 个提示\n")
                      .arg(errors)
                      .arg(static_cast<qsizetype>(problems.size()) - errors));
    return errors > 0 ? 1 : 0;
}

} // namespace

bool wanted(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (arg.startsWith("--") || arg == "-h" || arg == "-v")
            return true;
    }
    return false;
}

int run(const QStringList& arguments) {
    Options options;
    bool checking = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        for (const char* name : {"--check", "--rules", "--format"})
            if (arg == QLatin1String(name) && i + 1 == arguments.size())
                return refuse(QStringLiteral("%1 后缺少参数（用法见 tarvok --help）").arg(arg));
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            write(stdout, kUsage);
            return 0;
        }
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v")) {
            write(stdout, QStringLiteral("Tarvok %1\n").arg(QStringLiteral(TARVOK_VERSION)));
            return 0;
        }
        if (arg == QLatin1String("--no-rules")) {
            options.noRules = true;
        } else if (const auto file = valueOf(arguments, i, QStringLiteral("--check"))) {
            options.file = *file;
            checking = true;
        } else if (const auto rules = valueOf(arguments, i, QStringLiteral("--rules"))) {
            options.rules = *rules;
        } else if (const auto format = valueOf(arguments, i, QStringLiteral("--format"))) {
            if (*format != QLatin1String("json") && *format != QLatin1String("text"))
                return refuse(
                    QStringLiteral("未知的输出格式 %1（可用 text 或 json）").arg(*format));
            options.json = *format == QLatin1String("json");
        } else {
            return refuse(QStringLiteral("无法识别的参数 %1（用法见 tarvok --help）").arg(arg));
        }
    }
    if (!checking || options.file.isEmpty())
        return refuse(
            QStringLiteral("缺少要检查的文件：tarvok --check 文件（用法见 tarvok --help）"));
    if (options.noRules && options.rules)
        return refuse(QStringLiteral("--rules 与 --no-rules 不能同时使用"));
    return check(options);
}

} // namespace tarvok::cli
