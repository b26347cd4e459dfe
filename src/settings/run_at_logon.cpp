#include "settings/run_at_logon.h"

std::string FormatRunCommand(const char* programPath) {
    // Not cut to a fixed buffer: a cut command would start nothing at log-on.
    return "\"" + std::string(programPath != nullptr ? programPath : "") + "\" -logon";
}

RunValuePlan PlanRunValues(bool runAtLogon, int selectedEntry) {
    if (runAtLogon && selectedEntry == 0) {
        return {RunValueAction::Write, RunValueAction::Delete, true};
    }
    if (runAtLogon && selectedEntry == 1) {
        return {RunValueAction::Delete, RunValueAction::Write, false};
    }
    return {RunValueAction::Delete, RunValueAction::Delete, false};
}

int RunEntryToSelect(bool machineValueExists, bool userValueExists) {
    return userValueExists && !machineValueExists ? 1 : 0;
}
