#pragma once

#include "document/FileStore.h"
#include "document/RulesDocument.h"
#include "records/References.h"

#include <QString>

// The texts of the messages the editor shows more than once, and their titles. A text
// shown by one handler only stands where it is shown.
namespace tarvok::messages {

inline const QString kErrorTitle = QStringLiteral("错误");
inline const QString kQuestionTitle = QStringLiteral("提示");

inline const QString kBadInput = QStringLiteral("输入不合法！");
inline const QString kBadInputShort = QStringLiteral("输入不合法");
inline const QString kFileMissing = QStringLiteral("无法找到文件");
inline const QString kWriteFailed = QStringLiteral("文件写入失败，原文件未改动");
inline const QString kConfirmDelete = QStringLiteral("确定删除？");
inline const QString kConfirmRowDelete = QStringLiteral("确定删除吗？注意正确选定删除项");
inline const QString kRegistryFull = QStringLiteral("注册数量已达上限，无法新增！");
inline const QString kDuplicateRecord = QStringLiteral("小队名称重复，请重新输入！");
inline const QString kDuplicateRow = QStringLiteral("ID重复，请重新输入！");

inline const QString kUndecodable = QStringLiteral("该记录含有无法识别的字符，未保存！");
inline const QString kTriggerNotInFile = QStringLiteral("文件中没有这个触发，未保存！");
inline const QString kTeamTypeNotInFile = QStringLiteral("文件中没有这个作战小队，未保存！");
inline const QString kTaskForceNotInFile = QStringLiteral("文件中没有这个特遣小队，未保存！");
inline const QString kScriptNotInFile = QStringLiteral("文件中没有这个脚本，未保存！");
inline const QString kNothingDeleted = QStringLiteral("文件中没有这个记录，未删除！");

inline const QString kTriggerSaved = QStringLiteral("触发已保存！");
inline const QString kTeamTypeSaved = QStringLiteral("作战小队已保存！");
inline const QString kTaskForceSaved = QStringLiteral("特遣小队已保存！");
inline const QString kScriptSaved = QStringLiteral("脚本已保存！");

inline const QString kNoRoomForVersion = QStringLiteral("磁盘空间不足，无法保留撤销版本，未保存");
inline const QString kUnencodable = QStringLiteral("该名称含有文件编码无法保存的字符");
inline const QString kBusy = QStringLiteral("文件正被其他程序修改，未保存，请稍后再试");

// A kind of record as the window names it: "触发", "作战小队", "特遣小队", "脚本".
QString kindCaption(references::Kind kind);

// Why a write failed, in the user's words.
QString failureReason(const filestore::WriteResult& result);
// "文件写入失败，原文件未改动" and, on a second line, why: what the user can mend.
QString writeFailure(const filestore::WriteResult& result);
// What the status bar says of a file just opened: lines the editor could not read, no
// record at all, other names of the file.
QString openingNotes(const RulesDocument::Opened& opened);
// What the file frame shows: the opened file and, when it includes others, how many and
// their names ("（另含 N 个文件：ai_trigger.ini）").
QString fileFrameText(const QStringList& files);
// The status bar's note on a write that could not keep the content it replaced for undo.
QString versionNotKept(const filestore::WriteResult& why);

} // namespace tarvok::messages
