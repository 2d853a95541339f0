#pragma once

#include "records/ScriptActions.h"

#include <QString>

#include <optional>

namespace tarvok::scripts {

// The leading decimal number of a text; 0 when it starts with no digit. Saturates
// rather than overflowing, so a long run of digits never wraps onto a known number.
long long numericValue(QStringView text);

const ScriptAction* actionByNumber(long long number);
const ScriptAction* actionByName(QStringView name);

// What a typed parameter means for the action typed beside it. An empty optional leaves
// the control as it is.
struct ParameterExplanation {
    std::optional<QString> other; // TxtScrOther
    std::optional<QString> hint;  // LblMsg
    bool building = false;        // the parameter is a building ID to be looked up
};
ParameterExplanation explainParameter(QStringView actionText, QStringView parameterText);

// What choosing an entry of the parameter list does for the action chosen in the
// action list.
struct ChosenParameter {
    enum class Kind {
        Typed,    // the parameter is typed, the choice does nothing
        Building, // the choice is a building name, to be turned into its ID
        Number,   // `number` goes into the parameter box
    };
    Kind kind = Kind::Typed;
    QString number;
    std::optional<QString> hint; // LblMsg; empty optional leaves it as it is
};
ChosenParameter chooseParameter(QStringView actionName, QStringView choice);

} // namespace tarvok::scripts
