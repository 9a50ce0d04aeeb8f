#pragma once

#include <functional>
#include <string>
#include <vector>

#include "automation/channel.h"

namespace automation {

// forms, form, query, msgboxes, filedialogs, render and advance: what a person would see, and
// the clock.
void AddQueryVerbs(Channel& channel);

// The log lines the plug-in has written, oldest first.
using LogReader = std::function<std::vector<std::string>()>;
// Installs (or replaces) the "log" verb with the plug-in's log; without one it shows no lines.
void AddLogVerb(Channel& channel, LogReader reader);

}  // namespace automation
