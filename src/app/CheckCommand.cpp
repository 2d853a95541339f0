#include "app/CheckCommand.h"

#include "app/DiffCommand.h"
#include "app/PredictCommand.h"

#include "catalogues/Catalogues.h"
#include "document/FileStore.h"
#include "document/RulesDocument.h"
#include "document/RulesIndex.h"
#include "document/RulesScan.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <optional>
#include <span>

namespace tarvok::cli {
namespace {

const QString kUsage = QStringLiteral(
    "用法：tarvok --check 文件 [--rules 路径 | --no-rules] [--format text|json]\n"
    "      tarvok --predict 文件 --state 状态.json [--rules 路径] [--format text|json]\n"
    "      tarvok --diff 旧文件 新文件 [--format text|json]\n"
    "      tarvok --help | --version\n"
    "      tarvok [文件]  打开编辑器窗口，给出文件时打开该文件\n"
    "\n"
    "检查 AI 文件（ai.ini、aimd.ini 或地图）的全部问题，与编辑器的“检查文件”相同，\n"
    "每个问题一行：文件:行: 错误: 说明，或 文件:行: 提示: 说明。不需要图形界面，不写入任何文件。\n"
    "选项可按任意顺序给出；带值的选项写作 --format json 或 --format=json。\n"
    "\n"
    "  --check 文件       检查此 AI 文件（连同它包含的文件）\n"
    "  --rules 路径       使用此游戏规则文件（默认在 AI 文件所在文件夹、再在其上一级文件夹中\n"
    "                     查找 rulesmd.ini，没有时查找 rules.ini）\n"
    "  --no-rules         不使用游戏规则文件\n"
    "  --format text|json text（默认）每个问题一行；json 输出一个 JSON 数组，每个问题一个对象：\n"
    "                     file、line、level（error 或 hint）、kind、record、text\n"
    "  --predict 文件     推演电脑下一次选择的触发（需要游戏规则文件），--state 给出游戏时刻的\n"
    "                     JSON 状态；退出状态 0 表示已推演，2 "
    "表示文件、规则文件或状态无法读取或无效\n"
    "  --state 路径       --predict 所用的状态文件\n"
    "  --diff 旧 新       逐条比较两个 AI 文件的记录；退出状态 0 相同，1 不同，2 无法读取\n"
    "  --help             显示本说明\n"
    "  --version          显示版本\n"
    "\n"
    "标准错误的最后一行是问题的数目：“N 个错误，M 个提示”。\n"
    "退出状态：0 没有错误（可能有提示）；1 有错误；2 文件、它包含的文件、游戏规则文件\n"
    "（及其包含的文件）或字符串表存在但无法读取，文件中没有 AI 节，无法写出结果，或参数有误。\n");

const QString kSeeHelp = QStringLiteral("（用法见 tarvok --help）");

void write(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
}

int refuse(const QStringList& reasons) {
    for (const QString& why : reasons)
        write(stderr, QStringLiteral("tarvok: %1\n").arg(why));
    return 2;
}
int refuse(const QString& why) {
    return refuse(QStringList{why});
}

// What every command may be given, checked in one place.
struct Shared {
    std::optional<QString> rules; // --rules
    std::optional<QString> state; // --state
    bool noRules = false;
    bool json = false;
};

// The check: status 0, 1 or 2 as CheckCommand.h says.
int check(const QStringList& files, const Shared& options) {
    const QString& path = files.front();
    // With the files it includes, as the game reads them.
    const std::optional<RulesDocument::Joined> joined = RulesDocument::readJoined(path);
    if (!joined)
        return refuse(QStringLiteral("无法读取文件 %1").arg(path));
    if (!joined->unreadable.isEmpty())
        return refuse(joined->unreadable);
    const QByteArray* bytes = &joined->bytes;
    if (!holdsAiSections(*bytes))
        return refuse(
            QStringLiteral("文件 %1 中没有 AI 节（[AITriggerTypes]、[TeamTypes]、[TaskForces]、"
                           "[ScriptTypes]）")
                .arg(path));
    const RulesIndex index(*bytes);
    Catalogues catalogues{ProgramFiles(QCoreApplication::applicationDirPath())};
    using Mode = ModWorld::Choice::Mode;
    const ModWorld::Choice choice = options.noRules ? ModWorld::Choice{Mode::None, {}}
                                    : options.rules ? ModWorld::Choice{Mode::File, *options.rules}
                                                    : ModWorld::Choice{};
    catalogues.updateMod(path, index, choice);
    QStringList unread;
    for (const ModWorld::Unread& file : catalogues.mod().unreadable())
        unread << file.text();
    if (!unread.isEmpty())
        return refuse(unread);
    if (options.rules && !catalogues.mod().inUse()) // a rules file named and missing
        return refuse(QStringLiteral("无法读取游戏规则文件 %1").arg(*options.rules));
    if (!options.noRules) // what is in use, as the window's status bar says it
        write(stderr, catalogues.mod().statusText() + QLatin1Char('\n'));

    const std::vector<filecheck::Problem> problems = catalogues.checkFile(index, joined->problems);
    int errors = 0;
    QJsonArray array;
    QString lines;
    const QDir folder = QFileInfo(path).dir();
    for (const filecheck::Problem& p : problems) {
        const bool error = p.level == filecheck::Level::Error;
        const QString file = p.file.isEmpty() ? path : folder.filePath(p.file);
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
    // A full disk or a closed pipe: the answer did not arrive, and that is no pass.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return refuse(QStringLiteral("无法写出检查结果（写入标准输出失败）"));
    write(stderr, QStringLiteral("%1 个错误，%2 个提示\n")
                      .arg(errors)
                      .arg(static_cast<qsizetype>(problems.size()) - errors));
    return errors > 0 ? 1 : 0;
}

// The forecast: status 0 or 2 as PredictCommand.h says.
int predictCommand(const QStringList& files, const Shared& options) {
    if (!options.state)
        return refuse(QStringLiteral("--predict 需要 --state 状态文件%1").arg(kSeeHelp));
    if (options.noRules)
        return refuse(QStringLiteral("推演需要游戏规则文件，不能与 --no-rules 同时使用"));
    return predict(files.front(), *options.state, options.rules.value_or(QString()), options.json,
                   stdout, stderr);
}

// The comparison of two files: status 0, 1 or 2 as DiffCommand.h says.
int diffCommand(const QStringList& files, const Shared& options) {
    if (options.rules || options.noRules)
        return refuse(QStringLiteral("--diff 不使用游戏规则文件%1").arg(kSeeHelp));
    int status = 0;
    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        status = runDiff(files[0], files[1], options.json ? DiffFormat::Json : DiffFormat::Text,
                         out, err);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return refuse(QStringLiteral("无法写出比较结果（写入标准输出失败）"));
    return status;
}

// A command: the switch that chooses it, how many files it is given, and what runs it.
struct Command {
    const char* name;
    qsizetype files;
    const char* usage; // its form, for a refusal
    int (*run)(const QStringList& files, const Shared& options);
};

const Command kCommands[] = {
    {"check", 1, "tarvok --check 文件", check},
    {"predict", 1, "tarvok --predict 文件 --state 状态.json", predictCommand},
    {"diff", 2, "tarvok --diff 旧文件 新文件", diffCommand},
};

// The options of every command, for one parser.
struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, {}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, {}};
    QCommandLineOption rules{QStringLiteral("rules"), {}, QStringLiteral("path")};
    QCommandLineOption noRules{QStringLiteral("no-rules"), {}};
    QCommandLineOption format{QStringLiteral("format"), {}, QStringLiteral("format")};
    QCommandLineOption state{QStringLiteral("state"), {}, QStringLiteral("path")};
    std::vector<QCommandLineOption> commands;

    explicit Options(QCommandLineParser& parser) {
        for (const Command& command : kCommands)
            commands.emplace_back(QString::fromLatin1(command.name), QString());
        parser.addOptions({help, version, rules, noRules, format, state});
        for (const QCommandLineOption& command : commands)
            parser.addOption(command);
    }
};

// Why parse() refused arguments, in the program's words (the parser's own are English).
QString parseError(const QCommandLineParser& parser, const QStringList& arguments,
                   const Options& options) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("无法识别的选项 %1%2")
            .arg((unknown.front().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) +
                     unknown.front(),
                 kSeeHelp);
    for (qsizetype i = 0; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        const QString& arg = arguments[i];
        if (!arg.startsWith(QLatin1String("--")))
            continue;
        const QString name = arg.mid(2).section(QLatin1Char('='), 0, 0);
        const bool valued = options.rules.names().contains(name) ||
                            options.format.names().contains(name) ||
                            options.state.names().contains(name);
        if (valued && !arg.contains(QLatin1Char('=')) && i + 1 == arguments.size())
            return QStringLiteral("--%1 后缺少值%2").arg(name, kSeeHelp);
        if (!valued && arg.contains(QLatin1Char('=')))
            return QStringLiteral("--%1 不带值%2").arg(name, kSeeHelp);
    }
    return QStringLiteral("参数有误%1").arg(kSeeHelp);
}

// The shared options as every command takes them; nothing, and why, when they are wrong.
std::optional<Shared> sharedOptions(const QCommandLineParser& parser, const Options& options,
                                    QString* why) {
    Shared shared;
    if (parser.isSet(options.rules))
        shared.rules = parser.value(options.rules);
    shared.noRules = parser.isSet(options.noRules);
    if (parser.isSet(options.state))
        shared.state = parser.value(options.state);
    if (shared.rules && shared.noRules) {
        *why = QStringLiteral("--rules 与 --no-rules 不能同时使用");
        return std::nullopt;
    }
    const QString format =
        parser.isSet(options.format) ? parser.value(options.format) : QStringLiteral("text");
    if (format != QLatin1String("text") && format != QLatin1String("json")) {
        *why = QStringLiteral("未知的输出格式 %1（可用 text 或 json）").arg(format);
        return std::nullopt;
    }
    shared.json = format == QLatin1String("json");
    return shared;
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
    QCommandLineParser parser;
    const Options options(parser);
    // process() would answer in English and exit with 1, which says "errors found" here.
    if (!parser.parse(QStringList{QStringLiteral("tarvok")} + arguments))
        return refuse(parseError(parser, arguments, options));
    if (parser.isSet(options.help)) {
        write(stdout, kUsage);
        return 0;
    }
    if (parser.isSet(options.version)) {
        write(stdout, QStringLiteral("Tarvok %1\n").arg(QStringLiteral(TARVOK_VERSION)));
        return 0;
    }
    const Command* chosen = nullptr;
    for (size_t i = 0; i < std::size(kCommands); ++i) {
        if (!parser.isSet(options.commands[i]))
            continue;
        if (chosen)
            return refuse(QStringLiteral("--%1 与 --%2 不能同时使用")
                              .arg(QLatin1String(chosen->name), QLatin1String(kCommands[i].name)));
        chosen = &kCommands[i];
    }
    if (!chosen)
        return refuse(QStringLiteral("缺少命令，如 tarvok --check 文件%1").arg(kSeeHelp));
    QString why;
    const std::optional<Shared> shared = sharedOptions(parser, options, &why);
    if (!shared)
        return refuse(why);
    if (shared->state && chosen->run != predictCommand)
        return refuse(QStringLiteral("--state 只用于 --predict%1").arg(kSeeHelp));
    const QStringList files = parser.positionalArguments();
    if (files.size() < chosen->files)
        return refuse(
            QStringLiteral("缺少文件：%1%2").arg(QString::fromUtf8(chosen->usage), kSeeHelp));
    if (files.size() > chosen->files)
        return refuse(QStringLiteral("多余的参数 %1%2").arg(files[chosen->files], kSeeHelp));
    return chosen->run(files, *shared);
}

} // namespace tarvok::cli
