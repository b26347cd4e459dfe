// Start at log-on: what the settings page writes under the system's Run keys. Platform-free.
#pragma once

#include <string>

// The Run value's data: the program path in double quotes, then " -logon".
std::string FormatRunCommand(const char* programPath);

// What OK does to the two Run values, machine-wide first. The per-user value is deleted after
// a machine-wide write only when that write succeeded, so a user without the right to write
// the machine's value keeps starting at log-on.
enum class RunValueAction { Write, Delete };
struct RunValuePlan {
    RunValueAction machineWide;
    RunValueAction perUser;
    bool perUserNeedsMachineWrite;
};
// selectedEntry: 0 "any user", 1 "this user only", anything else no entry selected.
RunValuePlan PlanRunValues(bool runAtLogon, int selectedEntry);

// The entry the page selects when it opens: "this user only" exactly when only the user's
// value exists.
int RunEntryToSelect(bool machineValueExists, bool userValueExists);
