#pragma once

#include "catalogues/ModRules.h"
#include "catalogues/StringTable.h"
#include "document/FileStore.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace tarvok {

class IniText;
class TextCodec;

// The game's rules file found beside an AI file: rulesmd.ini, else rules.ini, in the AI
// file's folder, else in the folder above it; names compared without regard to letter case.
// Anything of that name counts, a folder too: it is there, and cannot be read. Empty when
// neither folder has one.
QString findGameRules(const QString& aiPath);
// Everything named *.csf in folder (a folder of that name too, which cannot be read), in name
// order without regard to letter case.
QStringList stringTableFiles(const QString& folder);

// The mod an AI file belongs to: its units and buildings, from the game's rules file (with
// the files it includes, see includes::readingOrder; names in [#include] are relative to
// the rules file's folder) and the string tables beside it, and what players see them
// called. The files are only ever read, and read again only when they changed.
class ModWorld {
  public:
    // Where the game's rules file comes from. The caller keeps the user's choice.
    struct Choice {
        enum class Mode { Search, File, None };
        Mode mode = Mode::Search;
        QString file; // the user's rules file, for Mode::File
    };

    // shippedUnitTable: the lines of the shipped unit name table, for the names of types
    // whose UIName the string tables do not have.
    explicit ModWorld(const QStringList& shippedUnitTable = {});

    // Brings the answers up to date for the AI file at aiPath, read as aiText (a map's
    // own type lists add to the rules file's). A file is read again only when its size,
    // modification time or identity changed, or another file is found. True when the
    // answers changed.
    bool update(const QString& aiPath, const IniText& aiText, const TextCodec& aiCodec,
                const Choice& choice);

    // Whether a rules file is in use; without one every answer below is empty.
    bool inUse() const { return inUse_; }
    const QString& rulesPath() const { return rulesPath_; }
    // The status bar's text: the rules file, its counts and the string tables, then for
    // each damaged string table "；字符串表 <name> 第 N 个标签起无法读取" and each file of
    // unreadable(); without a rules file, that the shipped unit table is used, or
    // "无法读取游戏规则文件 <path>" when it is there and cannot be read.
    QString statusText() const;

    // A file of the mod that is there but could not be read (a file that is missing is
    // not one: the game may take it from its archives).
    struct Unread {
        enum class Kind { Rules, Included, StringTable };
        Kind kind;
        QString path;
        // "无法读取游戏规则文件 <path>", and so on for the other kinds.
        QString text() const;
        bool operator==(const Unread&) const = default;
    };
    // As last read: the rules file alone when it could not be read, else the files it
    // includes and the string tables that could not be.
    const std::vector<Unread>& unreadable() const { return unreadable_; }

    int count(modrules::TypeList list) const;
    // Infantry, vehicles and aircraft in that order, each ID once, and their display
    // names: two parallel lists.
    const QStringList& unitIds() const { return unitIds_; }
    const QStringList& unitNames() const { return unitNames_; }
    const QStringList& buildingIds() const { return types_.lists[modrules::Buildings]; }
    const QStringList& buildingNames() const { return buildingNames_; }
    // Every type the lists name, units and buildings.
    const QSet<QString>& definedIds() const { return defined_; }
    // The countries, the sides and who may build each type.
    const buildrule::World& world() const { return types_.world; }
    // The files the rules file includes, as read, in their reading order.
    QStringList includedFiles() const;

    // The display name of a listed type; empty for an ID the mod does not list.
    QString nameOf(const QString& id) const { return nameById_.value(id); }
    // The display name of any section the rules file names by an ID of its lists (a super
    // weapon of [SuperWeaponTypes], say); empty when it gives none.
    QString displayNameOf(const QString& id) const {
        return modrules::displayName(id, types_.names.value(id), tables_, shippedNames_);
    }
    // The first listed type (units before buildings) with this display name.
    QString idOf(const QString& name) const { return idByName_.value(name); }

  private:
    // What a file looked like when it was read; a file that is missing has no facts.
    struct Stamp {
        QString path;
        filestore::FileFacts facts;
        bool operator==(const Stamp& other) const;
    };

    // The rules file (none: no mod in use) and the string tables beside it.
    void readFiles(const Stamp* rules, const std::vector<Stamp>& tables);
    // Reads the rules file of stamps_ with the files it includes; their stamps join stamps_.
    bool readRules();
    void makeAnswers();

    QHash<QString, QString> shippedNames_;
    // The rules file, the files it includes (ruleFiles_ in all), then the string tables, as
    // last read; a file it names that is not there is kept as a missing file.
    std::vector<Stamp> stamps_;
    size_t ruleFiles_ = 0;
    bool rulesRead_ = false; // the rules file of stamps_ could be read
    modrules::DeclaredTypes rules_;
    modrules::DeclaredTypes map_; // the AI file's own
    StringTable tables_;
    QStringList tableNames_;
    std::vector<std::pair<QString, int>> damaged_; // string table, first unreadable label
    std::vector<Unread> unreadable_;

    bool inUse_ = false;
    QString rulesPath_;
    modrules::DeclaredTypes types_; // the rules file's and the map's
    QStringList unitIds_, unitNames_, buildingNames_;
    QSet<QString> defined_;
    QHash<QString, QString> nameById_, idByName_;
};

} // namespace tarvok
