#pragma once

#include "records/ScriptSection.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The checks and descriptions of the editor's fields that need no widget: what a box
// accepts and what a choice means. The windows show the messages; these say when.
namespace tarvok::fieldrules {

// ---- every numeric box

// Where the digit filter of a numeric box cuts: the first character that is not an
// ASCII digit (index and length, 2 for a character outside the BMP); nothing when the
// text is all digits or empty.
struct NonDigit {
    qsizetype index;
    qsizetype length;
};
std::optional<NonDigit> firstNonDigit(const QString& text);

// ---- trigger fields

// The description of a trigger condition ("0" to "7", "-1" for none); empty otherwise.
QString conditionDescription(const QString& value);
// The description of a comparison ("0" to "5"); empty otherwise.
QString comparisonDescription(const QString& value);
// The description of a side ("0", any side, to "6"); empty otherwise.
QString sideDescription(const QString& value);

// The comparison and side boxes take one digit of their range; an empty text passes.
bool comparisonAccepted(const QString& text);
bool sideAccepted(const QString& text);
// A trigger's weight as the weight boxes take it: any whole number from 0 to 999999 (the
// game reads any; its own file uses 60 beside the seven values the drop-down lists, and
// mods use 30, 100 or 400).
bool weightAccepted(const QString& text);
// A trigger's tech level: 0 to 10, written as a number (spaces before it allowed); an
// empty text passes.
bool triggerTechAccepted(const QString& text);
// The condition amount is a byte: at most three characters, at most 255 when all digits.
bool amountTooLarge(const QString& text);
// What an amount that is too large keeps: its first three characters when they make a
// number up to 255, else its first two.
QString amountKept(const QString& text);

// An add prompt's answer: the spaces and tabs around it are not part of the ID.
QString trimBlanks(const QString& text);

// ---- record IDs

enum class IdCheck { Ok, Invalid, Duplicate };

// A new team type, task force or script ID must hold "-" and no ","; it must not be in
// the list yet.
IdCheck checkNewRecordId(const QString& id, const QStringList& existing);
// The ID of a trigger key "ID=name" (the text before the first "="); empty without "=".
QString triggerId(const QString& key);
// A new trigger key must hold "=" and no ","; its ID must be no other key's ID.
IdCheck checkNewTriggerKey(const QString& key, const QStringList& existingKeys);

// ---- task force and script rows

// The rows are numbered so that the last row's leading number is the count less one;
// no rows pass.
bool rowNumberingFits(const QStringList& rowNumbers);

// A task force row a save refuses: the index of the row in the rows saved, and why.
struct RowRefusal {
    enum class Reason { Count, Unit };
    qsizetype index = 0;
    Reason reason = Reason::Count;
    bool operator==(const RowRefusal&) const = default;
};
// The first of a task force's rows (now) that a save refuses. Only the rows that are not
// as loaded are looked at: a row whose count and unit are a loaded row's, wherever it
// stands now and whatever its number, is the file's own (each loaded row stands for one
// row of now). Each other row needs a count that is a whole number from 1 up and a unit
// that knownUnits holds in any letter case; with knownUnits empty, units pass.
std::optional<RowRefusal> refusedTaskForceRow(const std::vector<SectionRow>& loaded,
                                              const std::vector<SectionRow>& now,
                                              const QStringList& knownUnits);

// The four building actions: their parameter names a building.
bool isBuildingAction(const QString& action);

// ---- finding entries

// What a filter compares: letter case and full-width letters and digits set aside
// ("Ｔｍ－１" and "tm-1" read alike).
// The value of a text that reads whole, once trimmed, as a decimal number: an optional sign,
// digits with at most one point, an optional exponent ("500", "-1.5", "500.000000", "2e3");
// read without regard to the system's locale. Nothing for any other text.
std::optional<double> decimalNumber(QStringView text);

QString searchKey(const QString& text);

// ---- the rules file

// A rules file's path names "ai.ini" or "aimd.ini", in any letter case.
bool isRulesFileName(const QString& path);
// A path naming "ai.ini" may be the game's own AI: the user is warned.
bool mayBeOriginalAi(const QString& path);

} // namespace tarvok::fieldrules
