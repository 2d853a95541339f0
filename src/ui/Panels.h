#pragma once

#include "records/References.h"

#include <array>

namespace tarvok {

class NotesPanel;
class RecordPanel;
class ScriptPanel;
class TaskForcePanel;
class TeamPanel;
class TriggerPanel;

// The main window's panels, as the parts of the window that act on them know them.
struct Panels {
    TriggerPanel* trigger = nullptr;
    TeamPanel* team = nullptr;
    TaskForcePanel* taskForce = nullptr;
    ScriptPanel* script = nullptr;
    NotesPanel* notes = nullptr;

    // The four record panels, in the kinds' order: trigger, team type, task force, script.
    std::array<RecordPanel*, 4> records() const;
    RecordPanel* of(references::Kind kind) const { return records()[static_cast<size_t>(kind)]; }
};

} // namespace tarvok
