#pragma once

#include "document/FileSet.h"
#include "document/IniText.h"
#include "document/RulesScan.h"
#include "document/TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace tarvok {

// One reading of a rules file, kept between operations: its bytes, the codec of its
// texts, its lines as the game reads them, the four registry lists and every record's
// name. Everything it returns views its own bytes, which never change; it lives as long
// as someone holds it (the document hands it out shared), so a reading taken before a
// write stays whole while the editor goes on with the next one.
class RulesIndex {
  public:
    explicit RulesIndex(QByteArray bytes);
    RulesIndex(const RulesIndex&) = delete;
    RulesIndex& operator=(const RulesIndex&) = delete;

    const QByteArray& bytes() const { return bytes_; }
    const TextCodec& codec() const { return codec_; }
    const IniText& text() const { return text_; }
    const RulesScan& scan() const { return scan_; }
    // Which file each line comes from, when the content joins several (see fileset).
    const fileset::Origins& origins() const { return lookUps_.origins; }

    // The value of the Name key of the sections named section (the last one read);
    // empty when none has one.
    QByteArrayView name(QByteArrayView section) const;
    // Every section with this name, in file order: a look-up, however large the file.
    std::vector<IniText::Section> sections(QByteArrayView name) const;
    // The key lines of [AITriggerTypes] sections whose key is id, in file order.
    std::vector<qsizetype> triggerLines(QByteArrayView id) const;

  private:
    struct LookUps {
        RowsByName sections;                 // of text_.sections()
        std::vector<qsizetype> triggerLines; // the key lines of every [AITriggerTypes] section
        RowsByName triggersById;             // of triggerLines
        fileset::Origins origins;            // which file each line comes from
    };
    static LookUps buildLookUps(const IniText& text);

    QByteArray bytes_;
    TextCodec codec_;
    IniText text_;
    RulesScan scan_;
    LookUps lookUps_;
};

// Lets go of a reading. When it is the last hold on it, the reading is freed by a task of Qt's
// thread pool (pool::giveBack): tens of megabytes of lines take a while to give back, and
// nobody waits for them.
void letGo(std::shared_ptr<const RulesIndex>& index);

} // namespace tarvok
